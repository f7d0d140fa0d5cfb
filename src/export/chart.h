#pragma once
// Line and scatter charts as inline SVG: axes with round tick steps, axis names with units,
// polylines, markers with tooltips, labelled marks and a legend. Every chart of the exported
// page is drawn here.
#include <string>
#include <string_view>
#include <vector>

namespace ostrevik::exports {

enum class Marker { None, Circle, Square, Triangle, Diamond };

// One point of a series.
struct ChartPoint {
  float x = 0;       // value on the horizontal axis, in the axis unit
  float y = 0;       // value on the vertical axis, in the axis unit
  std::string name;  // short name for the note under the chart when it cannot be drawn
  std::string tip;   // tooltip text, plain UTF-8; lines separated by '\n'
};

// Points drawn alike and named once in the legend.
struct Series {
  std::string name;    // legend text, plain UTF-8; empty: not in the legend
  std::string colour;  // CSS colour of the line and the markers
  std::vector<ChartPoint> points;
  bool joined = true;  // a line through the points in their order
  std::string dash;    // SVG dash pattern of the line ("6 4"); empty: solid
  Marker marker = Marker::Circle;
  bool filled = false;  // joined: the area inside the closed line is shaded in `colour`, with
                        // no line drawn round it
};

// A point marked with a ring and a label beside it, or with the label alone.
struct Callout {
  float x = 0;       // value on the horizontal axis, in the axis unit
  float y = 0;       // value on the vertical axis, in the axis unit
  std::string text;  // label, plain UTF-8
  bool ring = true;  // a ring round the point; false: a short label beside a marker
};

struct Chart {
  std::string id;       // unique in the page; names the chart's clip path
  std::string title;    // above the plot, plain UTF-8
  std::string x_label;  // name of the horizontal axis with its unit
  std::string y_label;  // name of the vertical axis with its unit
  std::vector<Series> series;
  std::vector<Callout> callouts;
  std::vector<std::string> notes;  // lines under the chart, plain UTF-8
  bool equal_scale = false;        // a unit is as long on both axes, so angles look true
  bool with_origin = false;        // both axes reach zero
  float width = 560;               // drawing width, px
  float plot_height = 300;         // height of the plotting area, px
};

// The range and tick step of an axis.
struct Axis {
  float low = 0;      // lower end, axis unit
  float high = 1;     // upper end, axis unit
  float step = 0.2F;  // distance between ticks: 1, 2, 2.5 or 5 times a power of ten
  int decimals = 1;   // decimals of the tick labels
};

// An axis over [low, high] with about `ticks` round steps; a range of one value, or of values
// too close to tell apart, is widened to a sensible one.
Axis nice_axis(float low, float high, int ticks);

// The chart as an HTML figure: the SVG drawing, and under it the notes and a line for every
// series with points left out because a value is not finite.
void append_chart_figure(std::string& out, const Chart& chart);
std::string chart_figure(const Chart& chart);

// The style of the charts' SVG elements, for a page that holds them.
extern const std::string_view kChartStyle;

}  // namespace ostrevik::exports
