#include "export/chart.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <functional>
#include <string_view>

#include "export/markup.h"

namespace ostrevik::exports {
namespace {

// Values beyond this are drawn at it: the arithmetic of the axes stays finite.
constexpr float kLargest = 1e30F;
// Spread below which the values of an axis count as one value, relative to their size.
constexpr float kRelativeSpread = 1e-4F;
constexpr float kSmallestSpread = 1e-20F;

constexpr float kFontSize = 11;
constexpr float kCharWidth = 0.6F * kFontSize;  // mean width of a character of the labels
constexpr float kTitleHeight = 24;
constexpr float kTopGap = 8;     // between the title and the plot
constexpr float kRightGap = 16;  // right of the plot
constexpr float kTickLength = 5;
constexpr float kAxisBelow = 40;   // below the plot: tick labels and the axis name
constexpr float kLegendLine = 18;  // height of a legend row
constexpr float kLegendSwatch = 28;
constexpr float kMarkerSize = 4;
constexpr float kCalloutRing = 7;
constexpr int kTicks = 6;

float clamped(float v) {
  return std::clamp(v, -kLargest, kLargest);
}

bool drawable(const ChartPoint& p) {
  return std::isfinite(p.x) && std::isfinite(p.y);
}

// Characters (code points) of UTF-8 text.
std::size_t characters(std::string_view utf8) {
  return static_cast<std::size_t>(
      std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

float text_width(std::string_view utf8) {
  return static_cast<float>(characters(utf8)) * kCharWidth;
}

// A power of ten near `value` (> 0): the largest one not above it.
float power_of_ten_below(float value) {
  float power = 1;
  while (power * 10 <= value) power *= 10;
  while (power > value) power /= 10;
  return power;
}

float round_step(float raw) {
  const float power = power_of_ten_below(raw);
  const float fraction = raw / power;
  if (fraction <= 1) return power;
  if (fraction <= 2) return 2 * power;
  if (fraction <= 2.5F) return 2.5F * power;
  if (fraction <= 5) return 5 * power;
  return 10 * power;
}

// Decimals that show every multiple of the step exactly.
int step_decimals(float step) {
  int decimals = 0;
  float scaled = step;
  while (decimals < 9 && std::fabs(scaled - std::round(scaled)) > 1e-3F * scaled) {
    scaled *= 10;
    ++decimals;
  }
  return decimals;
}

Axis axis_with_step(float low, float high, float step) {
  Axis axis;
  axis.step = step;
  axis.low = std::floor(low / step) * step;
  axis.high = std::ceil(high / step) * step;
  if (!(axis.high > axis.low)) axis.high = axis.low + step;
  axis.decimals = step_decimals(step);
  return axis;
}

std::string tick_label(float value, const Axis& axis) {
  // Far from 1 the digits of a fixed text say little: the shortest text that reads back.
  if (axis.step >= 1e6F || axis.step < 1e-6F) {
    std::array<char, 32> buffer;
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return {buffer.data(), result.ptr};
  }
  return fixed(value, axis.decimals);
}

// The ticks of an axis: multiples of the step from the lower end up to the upper end.
std::vector<float> ticks_of(const Axis& axis) {
  std::vector<float> ticks;
  const float count = std::floor((axis.high - axis.low) / axis.step + 1e-3F);
  const int n = static_cast<int>(std::min(count, 100.0F));
  for (int i = 0; i <= n; ++i) ticks.push_back(axis.low + static_cast<float>(i) * axis.step);
  return ticks;
}

// Where the points of the chart lie.
struct Extent {
  float x_low = 0, x_high = 0, y_low = 0, y_high = 0;
  bool any = false;
};

void include(Extent& e, float x, float y) {
  x = clamped(x);
  y = clamped(y);
  if (!e.any) {
    e = {x, x, y, y, true};
    return;
  }
  e.x_low = std::min(e.x_low, x);
  e.x_high = std::max(e.x_high, x);
  e.y_low = std::min(e.y_low, y);
  e.y_high = std::max(e.y_high, y);
}

Extent extent_of(const Chart& chart) {
  Extent e;
  for (const Series& s : chart.series) {
    for (const ChartPoint& p : s.points) {
      if (drawable(p)) include(e, p.x, p.y);
    }
  }
  for (const Callout& c : chart.callouts) {
    if (std::isfinite(c.x) && std::isfinite(c.y)) include(e, c.x, c.y);
  }
  if (!e.any) e = {0, 1, 0, 1, true};
  if (chart.with_origin) include(e, 0, 0);
  // Room above and below the points, so that a peak does not sit on the frame; none below a
  // lowest value of zero.
  const float room = (e.y_high - e.y_low) * 0.06F;
  e.y_high += room;
  if (e.y_low != 0) e.y_low -= room;
  return e;
}

// The plotting area on the drawing and the axes it shows.
struct Frame {
  float left = 0, top = 0, width = 0, height = 0;
  float y_name_x = 0;  // where the name of the vertical axis stands
  Axis x, y;

  float px(float v) const { return left + (clamped(v) - x.low) / (x.high - x.low) * width; }
  float py(float v) const {
    return top + height - (clamped(v) - y.low) / (y.high - y.low) * height;
  }
};

// Both axes on the larger of their steps.
void use_one_step(Frame& f) {
  const float step = std::max(f.x.step, f.y.step);
  f.x = axis_with_step(f.x.low, f.x.high, step);
  f.y = axis_with_step(f.y.low, f.y.high, step);
}

// A unit as long on both axes: the plot shrinks to the ranges, down to half its room in either
// direction, and is centred; beyond that the shorter axis is lengthened.
void make_scales_equal(Frame& f) {
  const float x_span = f.x.high - f.x.low;
  const float y_span = f.y.high - f.y.low;
  const float per_unit = std::min(f.width / x_span, f.height / y_span);
  const float width = std::max(x_span * per_unit, f.width * 0.5F);
  const float height = std::max(y_span * per_unit, f.height * 0.5F);
  f.x.high = f.x.low + width / per_unit;
  f.y.high = f.y.low + height / per_unit;
  const float shift = (f.width - width) / 2;
  f.left += shift;
  f.y_name_x += shift;
  f.width = width;
  f.height = height;
}

float widest_tick_label(const Axis& axis) {
  float widest = 0;
  for (const float t : ticks_of(axis)) widest = std::max(widest, text_width(tick_label(t, axis)));
  return widest;
}

Frame frame_of(const Chart& chart) {
  const Extent e = extent_of(chart);
  Frame f;
  f.x = nice_axis(e.x_low, e.x_high, kTicks);
  f.y = nice_axis(e.y_low, e.y_high, kTicks);
  if (chart.equal_scale) use_one_step(f);
  f.top = kTitleHeight + kTopGap;
  f.height = chart.plot_height;
  // The tick labels of the vertical axis and its rotated name fit left of the plot.
  f.left = widest_tick_label(f.y) + kFontSize * 2 + 14;
  f.width = chart.width - f.left - kRightGap;
  f.y_name_x = kFontSize + 2;
  if (chart.equal_scale) make_scales_equal(f);
  return f;
}

std::string attr(std::string_view name, float value) {
  return std::string(" ") + std::string(name) + "=\"" + pixels(value) + "\"";
}

std::string text_element(float x, float y, std::string_view anchor, std::string_view css_class,
                         std::string_view text) {
  return "<text" + attr("x", x) + attr("y", y) + " text-anchor=\"" + std::string(anchor) +
         "\" class=\"" + std::string(css_class) + "\">" + xml_text(text) + "</text>";
}

void draw_grid_and_axes(std::string& out, const Chart& chart, const Frame& f) {
  const float right = f.left + f.width;
  const float bottom = f.top + f.height;
  out += "<g class=\"grid\">";
  for (const float t : ticks_of(f.x)) {
    const float x = f.px(t);
    out += "<line" + attr("x1", x) + attr("y1", f.top) + attr("x2", x) + attr("y2", bottom) + "/>";
  }
  for (const float t : ticks_of(f.y)) {
    const float y = f.py(t);
    out += "<line" + attr("x1", f.left) + attr("y1", y) + attr("x2", right) + attr("y2", y) + "/>";
  }
  // The zero lines, where an axis crosses zero: contraction against dilation, for instance.
  if (f.y.low < 0 && f.y.high > 0) {
    out += "<line class=\"zero\"" + attr("x1", f.left) + attr("y1", f.py(0)) + attr("x2", right) +
           attr("y2", f.py(0)) + "/>";
  }
  if (f.x.low < 0 && f.x.high > 0) {
    out += "<line class=\"zero\"" + attr("x1", f.px(0)) + attr("y1", f.top) + attr("x2", f.px(0)) +
           attr("y2", bottom) + "/>";
  }
  out += "</g><g class=\"axes\">";
  out += "<rect" + attr("x", f.left) + attr("y", f.top) + attr("width", f.width) +
         attr("height", f.height) + "/>";
  for (const float t : ticks_of(f.x)) {
    const float x = f.px(t);
    out += "<line" + attr("x1", x) + attr("y1", bottom) + attr("x2", x) +
           attr("y2", bottom + kTickLength) + "/>";
    out +=
        text_element(x, bottom + kTickLength + kFontSize + 2, "middle", "tick", tick_label(t, f.x));
  }
  for (const float t : ticks_of(f.y)) {
    const float y = f.py(t);
    out += "<line" + attr("x1", f.left - kTickLength) + attr("y1", y) + attr("x2", f.left) +
           attr("y2", y) + "/>";
    out += text_element(f.left - kTickLength - 3, y + kFontSize * 0.35F, "end", "tick",
                        tick_label(t, f.y));
  }
  out += "</g>";
  out += text_element(f.left + f.width / 2, bottom + kAxisBelow - 6, "middle", "axis-name",
                      chart.x_label);
  const float name_x = f.y_name_x;
  const float name_y = f.top + f.height / 2;
  out += "<text" + attr("x", name_x) + attr("y", name_y) + " text-anchor=\"middle\"" +
         " class=\"axis-name\" transform=\"rotate(-90 " + pixels(name_x) + " " + pixels(name_y) +
         ")\">" + xml_text(chart.y_label) + "</text>";
}

std::string marker_shape(Marker marker, float x, float y, std::string_view colour) {
  const std::string paint = " fill=\"" + xml_text(colour) + "\"";
  const float r = kMarkerSize;
  switch (marker) {
    case Marker::Circle:
      return "<circle" + attr("cx", x) + attr("cy", y) + attr("r", r) + paint;
    case Marker::Square:
      return "<rect" + attr("x", x - r) + attr("y", y - r) + attr("width", 2 * r) +
             attr("height", 2 * r) + paint;
    case Marker::Triangle:
      return "<path d=\"M" + pixels(x) + " " + pixels(y - r * 1.2F) + "L" + pixels(x + r * 1.1F) +
             " " + pixels(y + r * 0.8F) + "L" + pixels(x - r * 1.1F) + " " + pixels(y + r * 0.8F) +
             "Z\"" + paint;
    case Marker::Diamond:
      return "<path d=\"M" + pixels(x) + " " + pixels(y - r * 1.3F) + "L" + pixels(x + r * 1.3F) +
             " " + pixels(y) + "L" + pixels(x) + " " + pixels(y + r * 1.3F) + "L" +
             pixels(x - r * 1.3F) + " " + pixels(y) + "Z\"" + paint;
    case Marker::None:
      break;
  }
  return {};
}

std::string stroke_of(const Series& s) {
  return " stroke=\"" + xml_text(s.colour) + "\"" +
         (s.dash.empty() ? std::string() : " stroke-dasharray=\"" + xml_text(s.dash) + "\"");
}

// A line through the drawable points, broken where a point is left out.
void draw_line(std::string& out, const Series& s, const Frame& f) {
  const std::string style = stroke_of(s);
  std::string points;
  const auto flush = [&] {
    if (points.find(' ') != std::string::npos) {
      out += "<polyline class=\"line\"" + style + " points=\"" + points + "\"/>";
    }
    points.clear();
  };
  for (const ChartPoint& p : s.points) {
    if (!drawable(p)) {
      flush();
      continue;
    }
    if (!points.empty()) points += ' ';
    points += pixels(f.px(p.x)) + "," + pixels(f.py(p.y));
  }
  flush();
}

void draw_markers(std::string& out, const Series& s, const Frame& f) {
  if (s.marker == Marker::None) return;
  for (const ChartPoint& p : s.points) {
    if (!drawable(p)) continue;
    out += marker_shape(s.marker, f.px(p.x), f.py(p.y), s.colour);
    if (p.tip.empty()) {
      out += "/>";
    } else {
      out += "><title>" + xml_text(p.tip) + "</title></" +
             std::string(s.marker == Marker::Circle   ? "circle"
                         : s.marker == Marker::Square ? "rect"
                                                      : "path") +
             ">";
    }
  }
}

struct Box {
  float left, top, right, bottom;
};

bool overlaps(const Box& a, const Box& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool inside(const Box& b, const Frame& f) {
  return b.left >= f.left && b.right <= f.left + f.width && b.top >= f.top &&
         b.bottom <= f.top + f.height;
}

// Places for a label of width w and height h beside a ring at (x, y): close ones first, then
// one line farther out.
std::vector<Box> label_places(float x, float y, float w, float h) {
  std::vector<Box> places;
  for (const float gap : {kCalloutRing + 3, kCalloutRing + 3 + 2 * h}) {
    const float mid = y - h / 2;
    places.push_back({x + gap, y - gap - h, x + gap + w, y - gap});          // above right
    places.push_back({x + gap + 2, mid, x + gap + 2 + w, mid + h});          // right
    places.push_back({x - gap - w, y - gap - h, x - gap, y - gap});          // above left
    places.push_back({x - gap - 2 - w, mid, x - gap - 2, mid + h});          // left
    places.push_back({x - w / 2, y - gap - 2 - h, x + w / 2, y - gap - 2});  // above
    places.push_back({x + gap, y + gap, x + gap + w, y + gap + h});          // below right
    places.push_back({x - gap - w, y + gap, x - gap, y + gap + h});          // below left
    places.push_back({x - w / 2, y + gap + 2, x + w / 2, y + gap + 2 + h});  // below
  }
  return places;
}

// The point of a box nearest to (x, y).
std::array<float, 2> nearest_on(const Box& b, float x, float y) {
  return {std::clamp(x, b.left, b.right), std::clamp(y, b.top, b.bottom)};
}

// Every mark gets a ring and a label beside it, joined by a short leader line. The label takes
// the first place that stays in the plot clear of the other labels and rings and of the
// points; failing that, clear of labels and rings only; failing that, in the plot.
void draw_callouts(std::string& out, const Chart& chart, const Frame& f) {
  std::vector<Box> marks;
  std::vector<Box> points;
  const auto box_around = [](float x, float y, float r) { return Box{x - r, y - r, x + r, y + r}; };
  for (const Callout& c : chart.callouts) {
    if (std::isfinite(c.x) && std::isfinite(c.y)) {
      marks.push_back(box_around(f.px(c.x), f.py(c.y), kCalloutRing));
    }
  }
  for (const Series& s : chart.series) {
    for (const ChartPoint& p : s.points) {
      if (drawable(p)) points.push_back(box_around(f.px(p.x), f.py(p.y), kMarkerSize));
    }
  }
  const auto clear_of = [](const Box& b, const std::vector<Box>& boxes) {
    return std::none_of(boxes.begin(), boxes.end(), [&](const Box& t) { return overlaps(b, t); });
  };
  for (const Callout& c : chart.callouts) {
    if (!std::isfinite(c.x) || !std::isfinite(c.y)) continue;
    const float x = f.px(c.x);
    const float y = f.py(c.y);
    out += "<circle class=\"callout\"" + attr("cx", x) + attr("cy", y) + attr("r", kCalloutRing) +
           "/>";
    const std::vector<Box> places = label_places(x, y, text_width(c.text), kFontSize + 2);
    const std::array<std::function<bool(const Box&)>, 3> wishes{
        [&](const Box& b) { return inside(b, f) && clear_of(b, marks) && clear_of(b, points); },
        [&](const Box& b) { return inside(b, f) && clear_of(b, marks); },
        [&](const Box& b) { return inside(b, f); }};
    Box place = places.front();
    for (const auto& wish : wishes) {
      const auto found = std::find_if(places.begin(), places.end(), wish);
      if (found != places.end()) {
        place = *found;
        break;
      }
    }
    marks.push_back(place);
    const auto [lx, ly] = nearest_on(place, x, y);
    const float distance = std::hypot(lx - x, ly - y);
    if (distance > kCalloutRing + 1) {
      const float from = kCalloutRing / distance;
      out += "<line class=\"leader\"" + attr("x1", x + (lx - x) * from) +
             attr("y1", y + (ly - y) * from) + attr("x2", lx) + attr("y2", ly) + "/>";
    }
    out += text_element(place.left, place.bottom - 3, "start", "callout-label", c.text);
  }
}

// Legend entries flow in rows under the plot.
struct LegendEntry {
  const Series* series;
  float x, y;
};

std::vector<LegendEntry> legend_layout(const Chart& chart, float left, float top, float right) {
  std::vector<LegendEntry> entries;
  float x = left;
  float y = top;
  for (const Series& s : chart.series) {
    if (s.name.empty()) continue;
    const float w = kLegendSwatch + 6 + text_width(s.name) + 18;
    if (x > left && x + w > right) {
      x = left;
      y += kLegendLine;
    }
    entries.push_back({&s, x, y});
    x += w;
  }
  return entries;
}

void draw_legend(std::string& out, const std::vector<LegendEntry>& entries) {
  if (entries.empty()) return;
  out += "<g class=\"legend\">";
  for (const LegendEntry& e : entries) {
    const Series& s = *e.series;
    const float mid = e.y + kLegendLine / 2;
    if (s.joined) {
      out += "<line class=\"line\"" + stroke_of(s) + attr("x1", e.x) + attr("y1", mid) +
             attr("x2", e.x + kLegendSwatch) + attr("y2", mid) + "/>";
    }
    if (s.marker != Marker::None) {
      out += marker_shape(s.marker, e.x + kLegendSwatch / 2, mid, s.colour) + "/>";
    }
    out += text_element(e.x + kLegendSwatch + 6, mid + kFontSize * 0.35F, "start", "legend-text",
                        s.name);
  }
  out += "</g>";
}

std::string omitted_note(const Series& s) {
  std::string names;
  for (const ChartPoint& p : s.points) {
    if (drawable(p)) continue;
    if (!names.empty()) names += ", ";
    names += p.name;
  }
  if (names.empty()) return {};
  return (s.name.empty() ? std::string() : s.name + ": ") + names +
         " çizilmedi (değer hesaplanamadı).";
}

}  // namespace

Axis nice_axis(float low, float high, int ticks) {
  low = clamped(std::isfinite(low) ? low : 0);
  high = clamped(std::isfinite(high) ? high : 0);
  if (high < low) std::swap(low, high);
  const float size = std::max(std::fabs(low), std::fabs(high));
  const float least = std::max(size * kRelativeSpread, kSmallestSpread);
  if (high - low < least) {
    // One value: a range around it, from zero when it is zero.
    const float pad = size > kSmallestSpread ? size * 0.1F : 1.0F;
    if (size > kSmallestSpread) {
      low -= pad;
      high += pad;
    } else {
      low = 0;
      high = pad;
    }
  }
  return axis_with_step(low, high, round_step((high - low) / static_cast<float>(ticks)));
}

std::string chart_figure(const Chart& chart) {
  Frame f = frame_of(chart);
  const float legend_top = f.top + f.height + kAxisBelow + 4;
  const auto legend = legend_layout(chart, f.left, legend_top, chart.width - kRightGap);
  const float height =
      legend_top + (legend.empty() ? 0 : legend.back().y - legend_top + kLegendLine) + 4;

  std::string out = "<figure class=\"chart\" id=\"" + xml_text(chart.id) + "\">";
  out += "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " + pixels(chart.width) + " " +
         pixels(height) + "\"" + attr("width", chart.width) + attr("height", height) +
         " role=\"img\">";
  const std::string clip = xml_text(chart.id) + "-plot";
  out += "<defs><clipPath id=\"" + clip + "\"><rect" + attr("x", f.left) + attr("y", f.top) +
         attr("width", f.width) + attr("height", f.height) + "/></clipPath></defs>";
  out += text_element(chart.width / 2, kTitleHeight - 6, "middle", "chart-title", chart.title);
  draw_grid_and_axes(out, chart, f);
  out += "<g clip-path=\"url(#" + clip + ")\">";
  for (const Series& s : chart.series) {
    if (s.joined) draw_line(out, s, f);
  }
  out += "</g>";
  // Markers stay visible on the frame's edge; their tooltips come last, above every line.
  for (const Series& s : chart.series) draw_markers(out, s, f);
  draw_callouts(out, chart, f);
  draw_legend(out, legend);
  out += "</svg>";

  std::vector<std::string> notes = chart.notes;
  for (const Series& s : chart.series) {
    std::string note = omitted_note(s);
    if (!note.empty()) notes.push_back(std::move(note));
  }
  for (const std::string& note : notes) {
    out += "<p class=\"chart-note\">" + xml_text(note) + "</p>";
  }
  out += "</figure>";
  return out;
}

}  // namespace ostrevik::exports
