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
  // Room beyond the points, so that the largest value does not sit on the frame and each axis
  // ends on a tick past it; none below a lowest value of zero.
  const float room = (e.y_high - e.y_low) * 0.06F;
  e.y_high += room;
  if (e.y_low != 0) e.y_low -= room;
  const float x_room = (e.x_high - e.x_low) * 0.03F;
  e.x_high += x_room;
  if (e.x_low != 0) e.x_low -= x_room;
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

void text_element(Markup& m, float x, float y, std::string_view anchor, std::string_view css_class,
                  std::string_view text) {
  m.raw("<text").attr("x", x).attr("y", y).attr("text-anchor", anchor).attr("class", css_class);
  m.raw(">").text(text).raw("</text>");
}

void line_element(Markup& m, std::string_view css_class, float x1, float y1, float x2, float y2) {
  m.raw("<line");
  if (!css_class.empty()) m.attr("class", css_class);
  m.attr("x1", x1).attr("y1", y1).attr("x2", x2).attr("y2", y2).raw("/>");
}

void draw_grid_and_axes(Markup& m, const Chart& chart, const Frame& f) {
  const float right = f.left + f.width;
  const float bottom = f.top + f.height;
  m.raw("<g class=\"grid\">");
  for (const float t : ticks_of(f.x)) line_element(m, {}, f.px(t), f.top, f.px(t), bottom);
  for (const float t : ticks_of(f.y)) line_element(m, {}, f.left, f.py(t), right, f.py(t));
  // The zero lines, where an axis crosses zero: contraction against dilation, for instance.
  if (f.y.low < 0 && f.y.high > 0) line_element(m, "zero", f.left, f.py(0), right, f.py(0));
  if (f.x.low < 0 && f.x.high > 0) line_element(m, "zero", f.px(0), f.top, f.px(0), bottom);
  m.raw("</g><g class=\"axes\"><rect").attr("x", f.left).attr("y", f.top);
  m.attr("width", f.width).attr("height", f.height).raw("/>");
  for (const float t : ticks_of(f.x)) {
    const float x = f.px(t);
    line_element(m, {}, x, bottom, x, bottom + kTickLength);
    text_element(m, x, bottom + kTickLength + kFontSize + 2, "middle", "tick", tick_label(t, f.x));
  }
  for (const float t : ticks_of(f.y)) {
    const float y = f.py(t);
    line_element(m, {}, f.left - kTickLength, y, f.left, y);
    text_element(m, f.left - kTickLength - 3, y + kFontSize * 0.35F, "end", "tick",
                 tick_label(t, f.y));
  }
  m.raw("</g>");
  text_element(m, f.left + f.width / 2, bottom + kAxisBelow - 6, "middle", "axis-name",
               chart.x_label);
  const float name_x = f.y_name_x;
  const float name_y = f.top + f.height / 2;
  m.raw("<text").attr("x", name_x).attr("y", name_y).raw(" text-anchor=\"middle\"");
  m.raw(" class=\"axis-name\" transform=\"rotate(-90 ").pixels(name_x).raw(" ").pixels(name_y);
  m.raw(")\">").text(chart.y_label).raw("</text>");
}

// The opening of a marker's element, without its end; returns the element's name.
std::string_view open_marker(Markup& m, Marker marker, float x, float y) {
  const float r = kMarkerSize;
  switch (marker) {
    case Marker::Circle:
      m.raw("<circle").attr("cx", x).attr("cy", y).attr("r", r);
      return "circle";
    case Marker::Square:
      m.raw("<rect").attr("x", x - r).attr("y", y - r).attr("width", 2 * r).attr("height", 2 * r);
      return "rect";
    case Marker::Triangle:
      m.raw("<path d=\"M").pixels(x).raw(" ").pixels(y - r * 1.2F);
      m.raw("L").pixels(x + r * 1.1F).raw(" ").pixels(y + r * 0.8F);
      m.raw("L").pixels(x - r * 1.1F).raw(" ").pixels(y + r * 0.8F).raw("Z\"");
      return "path";
    case Marker::Diamond:
      m.raw("<path d=\"M").pixels(x).raw(" ").pixels(y - r * 1.3F);
      m.raw("L").pixels(x + r * 1.3F).raw(" ").pixels(y);
      m.raw("L").pixels(x).raw(" ").pixels(y + r * 1.3F);
      m.raw("L").pixels(x - r * 1.3F).raw(" ").pixels(y).raw("Z\"");
      return "path";
    case Marker::None:
      break;
  }
  return {};
}

