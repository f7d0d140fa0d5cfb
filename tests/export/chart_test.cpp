// The chart module: round axes, and a drawing that any XML reader reads, with every drawable
// point as a marker with its tooltip and every other one named under the chart.
#include "export/chart.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

#include "export/xml_tree.h"

namespace ostrevik::exports {
namespace {

using testing::parse_xml;

TEST(NiceAxis, CoversTheValuesWithRoundStepsAndWidensASingleValue) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct Case {
    float low, high;
    float axis_low, axis_high, step;
    int decimals;
  };
  const Case cases[] = {
      {0, 97, 0, 100, 20, 0},    // a common range
      {0.3F, 4.7F, 0, 5, 1, 0},  //
      {-0.013F, 0.051F, -0.02F, 0.06F, 0.02F, 2},
      {0, 12.4F, 0, 12.5F, 2.5F, 1},                      // a step of 2.5 shows one decimal
      {250, 250, 220, 280, 10, 0},                        // one value: ten per cent either side
      {0, 0, 0, 1, 0.2F, 1},                              // all zero: from zero
      {5, -5, -6, 6, 2, 0},                               // reversed ends
      {nan, 3, 0, 3, 0.5F, 1},                            // a missing end counts as zero
      {1000000, 1000000.06F, 900000, 1150000, 50000, 0},  // too close to tell apart
  };
  for (const Case& c : cases) {
    const Axis axis = nice_axis(c.low, c.high, 6);
    SCOPED_TRACE(::testing::Message() << c.low << " .. " << c.high);
    EXPECT_FLOAT_EQ(axis.low, c.axis_low);
    EXPECT_FLOAT_EQ(axis.high, c.axis_high);
    EXPECT_FLOAT_EQ(axis.step, c.step);
    EXPECT_EQ(axis.decimals, c.decimals);
  }
  const Axis huge = nice_axis(-3e38F, 3e38F, 6);
  EXPECT_TRUE(std::isfinite(huge.low) && std::isfinite(huge.high) && huge.step > 0);
}

// The positions of the grid lines of one direction, in drawing order.
std::vector<float> grid_positions(const testing::XmlElement& svg, const char* coordinate) {
  std::vector<float> positions;
  for (const auto* line : svg.find_all("g", "grid").at(0)->find_all("line")) {
    if (line->attribute(coordinate == std::string("x") ? "x1" : "y1") ==
        line->attribute(coordinate == std::string("x") ? "x2" : "y2")) {
      positions.push_back(std::stof(line->attribute(coordinate == std::string("x") ? "x1" : "y1")));
    }
  }
  return positions;
}

TEST(ChartFigure, DrawsEveryFinitePointWithItsTooltipAndNamesTheOthers) {
  const float inf = std::numeric_limits<float>::infinity();
  Chart chart;
  chart.id = "c1";
  chart.title = "Kayma <gerilmesi> & \"yer değiştirme\"";
  chart.x_label = "UBAR (mm)";
  chart.y_label = "SS (kPa)";
  chart.equal_scale = true;
  chart.with_origin = true;
  Series measured{"SS", "#1f77b4", {}, true, "", Marker::Circle};
  for (int i = 1; i <= 6; ++i) {
    const float y = i == 3 ? inf : (i == 5 ? std::nanf("") : 20.0F * static_cast<float>(i));
    measured.points.push_back({static_cast<float>(i) * 30, y, "okuma " + std::to_string(i),
                               "Okuma " + std::to_string(i) + "\nSS = " + std::to_string(i)});
  }
  chart.series.push_back(measured);
  chart.series.push_back({"Zarf: c = 0 kPa, φ = 30.0°",
                          "#d62728",
                          {{0, 0, "", ""}, {200, 115, "", ""}},
                          true,
                          "6 4",
                          Marker::None});
  chart.callouts.push_back({120, 80, "En yüksek (okuma 4)"});
  chart.callouts.push_back({180, 120, "Deney sonu (okuma 6)"});
  chart.notes.push_back("Bir not \x01");

  const std::string html = chart_figure(chart);
  const auto figure = parse_xml(html);
  EXPECT_EQ(html.find("nan"), std::string::npos);
  EXPECT_EQ(html.find("inf"), std::string::npos);

  const auto svg = figure->find_all("svg").at(0);
  std::set<std::string> tips;
  for (const auto* title : svg->find_all("title")) tips.insert(title->text);
  EXPECT_EQ(tips, (std::set<std::string>{"Okuma 1\nSS = 1", "Okuma 2\nSS = 2", "Okuma 4\nSS = 4",
                                         "Okuma 6\nSS = 6"}));
  EXPECT_EQ(svg->find_all("circle", "callout").size(), 2U);
  // Readings 1 and 2 joined, 4 and 6 alone between the gaps, and the envelope.
  EXPECT_EQ(svg->find_all("polyline").size(), 2U);
  EXPECT_EQ(svg->find_all("text", "callout-label").size(), 2U);

  const auto notes = figure->find_all("p", "chart-note");
  ASSERT_EQ(notes.size(), 2U);
  EXPECT_EQ(notes[0]->text, "Bir not \xEF\xBF\xBD");
  EXPECT_EQ(notes[1]->text, "SS: okuma 3, okuma 5 çizilmedi (değer hesaplanamadı).");

  // Equal scales: both axes have the same step, so the grid lines are as far apart.
  const auto xs = grid_positions(*svg, "x");
  const auto ys = grid_positions(*svg, "y");
  ASSERT_GE(xs.size(), 2U);
  ASSERT_GE(ys.size(), 2U);
  EXPECT_NEAR(xs[1] - xs[0], ys[0] - ys[1], 0.2F);
}

TEST(ChartFigure, AChartWithoutDrawablePointsStillHasAxes) {
  Chart chart;
  chart.id = "empty";
  chart.series.push_back(
      {"VBAR", "black", {{std::nanf(""), 1, "okuma 1", ""}}, true, "", Marker::Square});
  const auto figure = parse_xml(chart_figure(chart));
  EXPECT_FALSE(figure->find_all("g", "axes").empty());
  EXPECT_EQ(figure->find_all("p", "chart-note").size(), 1U);
}

}  // namespace
}  // namespace ostrevik::exports
