#include "export/html.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

#include "codec/cp857.h"
#include "export/chart.h"
#include "export/markup.h"
#include "export/notes.h"
#include "model/elementary.h"

namespace ostrevik::exports {
namespace {

constexpr std::string_view kStyle = R"(
@page { size: A4 landscape; margin: 14mm 10mm 10mm; }
body { font-family: sans-serif; font-size: 10pt; color: #222; margin: 0 auto; max-width: 277mm; }
h1 { font-size: 15pt; margin: 0 0 2mm; }
h2 { font-size: 13pt; margin: 0 0 2mm; border-bottom: 1px solid #888; }
h3 { font-size: 11pt; margin: 3mm 0 1mm; }
h2, h3 { break-after: avoid; }
section { padding-top: 2mm; }
section.test, section.strength { break-before: page; }
section.series + section.test { break-before: auto; }
pre.titles { font-family: monospace; font-size: 9pt; margin: 0 0 2mm; white-space: pre-wrap; }
.charts { display: flex; flex-wrap: wrap; gap: 3mm; }
figure.chart { margin: 0; flex: 0 1 calc(50% - 2mm); min-width: 0; break-inside: avoid; }
.small figure.chart { flex-basis: calc(33% - 2mm); }
figure.chart svg { display: block; width: 100%; height: auto; }
p.chart-note { margin: 0 0 1mm; font-size: 8.5pt; color: #7a3b00; }
p.message { font-weight: bold; color: #8b0000; }
div.keep { break-inside: avoid; }
table { border-collapse: collapse; margin: 1mm 0 2mm; break-inside: avoid; }
th, td { border: 1px solid #bbb; padding: 1px 6px; }
td { text-align: right; font-variant-numeric: tabular-nums; }
th { background: #f0f0f0; font-weight: normal; }
td.text, th.text { text-align: left; }
table.specimens { font-size: 9pt; }
table.statistics { font-size: 7.5pt; }
table.statistics th, table.statistics td { padding: 1px 2px; }
.charts > div { flex: 1 1 40%; }
table.specimens th, table.specimens td { padding: 1px 4px; }
div.top { display: flex; flex-wrap: wrap; gap: 2mm 8mm; align-items: flex-start; }
dl.key { display: flex; flex-wrap: wrap; gap: 1mm 6mm; margin: 0 0 2mm; break-inside: avoid; }
dl.key div { display: flex; gap: 2mm; }
dl.key dt { font-weight: bold; }
dl.key dd { margin: 0; }
dl.identity { display: grid; grid-template-columns: max-content auto; gap: 0 4mm; margin: 0 0 2mm; }
dl.identity dt { font-weight: bold; }
dl.identity dd { margin: 0; }
div.notes { border: 1px solid #d9a400; background: #fff8e0; padding: 0 3mm; margin: 0 0 2mm; }
div.notes h3 { margin: 1mm 0 0; font-size: 10pt; }
div.notes ul { margin: 1mm 0; padding-left: 5mm; }
@media print { ul.contents { display: none; } }
)";

// Colours of the curves.
constexpr std::string_view kShear = "#1f5fa8";
constexpr std::string_view kNormal = "#2e8b57";
constexpr std::string_view kVertical = "#7b3294";
constexpr std::string_view kPeak = "#1f5fa8";
constexpr std::string_view kEnd = "#d2691e";

std::string element(std::string_view name, std::string_view text, std::string_view css_class = {}) {
  std::string out = "<" + std::string(name);
  if (!css_class.empty()) out += " class=\"" + std::string(css_class) + "\"";
  return out + ">" + xml_text(text) + "</" + std::string(name) + ">";
}

std::string rstrip(std::string text) {
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

bool is_utf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80             ? 1
                               : (lead & 0xE0) == 0xC0 ? 2
                               : (lead & 0xF0) == 0xE0 ? 3
                               : (lead & 0xF8) == 0xF0 ? 4
                                                       : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

// A file name as typed: UTF-8 on a UTF-8 console, CP857 otherwise.
std::string file_name_text(const std::string& name) {
  return rstrip(is_utf8(name) ? name : codec::cp857_to_utf8(name));
}

std::string title_text(const std::array<char, 80>& title) {
  return rstrip(codec::cp857_to_utf8(std::string_view(title.data(), title.size())));
}

std::string integer(long long value) {
  return std::to_string(value);
}

// "2024-05-01 12:34 UTC"; times before 1970 or after 9999 are shown at those ends.
std::string date_text(std::int64_t since_epoch) {
  using namespace std::chrono;
  constexpr std::int64_t kLast = 253402300799;  // 9999-12-31 23:59:59
  const sys_seconds time{seconds(std::clamp<std::int64_t>(since_epoch, 0, kLast))};
  const auto day = floor<days>(time);
  const year_month_day date{day};
  const hh_mm_ss clock{time - day};
  const auto two = [](long long v) { return std::string(v < 10 ? "0" : "") + std::to_string(v); };
  return std::to_string(static_cast<int>(date.year())) + "-" +
         two(static_cast<unsigned>(date.month())) + "-" + two(static_cast<unsigned>(date.day())) +
         " " + two(clock.hours().count()) + ":" + two(clock.minutes().count()) + " UTC";
}

// ---- values of a test -----------------------------------------------------------------------

// Decimals of a quantity as the report prints it for this test: the summary table is written
// instead of Tables 1 to 3 for PAROUT 6 and 7.
int printed_decimals(const TestSnapshot& t, Quantity q) {
  const std::optional<float> PAROUT = setup_value(t, "PAROUT");
  const bool summary = PAROUT && (*PAROUT == 6.0F || *PAROUT == 7.0F);
  if (summary) return catalogue::decimals_in(catalogue::Table::Summary, info(q).name);
  return info(q).decimals;
}

float value_or_nan(const ReadingSnapshot& r, Quantity q) {
  const std::optional<float> v = r[q];
  return v ? *v : std::nanf("");
}

std::string unit_suffix(std::string_view unit) {
  return unit.empty() || unit == "oran" || unit == "sayı" ? std::string() : " " + std::string(unit);
}

// "UBAR, kayma yer değiştirmesi (mm)": an axis of a quantity of the catalogue, `note` after its
// unit.
std::string axis_label(std::string_view name, std::string_view what, std::string_view note = {}) {
  return std::string(name) + ", " + std::string(what) + " (" +
         std::string(catalogue::entry(name).unit) + std::string(note) + ")";
}

// A number of the catalogue's quantity `name` with its decimals.
std::string fixed_as(std::string_view name, float value) {
  return fixed(value, catalogue::entry(name).decimals);
}

// A plotted quantity of the readings: what it is, and how the report prints it.
struct Plotted {
  Quantity q;
  std::string_view name;
  std::string suffix;  // " mm"
  int decimals;
};

Plotted plotted(const TestSnapshot& t, Quantity q) {
  return {q, info(q).name, unit_suffix(info(q).unit), printed_decimals(t, q)};
}

void append_value_line(std::string& tip, const Plotted& p, float value) {
  tip += '\n';
  tip += p.name;
  tip += " = ";
  append_fixed(tip, value, p.decimals);
  tip += p.suffix;
}

// The readings of a test as points, with the tooltip "Deney 2, okuma 7 / UBAR = 3.2 mm /
// SS = 45.6 kPa".
Series reading_series(const TestSnapshot& t, const Plotted& x, const Plotted& y, std::string name,
                      std::string_view colour, Marker marker) {
  Series s;
  s.name = std::move(name);
  s.colour = colour;
  s.marker = marker;
  s.points.reserve(t.readings.size());
  const std::string test = "Deney " + std::to_string(t.test) + ", okuma ";
  for (std::size_t k = 0; k < t.readings.size(); ++k) {
    const ReadingSnapshot& r = t.readings[k];
    ChartPoint p{value_or_nan(r, x.q), value_or_nan(r, y.q), "okuma " + std::to_string(k + 1), {}};
    p.tip.reserve(64);
    p.tip += test;
    p.tip += std::to_string(k + 1);
    append_value_line(p.tip, x, p.x);
    append_value_line(p.tip, y, p.y);
    s.points.push_back(std::move(p));
  }
  return s;
}

// The peak and end readings marked on a curve.
std::vector<Callout> peak_and_end(const TestSnapshot& t, Quantity xq, Quantity yq) {
  const auto valid = [&](int reading) {
    return reading >= 1 && static_cast<std::size_t>(reading) <= t.readings.size();
  };
  const auto at = [&](int reading, std::string text) {
    const ReadingSnapshot& r = t.readings[static_cast<std::size_t>(reading - 1)];
    return Callout{value_or_nan(r, xq), value_or_nan(r, yq), std::move(text)};
  };
  std::vector<Callout> marks;
  if (valid(t.IMAXP) && t.IMAXP == t.IEND) {
    marks.push_back(at(t.IMAXP, "En yüksek = deney sonu (okuma " + std::to_string(t.IMAXP) + ")"));
    return marks;
  }
  if (valid(t.IMAXP))
    marks.push_back(at(t.IMAXP, "En yüksek (okuma " + std::to_string(t.IMAXP) + ")"));
  if (valid(t.IEND))
    marks.push_back(at(t.IEND, "Deney sonu (okuma " + std::to_string(t.IEND) + ")"));
  return marks;
}

std::string chart_id(const TestSnapshot& t, int chart) {
  return "deney-" + std::to_string(t.test) + "-grafik-" + std::to_string(chart);
}

Chart stress_chart(const TestSnapshot& t) {
  Chart c;
  c.id = chart_id(t, 1);
  c.title = "Gerilmeler ve kayma yer değiştirmesi";
  c.x_label = axis_label("UBAR", "kayma yer değiştirmesi");
  c.y_label = "Gerilme (" + std::string(info(Quantity::SS).unit) + ")";
  c.with_origin = true;
  const Plotted UBAR = plotted(t, Quantity::UBAR);
  c.series.push_back(reading_series(t, UBAR, plotted(t, Quantity::SS), "SS, kayma gerilmesi",
                                    kShear, Marker::Circle));
  c.series.push_back(reading_series(t, UBAR, plotted(t, Quantity::TNSAVE), "TNSAVE, normal gerilme",
                                    kNormal, Marker::Square));
  c.callouts = peak_and_end(t, Quantity::UBAR, Quantity::SS);
  return c;
}

Chart displacement_chart(const TestSnapshot& t) {
  Chart c;
  c.id = chart_id(t, 2);
  c.title = "Düzleme dik ve kayma yer değiştirmesi";
  c.x_label = axis_label("UBAR", "kayma yer değiştirmesi");
  c.y_label = axis_label("VBAR", "düzleme dik yer değiştirme", "; + kabarma");
  c.with_origin = true;
  c.series.push_back(reading_series(t, plotted(t, Quantity::UBAR), plotted(t, Quantity::VBAR),
                                    "VBAR, kesme düzlemine dik", kVertical, Marker::Diamond));
  c.callouts = peak_and_end(t, Quantity::UBAR, Quantity::VBAR);
  return c;
}

// Colours and markers of the tests of a series, in turn.
constexpr std::array<std::string_view, 8> kTestColours{"#1f5fa8", "#d2691e", "#2e8b57", "#7b3294",
                                                       "#b22222", "#008b8b", "#8b8b00", "#555555"};
constexpr std::array<Marker, 4> kTestMarkers{Marker::Circle, Marker::Square, Marker::Triangle,
                                             Marker::Diamond};

bool plotted_in_series(const TestSnapshot& t) {
  return t.kind == TestKind::Evaluated && !t.readings.empty();
}

// A quantity against UBAR for every evaluated test of the file, one colour and marker each.
Chart overlay_chart(const FileSnapshot& file, std::string id, std::string title, Quantity yq,
                    std::string y_label) {
  Chart c;
  c.id = std::move(id);
  c.title = std::move(title);
  c.x_label = axis_label("UBAR", "kayma yer değiştirmesi");
  c.y_label = std::move(y_label);
  c.with_origin = true;
  std::size_t k = 0;
  for (const TestSnapshot& t : file.tests) {
    if (!plotted_in_series(t)) continue;
    c.series.push_back(reading_series(
        t, plotted(t, Quantity::UBAR), plotted(t, yq), "Deney " + std::to_string(t.test),
        kTestColours[k % kTestColours.size()], kTestMarkers[k % kTestMarkers.size()]));
    ++k;
  }
  return c;
}

std::vector<Chart> overlay_charts(const FileSnapshot& file) {
  return {overlay_chart(file, "seri-grafik-1", "Kayma gerilmesi, bütün deneyler", Quantity::SS,
                        axis_label("SS", "kayma gerilmesi")),
          overlay_chart(file, "seri-grafik-2", "Düzleme dik yer değiştirme, bütün deneyler",
                        Quantity::VBAR,
                        axis_label("VBAR", "düzleme dik yer değiştirme", "; + kabarma"))};
}

std::string titles_block(const TestSnapshot& t) {
  std::string text;
  for (const auto& title : t.titles) {
    if (!text.empty()) text += '\n';
    text += title_text(title);
  }
  return element("pre", text, "titles");
}

std::string key_value(std::string_view name, std::string_view value, std::string_view unit) {
  return "<div><dt>" + xml_text(name) + "</dt><dd>" + xml_text(value) +
         xml_text(unit_suffix(unit)) + "</dd></div>";
}

// The value of a reading as the report prints it for this test, or nothing where the reading
// lacks it.
std::optional<float> reading_value(const TestSnapshot& t, int reading, Quantity q) {
  if (reading < 1 || static_cast<std::size_t>(reading) > t.readings.size()) return std::nullopt;
  return t.readings[static_cast<std::size_t>(reading - 1)][q];
}

// The largest and smallest computed value of a quantity over the readings.
std::optional<std::pair<float, float>> reading_range(const TestSnapshot& t, Quantity q) {
  std::optional<std::pair<float, float>> range;
  for (const ReadingSnapshot& r : t.readings) {
    const std::optional<float> v = r[q];
    if (!v || !std::isfinite(*v)) continue;
    range = range ? std::pair(std::min(range->first, *v), std::max(range->second, *v))
                  : std::pair(*v, *v);
  }
  return range;
}

// The set-up values of the specimen shown on the page, in this order, where the echo has them.
constexpr std::array<std::string_view, 13> kSpecimenValues{
    "ALFN",   "ALFA",  "DIAIN", "HTLOWS", "HTMOLD", "HEMPTY", "WSPPTM",
    "DENSOL", "WCINL", "GS",    "DDENSL", "VOIDR",  "SATINL"};

// The specimen as the data file describes it, with the range of its normal stress and lateral
// load, the duration of the test and its mean rate of shearing.
std::string specimen_data(const TestSnapshot& t) {
  std::string out = "<dl class=\"key\">";
  for (const std::string_view name : kSpecimenValues) {
    const std::optional<float> v = setup_value(t, name);
    if (!v) continue;
    out += key_value(name == "DIAIN" ? "DIAIN (numune çapı)" : name, fixed_as(name, *v),
                     catalogue::entry(name).unit);
  }
  out += key_value("NREAD", integer(t.NREAD), "");
  const Plotted TNSAVE = plotted(t, Quantity::TNSAVE);
  if (const auto range = reading_range(t, Quantity::TNSAVE)) {
    out += key_value("TNSAVE en küçük", fixed(range->first, TNSAVE.decimals), info(TNSAVE.q).unit);
    out += key_value("TNSAVE en büyük", fixed(range->second, TNSAVE.decimals), info(TNSAVE.q).unit);
  }
  const Plotted SLATLD = plotted(t, Quantity::SLATLD);
  if (const auto range = reading_range(t, Quantity::SLATLD); range && range->second != 0) {
    out += key_value("SLATLD en büyük", fixed(range->second, SLATLD.decimals), info(SLATLD.q).unit);
  }
  const int last = static_cast<int>(t.readings.size());
  const std::optional<float> T = reading_value(t, last, Quantity::T);
  const std::optional<float> UBAR = reading_value(t, last, Quantity::UBAR);
  if (T && UBAR) {
    const Plotted time = plotted(t, Quantity::T);
    out += key_value("T (süre)", fixed(*T, time.decimals), info(Quantity::T).unit);
    if (*T > 0) {
      out += key_value("Kayma hızı (UBAR / T)", fixed_as("DUDT", *UBAR / *T),
                       catalogue::entry("DUDT").unit);
    }
  }
  return out + "</dl>";
}

// Where the no-tension correction acted: the readings of Table 1A by their time.
std::string tension_summary(const TestSnapshot& t) {
  if (t.tension.empty()) return {};
  std::string times;
  for (const TensionRow& row : t.tension) {
    times += times.empty() ? "T = " : ", ";
    times += fixed(row.T, info(Quantity::T).decimals) + unit_suffix(info(Quantity::T).unit);
  }
  return element("p", "Kesme düzleminin bir bölümü çekmede kaldı: " +
                          integer(static_cast<long long>(t.tension.size())) +
                          " okuma yalnız sıkışan bölüme göre düzeltildi: " + times +
                          " (raporun Çizelge 1A'sı).");
}

std::string table4_block(const TestSnapshot& t) {
  if (!t.table4) return {};
  const Table4Snapshot& v = *t.table4;
  std::string out = "<h3>Çizelge 4: en yüksek dayanımda ve deney sonunda</h3><table><tr><th></th>";
  for (const Quantity q : TABLE4_QUANTITIES) {
    out += "<th>" + xml_text(info(q).name) + xml_text(unit_suffix(info(q).unit)) + "</th>";
  }
  out += "<th>T (IMAXP)" + xml_text(unit_suffix(info(Quantity::T).unit)) + "</th></tr>";
  const auto row = [&](std::string_view label, int reading, const auto& values, bool with_time) {
    std::string r =
        "<tr><th class=\"text\">" + xml_text(label) + " (okuma " + integer(reading) + ")</th>";
    for (std::size_t k = 0; k < TABLE4_QUANTITIES.size(); ++k) {
      r += "<td>" + xml_text(fixed(values[k], info(TABLE4_QUANTITIES[k]).decimals)) + "</td>";
    }
    r += "<td>" + (with_time ? xml_text(fixed(v.T_peak, info(Quantity::T).decimals)) : "") +
         "</td></tr>";
    return r;
  };
  out += row("EN Y", t.IMAXP, v.peak, true);
  out += row("DENEY SN", t.IEND, v.end, false);
  return out + "</table>";
}

std::string flagged_table(const TestSnapshot& t) {
  static const std::string kAllClear =
      "*** BU DENEY VERİLERİNDE HERHANGİ BİR YANLIŞ BULUNAMAMIŞTIR. ***";
  static constexpr std::array<std::string_view, 7> kColumns{"TIMACT", "HIGHDX", "TLOWDX", "HIGHDY",
                                                            "TLOWDY", "HIGHTL", "TLOWTL"};
  if (t.flagged.empty()) return element("p", kAllClear);
  std::string out = element(
      "p", "Okuma denetimi: " + integer(static_cast<long long>(t.flagged.size())) +
               " şüpheli okuma satırı (TIMACT " + std::string(catalogue::entry("TIMACT").unit) +
               ", öteki sütunlar " + std::string(catalogue::entry("HIGHDX").unit) + ").");
  out += "<table><tr>";
  for (const std::string_view name : kColumns) out += "<th>" + std::string(name) + "</th>";
  out += "</tr>";
  for (const SuspectReading& r : t.flagged) {
    out += "<tr>";
    const std::array<float, 7> values{r.TIMACT, r.HIGHDX, r.TLOWDX, r.HIGHDY,
                                      r.TLOWDY, r.HIGHTL, r.TLOWTL};
    for (std::size_t k = 0; k < kColumns.size(); ++k) {
      out += "<td>" + xml_text(fixed_as(kColumns[k], values[k])) + "</td>";
    }
    out += "</tr>";
  }
  return out + "</table>";
}

void append_charts(std::string& out, const TestSnapshot& t) {
  out += "<div class=\"charts\">";
  append_chart_figure(out, stress_chart(t));
  append_chart_figure(out, displacement_chart(t));
  out += "</div>";
}

std::string kind_text(TestKind kind) {
  switch (kind) {
    case TestKind::Evaluated:
      return "değerlendirildi";
    case TestKind::CheckOnly:
      return "yalnız okumalar denetlendi";
    case TestKind::Refused:
      return "değerlendirilemedi";
    case TestKind::IterationLimit:
      return "iterasyon sınırında durdu";
  }
  return {};
}

// The plausibility notes of a test or of the analysis, in a box; nothing when there is none.
void append_notes(std::string& out, const std::vector<Note>& notes) {
  if (notes.empty()) return;
  Markup m(out);
  m.raw("<div class=\"notes\">").element("h3", "Olağan dışı değerler").raw("<ul>");
  for (const Note& note : notes) {
    const std::string where = note.reading > 0 ? "Okuma " + integer(note.reading) + ": " : "";
    m.element("li", where + note.text);
  }
  m.raw("</ul></div>");
}

void append_test_section(std::string& out, const TestSnapshot& t) {
  out += "<section class=\"test\" id=\"deney-" + integer(t.test) + "\">";
  out += element("h2", "Deney " + integer(t.test) + " (" + kind_text(t.kind) + ")");
  out += titles_block(t);
  append_notes(out, test_notes(t));
  switch (t.kind) {
    case TestKind::Evaluated:
      out += specimen_data(t) + tension_summary(t);
      append_charts(out, t);
      out += table4_block(t);
      break;
    case TestKind::CheckOnly:
      out += specimen_data(t) + flagged_table(t);
      break;
    case TestKind::Refused:
    case TestKind::IterationLimit:
      out += element("p", t.message, "message");
      out += element("p", "Bu sonuçtan önce değerlendirilen okuma sayısı: " +
                              integer(t.readings_evaluated) + ".");
      if (!t.readings.empty()) {
        out += specimen_data(t) + tension_summary(t);
        append_charts(out, t);
      }
      break;
  }
  out += "</section>\n";
}

// ---- the strength analysis ------------------------------------------------------------------

// The three ways of the analysis; way w shows case w + 1 (peak) and case w + 4 (end).
constexpr std::array<std::string_view, 3> kWays = {"Gerçek kesme düzlemi", "Ortalama kesme düzlemi",
                                                   "Basit analiz (dönme ve moment ihmal)"};

// A value of the catalogue's quantity `name` with its decimals, "YOK", or a dash where the run
// did not compute it.
std::string analysis_text(const AnalysisValue& v, std::string_view name) {
  switch (v.state) {
    case AnalysisValue::State::Number:
      return fixed_as(name, v.value);
    case AnalysisValue::State::Yok:
      return "YOK";
    case AnalysisValue::State::NotComputed:
      break;
  }
  return "—";
}

bool usable(const AnalysisValue& v) {
  return v.state == AnalysisValue::State::Number && std::isfinite(v.value);
}

float tangent_of_degrees(float degrees_value) {
  return rounded::tan(degrees_value * PI / 180.0F);
}

struct StrengthPoints {
  Series peak, end;
  float x_high = 0;        // largest drawable normal stress, kPa
  float x_low = 0;         // smallest, or 0
  std::vector<int> tests;  // the test of each point, in the order of the points
};

ChartPoint strength_point(const TestSnapshot& t, int c, bool at_peak) {
  const TestRecord& r = *t.record;
  const std::size_t k = static_cast<std::size_t>(c - 1);
  const int reading = at_peak ? t.IMAXP : t.IEND;
  return {
      r.SIGA[k], r.TAUA[k], "deney " + integer(t.test),
      "Deney " + integer(t.test) + ", okuma " + integer(reading) +
          (at_peak ? " (en yüksek dayanım)" : " (deney sonu)") +
          "\nSIG = " + fixed_as("SIGA", r.SIGA[k]) + unit_suffix(catalogue::entry("SIGA").unit) +
          "\nTAU = " + fixed_as("TAUA", r.TAUA[k]) + unit_suffix(catalogue::entry("TAUA").unit)};
}

StrengthPoints strength_points(const FileSnapshot& file, int way, std::vector<std::string>& notes) {
  std::map<int, const TestSnapshot*> by_number;
  for (const TestSnapshot& t : file.tests) by_number[t.test] = &t;
  StrengthPoints p;
  p.peak = {"En yüksek dayanım (EN Y)", std::string(kPeak), {}, false, "", Marker::Circle};
  p.end = {"Deney sonu (DENEY SN)", std::string(kEnd), {}, false, "", Marker::Triangle};
  std::string unstored;
  for (const int test : file.strength.tests) {
    const auto it = by_number.find(test);
    if (it == by_number.end() || !it->second->record) {
      unstored += (unstored.empty() ? "" : ", ") + integer(test);
      continue;
    }
    p.peak.points.push_back(strength_point(*it->second, way + 1, true));
    p.end.points.push_back(strength_point(*it->second, way + 4, false));
    p.tests.push_back(test);
  }
  if (!unstored.empty()) {
    notes.push_back(
        "Değerleri saklanmayan deney (çözümlemede saklı değerleriyle yer alır): " + unstored + ".");
  }
  bool any = false;
  for (const Series* s : {&p.peak, &p.end}) {
    for (const ChartPoint& q : s->points) {
      if (!std::isfinite(q.x) || !std::isfinite(q.y)) continue;
      p.x_high = any ? std::max(p.x_high, q.x) : q.x;
      p.x_low = std::min(p.x_low, q.x);
      any = true;
    }
  }
  return p;
}

Series line_series(std::string name, std::string_view colour, std::string dash) {
  Series s;
  s.name = std::move(name);
  s.colour = colour;
  s.dash = std::move(dash);
  s.marker = Marker::None;
  return s;
}

// Around the envelope with cohesion over the normal stresses tested: the band between the one-sided
// 95 % lower and upper bounds of the mean line, and the characteristic line, dashed.
void add_band(Chart& chart, const EnvelopeStatistics& e, const std::string& which,
              std::string_view colour) {
  if (e.missing != MissingStatistics::None) return;
  constexpr int kSteps = 24;
  Series band = line_series(which + ", %95 güven bandı", colour, "");
  band.filled = true;
  std::vector<ChartPoint> upper;
  for (int k = 0; k <= kSteps; ++k) {
    const double x = e.sigma_min + (e.sigma_max - e.sigma_min) * k / kSteps;
    const double mean = e.a + e.b * x;
    const double half = bound_half_width(e, x);
    band.points.push_back({static_cast<float>(x), static_cast<float>(mean - half), "", ""});
    upper.push_back({static_cast<float>(x), static_cast<float>(mean + half), "", ""});
  }
  band.points.insert(band.points.end(), upper.rbegin(), upper.rend());
  chart.series.push_back(std::move(band));

  Series characteristic =
      line_series(which + ", karakteristik" + (e.regional ? " (bölgesel)" : "") +
                      ": c = " + fixed_as("CK", static_cast<float>(e.c_k)) +
                      unit_suffix(catalogue::entry("CK").unit) +
                      ", φ = " + fixed_as("PHIK", static_cast<float>(e.phi_k)) + "°",
                  colour, "12 3 2 3");
  for (const double x : {e.sigma_min, e.sigma_max}) {
    characteristic.points.push_back(
        {static_cast<float>(x), static_cast<float>(e.c_k + e.tan_phi_k * x), "", ""});
  }
  chart.series.push_back(std::move(characteristic));
}

// Which envelopes of a case a chart draws, and whether its legend gives their values.
struct EnvelopeChoice {
  bool origin = true;    // through the origin
  bool cohesion = true;  // with cohesion
  bool band = false;     // around the one with cohesion: the 95 % band, the characteristic line
  bool power = true;     // the power law, where the second pass ran
  bool values = false;   // the legend gives c and phi to the precision a laboratory reports
  bool labels = false;   // each point labelled with its test's number
};

// The envelopes of one case over [x_low, x_high]: through the origin, with cohesion, and the
// power law where the second pass ran, as `choice` asks. Envelopes the data determine no value
// for are noted.
void add_envelopes(Chart& chart, const StrengthSnapshot& st, int c, const StrengthPoints& p,
                   std::string_view colour, const EnvelopeChoice& choice) {
  const CaseSnapshot& v = st.cases[static_cast<std::size_t>(c - 1)];
  const std::string which = c <= 3 ? "EN Y" : "DENEY SN";
  const float x0 = p.x_low;
  // The lines reach the end of the axis that the points alone would have.
  const float x1 = nice_axis(x0, p.x_high, 6).high;
  const auto not_drawn = [&](std::string_view envelope) {
    chart.notes.push_back(which + ", " + std::string(envelope) +
                          " kırılma çizgisi çizilmedi: YOK (veriler bir değer belirlemiyor).");
  };

  if (choice.origin && usable(v.PHIORG)) {
    const float m = tangent_of_degrees(v.PHIORG.value);
    Series s = line_series(
        which + ", orijinden" +
            (choice.values ? ": φ = " + fixed_as("PHIREP", v.PHIORG.value) + "°" : std::string()),
        colour, "");
    s.points = {{0, 0, "", ""}, {x1, m * x1, "", ""}};
    if (x0 < 0) s.points.insert(s.points.begin(), ChartPoint{x0, m * x0, "", ""});
    chart.series.push_back(std::move(s));
  } else if (choice.origin && v.PHIORG.state == AnalysisValue::State::Yok) {
    not_drawn("orijinden geçen");
  }

  if (choice.cohesion && usable(v.COHESN) && usable(v.PHILRG)) {
    const float m = tangent_of_degrees(v.PHILRG.value);
    const float cohesion = v.COHESN.value;
    Series s =
        line_series(which + (choice.values ? ": c = " + fixed_as("CREP", cohesion) +
                                                 unit_suffix(catalogue::entry("CREP").unit) +
                                                 ", φ = " + fixed_as("PHIREP", v.PHILRG.value) + "°"
                                           : std::string(", c ve φ")),
                    colour, "7 4");
    s.points = {{x0, cohesion + m * x0, "", ""}, {x1, cohesion + m * x1, "", ""}};
    chart.series.push_back(std::move(s));
    if (choice.band) add_band(chart, st.statistics[static_cast<std::size_t>(c - 1)], which, colour);
  } else if (choice.cohesion && (v.COHESN.state == AnalysisValue::State::Yok ||
                                 v.PHILRG.state == AnalysisValue::State::Yok)) {
    not_drawn("içyapışkanlıklı");
  }

  if (!choice.power || !st.second_pass) return;
  if (usable(v.ACONST) && usable(v.BEXPNT)) {
    Series s = line_series(which + ", üslü", colour, "2 3");
    constexpr int kSteps = 40;
    for (int k = 0; k <= kSteps; ++k) {
      const float x = x1 * static_cast<float>(k) / kSteps;
      const float y = k == 0 ? 0.0F : v.ACONST.value * rounded::pow(x, v.BEXPNT.value);
      if (k == 0 && !(v.BEXPNT.value > 0)) continue;
      s.points.push_back({x, y, "", ""});
    }
    chart.series.push_back(std::move(s));
  } else if (v.ACONST.state == AnalysisValue::State::Yok ||
             v.BEXPNT.state == AnalysisValue::State::Yok) {
    not_drawn("üslü");
  }
}

Chart envelope_chart_of(const FileSnapshot& file, int way, const EnvelopeChoice& choice) {
  Chart chart;
  chart.title = std::string(kWays[static_cast<std::size_t>(way)]);
  chart.x_label = "SIG, normal gerilme (" + std::string(catalogue::entry("SIGA").unit) + ")";
  chart.y_label = "TAU, kayma gerilmesi (" + std::string(catalogue::entry("TAUA").unit) + ")";
  chart.equal_scale = true;
  chart.with_origin = true;
  chart.plot_height = 340;
  StrengthPoints p = strength_points(file, way, chart.notes);
  add_envelopes(chart, file.strength, way + 1, p, kPeak, choice);
  add_envelopes(chart, file.strength, way + 4, p, kEnd, choice);
  for (std::size_t k = 0; choice.labels && k < p.tests.size(); ++k) {
    for (const Series* s : {&p.peak, &p.end}) {
      chart.callouts.push_back({s->points[k].x, s->points[k].y, integer(p.tests[k]), false});
    }
  }
  chart.series.insert(chart.series.begin(), {std::move(p.peak), std::move(p.end)});
  return chart;
}

// The series at a glance: the points of the true shear plane at the peak and at the end, each
// labelled with its test, the envelopes with cohesion with their band and characteristic line.
Chart main_envelope_chart(const FileSnapshot& file) {
  Chart chart = envelope_chart_of(file, 0, {false, true, true, false, true, true});
  chart.id = "seri-kirilma";
  chart.title = "Kırılma çizgileri: gerçek kesme düzlemi";
  return chart;
}

// The other envelopes, smaller: through the origin and the power law on the true plane, every
// envelope on the average plane and in the simple analysis.
std::vector<Chart> detail_envelope_charts(const FileSnapshot& file) {
  std::vector<Chart> charts{envelope_chart_of(file, 0, {true, false, false, true, false, false}),
                            envelope_chart_of(file, 1, {}), envelope_chart_of(file, 2, {})};
  for (std::size_t k = 0; k < charts.size(); ++k) {
    charts[k].id = "kirilma-" + integer(static_cast<long long>(k + 1));
    charts[k].width = 440;
    charts[k].plot_height = 260;
  }
  charts[0].title += ": orijinden geçen ve üslü";
  return charts;
}

std::string case_name(int c) {
  return std::string(kWays[static_cast<std::size_t>((c - 1) % 3)]) +
         (c <= 3 ? ", EN Y" : ", DENEY SN");
}

std::string regression_table(const StrengthSnapshot& st) {
  const auto heading = [](std::string_view name) {
    return "<th>" + std::string(name) + xml_text(unit_suffix(catalogue::entry(name).unit)) +
           "</th>";
  };
  std::string out = "<table><tr><th class=\"text\">Durum</th>";
  for (const char* name : {"CORZRO", "PHIORG", "COFCOR", "COHESN", "PHILRG"}) out += heading(name);
  if (st.second_pass) out += "<th>Üslü: KOREL.</th>" + heading("ACONST") + heading("BEXPNT");
  out += "</tr>";
  for (int c = 1; c <= NCASE; ++c) {
    const CaseSnapshot& v = st.cases[static_cast<std::size_t>(c - 1)];
    out += "<tr><td class=\"text\">" + integer(c) + ". " + xml_text(case_name(c)) + "</td>";
    const auto cell = [&](const AnalysisValue& a, std::string_view name) {
      out += "<td>" + xml_text(analysis_text(a, name)) + "</td>";
    };
    cell(v.CORZRO, "CORZRO");
    cell(v.PHIORG, "PHIORG");
    cell(v.COFCOR, "COFCOR");
    cell(v.COHESN, "COHESN");
    cell(v.PHILRG, "PHILRG");
    if (st.second_pass) {
      cell(v.COFLOG, "COFLOG");
      cell(v.ACONST, "ACONST");
      cell(v.BEXPNT, "BEXPNT");
    }
    out += "</tr>";
  }
  return out + "</table>";
}

// How sure each envelope is: the statistics of every case, the range they hold in, and why a
// case has none.
std::string statistics_part(const StrengthSnapshot& st) {
  std::string out = "<h3>Kırılma çizgilerinin güvenilirliği</h3>";
  const std::vector<Note> notes = statistics_notes(st);
  const bool none = st.statistics[0].missing == MissingStatistics::TooFewPoints;
  if (!none) {
    out += element(
        "p",
        "Raporun regresyonundaki noktalardan çift duyarlıkla: en küçük kareler doğrusu "
        "τ = c + tan φ · σ, standart hatalarıyla (SE), ve orijinden geçen doğru (RSQZRO "
        "merkezsiz). "
        "Karakteristik değerler (CK ve PHIK) ortalama doğrunun tek yönlü %95 alt sınırından "
        "bulunur; t, NFIT − 2 serbestlik dereceli Student dağılımından" +
            std::string(st.regional ? "; bölgesel veri kümesi: kökün altına 0,25·s² eklendi."
                                    : ".") +
            " Kırılma çizgileri yalnızca denenen normal gerilme aralığında (SIGMIN ile SIGMAX "
            "arası) geçerlidir.");
    if (st.IPARRG != 2 && st.IPARRG != 3 && st.IPARRG != 5) {
      out += element("p",
                     "Güven bandı ve karakteristik çizgi içyapışkanlıklı kırılma çizgisinin "
                     "çevresinde çizilir; PARREG bu çizgiyi seçmedi.");
    }
    static constexpr std::array<std::pair<const char*, double EnvelopeStatistics::*>, 18> kColumns{
        {{"CFIT", &EnvelopeStatistics::a},
         {"SECFIT", &EnvelopeStatistics::se_a},
         {"PHIFIT", &EnvelopeStatistics::phi},
         {"SEPHI", &EnvelopeStatistics::se_phi},
         {"TANFIT", &EnvelopeStatistics::b},
         {"SETAN", &EnvelopeStatistics::se_b},
         {"SFIT", &EnvelopeStatistics::s},
         {"RSQFIT", &EnvelopeStatistics::r_squared},
         {"TANZRO", &EnvelopeStatistics::b0},
         {"SETANZ", &EnvelopeStatistics::se_b0},
         {"PHIZRO", &EnvelopeStatistics::phi0},
         {"RSQZRO", &EnvelopeStatistics::r_squared0},
         {"SIGMIN", &EnvelopeStatistics::sigma_min},
         {"SIGMAX", &EnvelopeStatistics::sigma_max},
         {"TSTUD", &EnvelopeStatistics::t},
         {"CK", &EnvelopeStatistics::c_k},
         {"TANK", &EnvelopeStatistics::tan_phi_k},
         {"PHIK", &EnvelopeStatistics::phi_k}}};
    const auto heading = [](std::string_view name) {
      return "<th>" + std::string(name) + xml_text(unit_suffix(catalogue::entry(name).unit)) +
             "</th>";
    };
    out += "<table class=\"statistics\"><tr><th class=\"text\">Durum</th>" + heading("NFIT");
    for (const auto& [name, field] : kColumns) out += heading(name);
    out += "</tr>";
    for (int c = 1; c <= NCASE; ++c) {
      const EnvelopeStatistics& e = st.statistics[static_cast<std::size_t>(c - 1)];
      const bool given = e.missing == MissingStatistics::None;
      out += "<tr><td class=\"text\">" + integer(c) + ". " + xml_text(case_name(c)) + "</td><td>" +
             integer(e.n) + "</td>";
      for (const auto& [name, field] : kColumns) {
        out += "<td>" + (given ? fixed_as(name, static_cast<float>(e.*field)) : "—") + "</td>";
      }
      out += "</tr>";
    }
    out += "</table>";
  }
  for (const Note& note : notes) out += element("p", note.text);
  return out;
}

std::string triaxial_table(const StrengthSnapshot& st) {
  if (st.triaxial.empty()) {
    return element("p", "Üç eksenli deneyle karşılaştırma çizelgesi yazılmadı.");
  }
  // The report's headings of the four columns, with the units of AVPORG, CELORG, AVPCOH and
  // CELCOH.
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kColumns{{
      {"AVPORG", "ORT.AS.GERİL."},
      {"CELORG", "ÇEV.BAS."},
      {"AVPCOH", "ORT.AS.GERİL."},
      {"CELCOH", "ÇEV.BAS."},
  }};
  std::string out =
      "<div class=\"keep\"><h3>Üç eksenli deneyde, VTRM-dekine yakın ortalama asal gerilme veren "
      "çevre basıncı</h3>"
      "<table><tr><th rowspan=\"2\">Deney</th><th colspan=\"2\">Orijinden geçen kırılma "
      "çizgisine göre</th><th colspan=\"2\">İçyapışkanlık da varsayarak</th></tr><tr>";
  for (const auto& [name, heading] : kColumns) {
    out += "<th>" + xml_text(std::string(heading) + unit_suffix(catalogue::entry(name).unit)) +
           "</th>";
  }
  out += "</tr>";
  for (const TriaxialRow& r : st.triaxial) {
    out += "<tr><td>" + integer(r.test) + "</td>";
    const std::array<const AnalysisValue*, 4> values{&r.AVPORG, &r.CELORG, &r.AVPCOH, &r.CELCOH};
    for (std::size_t k = 0; k < kColumns.size(); ++k) {
      out += "<td>" + xml_text(analysis_text(*values[k], kColumns[k].first)) + "</td>";
    }
    out += "</tr>";
  }
  return out + "</table></div>";
}

// The envelopes of the analysis in detail: every envelope of every case in one table, how
// sure each is, the triaxial table and the smaller charts of the other envelopes.
std::string details_section(const FileSnapshot& file) {
  const StrengthSnapshot& st = file.strength;
  std::string out = "<section class=\"strength\" id=\"kayma-dayanimi\">";
  out += element("h2", "Kayma dayanımı: bütün kırılma çizgileri");
  out += element("p", "Çözümlemedeki deney sayısı: " + integer(st.NTESTS) + ".");
  append_notes(out, analysis_notes(st));
  if (!st.without_logarithm.empty()) {
    std::string tests;
    for (const int t : st.without_logarithm) tests += (tests.empty() ? "" : ", ") + integer(t);
    out += element("p",
                   "Üslü kırılma çizgisi hesaplanmadı: sıfır ya da eksi gerilmesi olduğundan "
                   "logaritması alınamayan deney: " +
                       tests + ".");
  }
  out += "<div class=\"keep\"><h3>Kırılma çizgileri</h3>" + regression_table(st) + "</div>";
  out += "<div class=\"keep\">" + statistics_part(st) + "</div>" + triaxial_table(st);
  out += "<div class=\"keep\"><h3>Öteki kırılma çizgileri</h3><div class=\"charts small\">";
  for (const Chart& chart : detail_envelope_charts(file)) append_chart_figure(out, chart);
  return out + "</div></div></section>\n";
}

std::string status_text(int status) {
  switch (status) {
    case 0:
      return "normal bitti";
    case 1:
      return "değerlendirme erken bitti";
    default:
      return "okuma hatasıyla durdu";
  }
}

// A file name without the folders before it.
std::string base_name(const std::string& name) {
  const std::string text = file_name_text(name);
  const std::size_t slash = text.find_last_of("/\\");
  return slash == std::string::npos ? text : text.substr(slash + 1);
}

// "4 (3 değerlendirildi, 1 değerlendirilemedi)": the tests of the file by how each ended.
std::string tests_text(const FileSnapshot& file) {
  std::string out = integer(static_cast<long long>(file.tests.size()));
  std::string kinds;
  for (const TestKind kind :
       {TestKind::Evaluated, TestKind::CheckOnly, TestKind::Refused, TestKind::IterationLimit}) {
    const auto n = std::count_if(file.tests.begin(), file.tests.end(),
                                 [&](const TestSnapshot& t) { return t.kind == kind; });
    if (n == 0) continue;
    kinds += (kinds.empty() ? "" : ", ") + integer(n) + " " + kind_text(kind);
  }
  return kinds.empty() ? out : out + " (" + kinds + ")";
}

// Why the strength analysis did not run, in the order the run decides it.
std::string no_analysis_reason(const FileSnapshot& file) {
  std::string reason;
  for (const TestSnapshot& t : file.tests) {
    if (t.kind == TestKind::Refused || t.kind == TestKind::IterationLimit) {
      return "Kayma dayanımı çözümlemesi yapılmadı: deney " + integer(t.test) + " " +
             (t.kind == TestKind::Refused ? "değerlendirilemediği"
                                          : "iterasyon sınırında durduğu") +
             " için değerlendirme erken bitti.";
    }
  }
  if (file.exit_status == 2) {
    return "Kayma dayanımı çözümlemesi yapılmadı: veri dosyası sonuna kadar okunamadı.";
  }
  const auto evaluated = std::find_if(file.tests.begin(), file.tests.end(),
                                      [](const auto& t) { return t.kind == TestKind::Evaluated; });
  if (evaluated == file.tests.end()) {
    return "Kayma dayanımı çözümlemesi yapılmadı: değerlendirilen deney yok.";
  }
  if (const std::optional<float> PARREG = setup_value(*evaluated, "PARREG");
      PARREG && !(*PARREG > 0)) {
    return "Kayma dayanımı çözümlemesi yapılmadı: PARREG 0, çözümleme istenmedi.";
  }
  return "Kayma dayanımı çözümlemesi yapılmadı: en az iki deney gerekir, çözümlemeye giren deney "
         "sayısı " +
         integer(file.strength.NTESTS) + ".";
}

// A number of the series file, with `decimals` decimals.
std::string identity_number(double value, int decimals) {
  std::array<char, 32> buffer;
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::fixed, decimals);
  return {buffer.data(), result.ptr};
}

// The dates of the tests: one date, or the first and the last.
std::string test_dates(const Identity& identity) {
  std::vector<std::string> dates;
  for (const SpecimenIdentity& s : identity.specimens) {
    if (!s.test_date.empty()) dates.push_back(s.test_date);
  }
  if (dates.empty()) return {};
  std::sort(dates.begin(), dates.end());
  return dates.front() == dates.back() ? dates.front() : dates.front() + " – " + dates.back();
}

std::string depth_text(const SampleIdentity& sample) {
  if (sample.top && sample.base) {
    return identity_number(*sample.top, 2) + " – " + identity_number(*sample.base, 2) + " m";
  }
  if (sample.top) return identity_number(*sample.top, 2) + " m";
  return {};
}

// What was tested, as the series file names it; nothing when it names nothing.
std::string identity_block(const Identity& identity) {
  if (!identity.given()) return {};
  std::string out = "<dl class=\"identity\">";
  const auto row = [&](std::string_view name, const std::string& value) {
    if (!value.empty()) out += "<dt>" + xml_text(name) + "</dt><dd>" + xml_text(value) + "</dd>";
  };
  const ProjectIdentity& project = identity.project;
  row("Proje", project.id.empty() || project.name.empty() ? project.id + project.name
                                                          : project.id + " – " + project.name);
  row("Yer", project.location);
  row("İşveren", project.client);
  const LocationIdentity& location = identity.location;
  row("Sondaj", location.type.empty() ? location.id : location.id + " (" + location.type + ")");
  const SampleIdentity& sample = identity.sample;
  std::string sample_text = sample.ref;
  if (!sample.type.empty()) sample_text += (sample_text.empty() ? "" : ", ") + sample.type;
  if (!sample.id.empty()) sample_text += (sample_text.empty() ? "" : ", ") + sample.id;
  row("Örnek", sample_text);
  row("Derinlik", depth_text(sample));
  row("Tanım", sample.description);
  row("Deney tarihi", test_dates(identity));
  row("Laboratuvar", identity.laboratory);
  row("Yöntem", identity.method);
  row("Deneyi yapan", identity.operated_by);
  row("Denetleyen", identity.checked_by);
  return out + "</dl>";
}

// The specimen of each evaluated test in one row: set-up values as the echo prints them, the
// stresses and displacements of the peak and end readings as Table 1 (or the summary table)
// prints them.
constexpr std::array<std::string_view, 8> kSpecimenColumns{"DIAIN",  "ALFA",   "HTLOWS", "WCINL",
                                                           "DENSOL", "DDENSL", "VOIDR",  "SATINL"};
constexpr std::array<Quantity, 4> kAtReading{Quantity::TNSAVE, Quantity::SS, Quantity::UBAR,
                                             Quantity::VBAR};

std::string specimen_table(const FileSnapshot& file) {
  std::vector<const TestSnapshot*> tests;
  for (const TestSnapshot& t : file.tests) {
    if (t.kind == TestKind::Evaluated) tests.push_back(&t);
  }
  if (tests.empty()) return {};
  std::vector<std::string_view> columns;
  for (const std::string_view name : kSpecimenColumns) {
    if (std::any_of(tests.begin(), tests.end(),
                    [&](const TestSnapshot* t) { return setup_value(*t, name).has_value(); })) {
      columns.push_back(name);
    }
  }
  const std::vector<SpecimenIdentity>& specimens = file.identity.specimens;
  const bool refs = std::any_of(specimens.begin(), specimens.end(),
                                [](const SpecimenIdentity& s) { return !s.ref.empty(); });
  std::string out = "<h3>Numuneler</h3><table class=\"specimens\"><tr><th colspan=\"" +
                    integer(static_cast<long long>(columns.size() + (refs ? 2 : 1))) +
                    "\">Numune</th><th colspan=\"4\">En yüksek dayanımda (IMAXP)</th>"
                    "<th colspan=\"4\">Deney sonunda (IEND)</th></tr><tr><th>Deney</th>";
  if (refs) out += "<th class=\"text\">Numune adı</th>";
  const auto heading = [](std::string_view name, std::string_view unit) {
    return "<th>" + xml_text(name) + xml_text(unit_suffix(unit)) + "</th>";
  };
  for (const std::string_view name : columns) out += heading(name, catalogue::entry(name).unit);
  for (int twice = 0; twice < 2; ++twice) {
    for (const Quantity q : kAtReading) out += heading(info(q).name, info(q).unit);
  }
  out += "</tr>";
  for (const TestSnapshot* t : tests) {
    out += "<tr><td>" + integer(t->test) + "</td>";
    if (refs) {
      const auto k = static_cast<std::size_t>(t->test - 1);
      out += "<td class=\"text\">" + (k < specimens.size() ? xml_text(specimens[k].ref) : "") +
             "</td>";
    }
    for (const std::string_view name : columns) {
      const std::optional<float> v = setup_value(*t, name);
      out += "<td>" + (v ? xml_text(fixed_as(name, *v)) : "") + "</td>";
    }
    for (const int reading : {t->IMAXP, t->IEND}) {
      for (const Quantity q : kAtReading) {
        const std::optional<float> v = reading_value(*t, reading, q);
        out += "<td>" + (v ? xml_text(fixed(*v, printed_decimals(*t, q))) : "") + "</td>";
      }
    }
    out += "</tr>";
  }
  return out + "</table>";
}

// c and phi of the peak and end envelopes on the true plane, as a laboratory reports them, with
// the characteristic values.
std::string envelope_summary(const StrengthSnapshot& st) {
  std::string out =
      "<table class=\"summary\"><tr><th class=\"text\">Gerçek kesme düzlemi</th><th>c" +
      xml_text(unit_suffix(catalogue::entry("CREP").unit)) + "</th><th>φ (°)</th><th>c_k" +
      xml_text(unit_suffix(catalogue::entry("CK").unit)) + "</th><th>φ_k (°)</th></tr>";
  for (const int c : {1, 4}) {
    const CaseSnapshot& v = st.cases[static_cast<std::size_t>(c - 1)];
    const EnvelopeStatistics& e = st.statistics[static_cast<std::size_t>(c - 1)];
    const bool given = e.missing == MissingStatistics::None;
    const auto cell = [](const AnalysisValue& a, std::string_view name) {
      return "<td>" + (usable(a) ? fixed_as(name, a.value) : std::string("—")) + "</td>";
    };
    out += "<tr><th class=\"text\">" + std::string(c == 1 ? "En yüksek dayanım" : "Deney sonu") +
           "</th>" + cell(v.COHESN, "CREP") + cell(v.PHILRG, "PHIREP");
    out += "<td>" + (given ? fixed_as("CK", static_cast<float>(e.c_k)) : "—") + "</td><td>" +
           (given ? fixed_as("PHIK", static_cast<float>(e.phi_k)) : "—") + "</td></tr>";
  }
  return out + "</table>";
}

// The series at a glance: what was tested, the specimens, the curves of every test together
// and the envelopes of the true shear plane.
std::string series_section(const FileSnapshot& file) {
  std::string out = "<section class=\"series\" id=\"seri\">";
  out += element("h2", "Seri");
  if (!file.strength.ran && file.tests.size() > 1) {
    out += element("p", no_analysis_reason(file), "message");
  }
  out += specimen_table(file);
  if (std::count_if(file.tests.begin(), file.tests.end(), plotted_in_series) > 1) {
    out += "<div class=\"charts\">";
    for (const Chart& chart : overlay_charts(file)) append_chart_figure(out, chart);
    out += "</div>";
  }
  if (file.strength.ran) {
    out += "<div class=\"charts\">";
    append_chart_figure(out, main_envelope_chart(file));
    out += "<div>" + envelope_summary(file.strength) +
           element("p",
                   "c ve φ: içyapışkanlıklı kırılma çizgisi; c_k ve φ_k: karakteristik değerler. "
                   "Raporun değerleri ve öteki kırılma çizgileri sonraki bölümde.") +
           "</div></div>";
  }
  return out + "</section>\n";
}

std::string header(const FileSnapshot& file, const PageInfo& info) {
  const std::string data = base_name(file.data_file);
  std::string out = element("h1", "Kesme deneyleri: " + data);
  out += "<div class=\"top\"><table class=\"run\">";
  const auto row = [&](std::string_view name, std::string_view value) {
    out += "<tr><th class=\"text\">" + xml_text(name) + "</th><td class=\"text\">" +
           xml_text(value) + "</td></tr>";
  };
  row("Veri dosyası", data);
  row("Rapor dosyası", base_name(file.report_file));
  row("Çalışma tarihi", date_text(info.run_time));
  row("Program sürümü", info.version.empty() ? "—" : info.version);
  row("Deney sayısı", tests_text(file));
  row("Çalışma", status_text(file.exit_status));
  out += "</table>" + identity_block(file.identity) + "</div><ul class=\"contents\">";
  for (const TestSnapshot& t : file.tests) {
    out += "<li><a href=\"#deney-" + integer(t.test) + "\">Deney " + integer(t.test) +
           "</a>: " + xml_text(kind_text(t.kind)) + "</li>";
  }
  if (file.strength.ran) {
    out += "<li><a href=\"#kayma-dayanimi\">Kayma dayanımı: bütün kırılma çizgileri</a></li>";
  }
  return out + "</ul>";
}

// Text as a CSS string: every character but letters, digits and a few signs as an escape, so
// that neither the string nor the page's XML can be broken out of.
std::string css_string(std::string_view utf8) {
  std::string out = "\"";
  for (std::size_t k = 0; k < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[k]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length && k + i < utf8.size(); ++i) {
      code = (code << 6) | (static_cast<unsigned char>(utf8[k + i]) & 0x3F);
    }
    k += length;
    if (code < 0x80 && (std::isalnum(static_cast<int>(code)) != 0 || code == ' ' || code == '.' ||
                        code == '-' || code == '_')) {
      out += static_cast<char>(code);
      continue;
    }
    std::array<char, 8> hex;
    const auto result = std::to_chars(hex.data(), hex.data() + hex.size(),
                                      static_cast<std::uint32_t>(code < 0x20 ? 0xFFFD : code), 16);
    out += "\\";
    out.append(hex.data(), result.ptr);
    out += ' ';
  }
  return out + "\"";
}

// The sample of the page's running header: as the series file names it, or the first title of
// the first test.
std::string sample_text(const FileSnapshot& file) {
  const SampleIdentity& sample = file.identity.sample;
  if (!sample.ref.empty() || !sample.id.empty()) {
    const std::string depth = depth_text(sample);
    return (sample.ref.empty() ? sample.id : sample.ref) + (depth.empty() ? "" : ", " + depth);
  }
  if (file.tests.empty()) return {};
  std::string title = title_text(file.tests.front().titles[0]);
  title.erase(0, title.find_first_not_of(' '));
  return title;
}

// On every printed page: the data file's name and the sample at the top left, the page number
// at the top right.
std::string running_header(const FileSnapshot& file) {
  const std::string sample = sample_text(file);
  return "@page { @top-left { content: " +
         css_string(base_name(file.data_file) + (sample.empty() ? "" : " — " + sample)) +
         "; font: 8pt sans-serif; color: #555; } @top-right { content: \"Sayfa \" counter(page) "
         "\" / \" counter(pages); font: 8pt sans-serif; color: #555; } }\n";
}

}  // namespace

std::int64_t run_time_now() {
  if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch != nullptr) {
    std::int64_t seconds = 0;
    const std::string_view text(epoch);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (error == std::errc() && end == text.data() + text.size()) return seconds;
  }
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

std::string html_page(const FileSnapshot& file, const PageInfo& info) {
  std::string out;
  // About 26 kB for a test of 40 readings.
  out.reserve(8192 + file.tests.size() * 32768);
  out +=
      "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"tr\">\n<head>\n"
      "<meta charset=\"utf-8\"/>\n<title>";
  out += xml_text("Kesme deneyleri: " + base_name(file.data_file));
  out += "</title>\n<style>";
  out += kStyle;
  out += kChartStyle;
  out += running_header(file);
  out += "</style>\n</head>\n<body>\n<header>";
  out += header(file, info);
  out += "</header>\n";
  out += series_section(file);
  if (file.strength.ran) out += details_section(file);
  for (const TestSnapshot& t : file.tests) append_test_section(out, t);
  out += "</body>\n</html>\n";
  return out;
}

}  // namespace ostrevik::exports