void stroke_of(Markup& m, const Series& s) {
  m.attr("stroke", s.colour);
  if (!s.dash.empty()) m.attr("stroke-dasharray", s.dash);
}

// A line through the drawable points, broken where a point is left out; for a filled series the
// area that the points enclose.
void draw_line(Markup& m, const Series& s, const Frame& f) {
  std::size_t k = 0;
  while (k < s.points.size()) {
    while (k < s.points.size() && !drawable(s.points[k])) ++k;
    std::size_t end = k;
    while (end < s.points.size() && drawable(s.points[end])) ++end;
    if (end - k >= (s.filled ? 3U : 2U)) {
      if (s.filled) {
        m.raw("<polygon class=\"band\"").attr("fill", s.colour);
      } else {
        m.raw("<polyline class=\"line\"");
        stroke_of(m, s);
      }
      m.raw(" points=\"");
      for (std::size_t i = k; i < end; ++i) {
        if (i > k) m.raw(" ");
        m.pixels(f.px(s.points[i].x)).raw(",").pixels(f.py(s.points[i].y));
      }
      m.raw("\"/>");
    }
    k = end;
  }
}

// The markers of a series in one group that gives their colour.
void draw_markers(Markup& m, const Series& s, const Frame& f) {
  if (s.marker == Marker::None) return;
  m.raw("<g").attr("fill", s.colour).raw(">");
  for (const ChartPoint& p : s.points) {
    if (!drawable(p)) continue;
    const std::string_view name = open_marker(m, s.marker, f.px(p.x), f.py(p.y));
    if (p.tip.empty()) {
      m.raw("/>");
    } else {
      m.raw("><title>").text(p.tip).raw("</title></").raw(name).raw(">");
    }
  }
  m.raw("</g>");
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

// Places for a label of width w and height h beside a ring of radius `ring` at (x, y): close
// ones first, then one line farther out.
std::vector<Box> label_places(float x, float y, float w, float h, float ring) {
  std::vector<Box> places;
  for (const float gap : {ring + 3, ring + 3 + 2 * h}) {
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
void draw_callouts(Markup& m, const Chart& chart, const Frame& f) {
  std::vector<Box> marks;
  std::vector<Box> points;
  const auto box_around = [](float x, float y, float r) { return Box{x - r, y - r, x + r, y + r}; };
  for (const Callout& c : chart.callouts) {
    if (std::isfinite(c.x) && std::isfinite(c.y)) {
      marks.push_back(box_around(f.px(c.x), f.py(c.y), c.ring ? kCalloutRing : kMarkerSize));
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
    const float ring = c.ring ? kCalloutRing : kMarkerSize - 2;
    if (c.ring) {
      m.raw("<circle class=\"callout\"").attr("cx", x).attr("cy", y).attr("r", kCalloutRing);
      m.raw("/>");
    }
    const std::vector<Box> places = label_places(x, y, text_width(c.text), kFontSize + 2, ring);
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
    if (distance > ring + 4) {
      const float from = ring / distance;
      line_element(m, "leader", x + (lx - x) * from, y + (ly - y) * from, lx, ly);
    }
    text_element(m, place.left, place.bottom - 3, "start", c.ring ? "callout-label" : "point-label",
                 c.text);
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

void draw_legend(Markup& m, const std::vector<LegendEntry>& entries) {
  if (entries.empty()) return;
  m.raw("<g class=\"legend\">");
  for (const LegendEntry& e : entries) {
    const Series& s = *e.series;
    const float mid = e.y + kLegendLine / 2;
    if (s.joined && s.filled) {
      m.raw("<rect class=\"band\"").attr("fill", s.colour).attr("x", e.x).attr("y", mid - 4);
      m.attr("width", kLegendSwatch).attr("height", 8).raw("/>");
    } else if (s.joined) {
      m.raw("<line class=\"line\"");
      stroke_of(m, s);
      m.attr("x1", e.x).attr("y1", mid).attr("x2", e.x + kLegendSwatch).attr("y2", mid).raw("/>");
    }
    if (s.marker != Marker::None) {
      open_marker(m, s.marker, e.x + kLegendSwatch / 2, mid);
      m.attr("fill", s.colour).raw("/>");
    }
    text_element(m, e.x + kLegendSwatch + 6, mid + kFontSize * 0.35F, "start", "legend-text",
                 s.name);
  }
  m.raw("</g>");
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

const std::string_view kChartStyle = R"(
svg text { font-family: sans-serif; font-size: 11px; fill: #222; }
svg .chart-title { font-size: 12px; font-weight: bold; }
svg .grid line { stroke: #e4e4e4; stroke-width: 1; }
svg line.zero { stroke: #999; stroke-width: 1; }
svg .axes rect { fill: none; stroke: #444; stroke-width: 1; }
svg .axes line { stroke: #444; stroke-width: 1; }
svg .line { fill: none; stroke-width: 1.6; }
svg .band { fill-opacity: 0.15; stroke: none; }
svg circle.callout { fill: none; stroke: #000; stroke-width: 1.5; }
svg line.leader { stroke: #000; stroke-width: 0.8; }
svg .callout-label, svg .point-label { paint-order: stroke; stroke: #fff; stroke-width: 3px;
  stroke-linejoin: round; }
svg .callout-label { font-weight: bold; }
svg .point-label { font-size: 10px; }
)";

namespace {

// The SVG drawing of the chart.
void append_svg(std::string& out, const Chart& chart) {
  Frame f = frame_of(chart);
  const float legend_top = f.top + f.height + kAxisBelow + 4;
  const auto legend = legend_layout(chart, f.left, legend_top, chart.width - kRightGap);
  const float height =
      legend_top + (legend.empty() ? 0 : legend.back().y - legend_top + kLegendLine) + 4;

  Markup m(out);
  m.raw("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 ").pixels(chart.width);
  m.raw(" ").pixels(height).raw("\"").attr("width", chart.width).attr("height", height);
  m.raw(" role=\"img\">");
  const std::string clip = chart.id + "-plot";
  m.raw("<defs><clipPath").attr("id", clip).raw("><rect").attr("x", f.left).attr("y", f.top);
  m.attr("width", f.width).attr("height", f.height).raw("/></clipPath></defs>");
  text_element(m, chart.width / 2, kTitleHeight - 6, "middle", "chart-title", chart.title);
  draw_grid_and_axes(m, chart, f);
  m.raw("<g clip-path=\"url(#").text(clip).raw(")\">");
  for (const Series& s : chart.series) {
    if (s.joined) draw_line(m, s, f);
  }
  m.raw("</g>");
  // Markers stay visible on the frame's edge; their tooltips come last, above every line.
  for (const Series& s : chart.series) draw_markers(m, s, f);
  draw_callouts(m, chart, f);
  draw_legend(m, legend);
  m.raw("</svg>");
}

}  // namespace

void append_chart_figure(std::string& out, const Chart& chart) {
  Markup m(out);
  m.raw("<figure class=\"chart\"").attr("id", chart.id).raw(">");
  append_svg(out, chart);
  for (const std::string& note : chart.notes) m.element("p", note, "chart-note");
  for (const Series& s : chart.series) {
    const std::string note = omitted_note(s);
    if (!note.empty()) m.element("p", note, "chart-note");
  }
  m.raw("</figure>");
}

std::string chart_figure(const Chart& chart) {
  std::string out;
  append_chart_figure(out, chart);
  return out;
}

}  // namespace ostrevik::exports
