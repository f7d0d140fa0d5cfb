#include "export/notes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <optional>
#include <string_view>

#include "catalogue/catalogue.h"
#include "export/markup.h"

namespace ostrevik::exports {
namespace {

// The limits of the notes, each named once. A note says that a value lies beyond what the
// apparatus and the soils it is built for give; the numbers are generous on purpose, so that a
// sound test never gets one.
namespace limit {
// Mould wall (DIAOUT - DIAIN) / 2, cm: the steel moulds of the apparatus have walls of a few
// millimetres to about a centimetre; below 2 mm or above 2 cm one of the diameters is mistyped.
constexpr float WALL_MIN = 0.2F;
constexpr float WALL_MAX = 2.0F;
// Bulk density DENSOL, g/cm3: from loose organic soils (about 1.2) to dense gravelly soils
// (about 2.5); beyond that the specimen mass, the diameter or the height is wrong.
constexpr float DENSITY_MIN = 1.2F;
constexpr float DENSITY_MAX = 2.6F;
// Degree of saturation SATINL (a ratio): a few per cent above full saturation are within the
// errors of GS and WCINL; more means one of them is wrong.
constexpr float SATURATION_MAX = 1.05F;
// Void ratio VOIDR: dense sands reach about 0.3, soft clays about 2.5.
constexpr float VOID_RATIO_MIN = 0.2F;
constexpr float VOID_RATIO_MAX = 3.0F;
// Load reading: a reading farther than this share of the test's load range (largest minus
// smallest P) from both neighbours, which agree with each other within the same share, is a
// typing slip (a digit lost or a field shifted by a column), not a change of the load.
constexpr float LOAD_JUMP_SHARE = 0.5F;
// Gauge slip: a horizontal, vertical or top-cap reading that departs from the line of its two
// neighbours (at its time) by more than each of three limits; a digit added, lost or shifted, a
// decimal slip or 100 divisions too many go far beyond all three.
// - GAUGE_SLIP_SCATTER times the test's own scatter, the median departure of the gauge's
//   readings from their neighbours' line: sound readings reach 8 times it where the scatter is a
//   fraction of a division.
// - GAUGE_SLIP_STEP times the gauge's median step from reading to reading: sound readings depart
//   by at most a fifth of a step, while 100 divisions are 1.6 steps or more at the steps of 20 to
//   62 divisions the gauges take; a misreading by part of a step is left to the readings check.
// - GAUGE_SLIP_DIVISIONS divisions (0.2 mm at 0.001 cm a division): gauges are read to half a
//   division, and a reading near its neighbours' line within that much is no typing slip.
constexpr float GAUGE_SLIP_SCATTER = 10.0F;
constexpr float GAUGE_SLIP_STEP = 1.0F;
constexpr float GAUGE_SLIP_DIVISIONS = 20.0F;
// Peak shear stress SS(IMAXP), kPa: below 1 kPa the load gauge or its constant is wrong, or
// the specimen never took load.
constexpr float PEAK_SHEAR_MIN = 1.0F;
// Strength analysis: an envelope through fewer tests says little about the soil.
constexpr int ANALYSIS_TESTS_MIN = 3;
// Friction angles of soils lie between 0 and about 50 degrees; 60 leaves room for dense
// gravels and rockfill.
constexpr float FRICTION_ANGLE_MIN = 0.0F;
constexpr float FRICTION_ANGLE_MAX = 60.0F;
// Correlation of an envelope with the points of a test series on one soil.
constexpr float CORRELATION_MIN = 0.95F;
// Tested normal stresses that span less than this factor fix the slope of the envelope poorly:
// its cohesion and friction angle trade off against each other.
constexpr double NORMAL_STRESS_SPAN_MIN = 2.0;
}  // namespace limit

// A value as the report rounds it; one that could not be computed shows as the report's
// asterisks, which read the same on every console.
std::string number(float value, int decimals) {
  return std::isfinite(value) ? fixed(value, decimals) : "****";
}

// A value of the catalogue's quantity `name` with its decimals.
std::string number_of(std::string_view name, float value) {
  return number(value, catalogue::entry(name).decimals);
}

// " kPa": the unit of the catalogue's quantity `name` after a blank, or nothing.
std::string unit_of(std::string_view name) {
  const std::string_view unit = catalogue::entry(name).unit;
  std::string text;
  if (!unit.empty()) {
    text += ' ';
    text += unit;
  }
  return text;
}

// "DENSOL = 1.212 g/cc"
std::string named(std::string_view name, float value) {
  return std::string(name) + " = " + number_of(name, value) + unit_of(name);
}

bool outside(float value, float low, float high) {
  return !(value >= low && value <= high);
}

void specimen_notes(const TestSnapshot& t, std::vector<Note>& notes) {
  const auto note = [&](std::string text) { notes.push_back({t.test, 0, std::move(text)}); };
  const std::optional<float> DIAIN = setup_value(t, "DIAIN");
  const std::optional<float> DIAOUT = setup_value(t, "DIAOUT");
  if (DIAIN && DIAOUT) {
    const float wall = (*DIAOUT - *DIAIN) / 2.0F;
    if (outside(wall, limit::WALL_MIN, limit::WALL_MAX)) {
      note("Kalıp duvarı (DIAOUT - DIAIN) / 2 = " + number_of("DIAIN", wall) + unit_of("DIAIN") +
           ", " + number(limit::WALL_MIN, 1) + " ile " + number(limit::WALL_MAX, 1) +
           unit_of("DIAIN") + " arasında değil: DIAIN ve DIAOUT değerlerini denetleyiniz.");
    }
  }
  if (const std::optional<float> DENSOL = setup_value(t, "DENSOL");
      DENSOL && outside(*DENSOL, limit::DENSITY_MIN, limit::DENSITY_MAX)) {
    note("Birim hacim ağırlık " + named("DENSOL", *DENSOL) + ", " + number(limit::DENSITY_MIN, 1) +
         " ile " + number(limit::DENSITY_MAX, 1) +
         " arasında değil: WSPPTM, DIAIN ve kalıp yüksekliklerini denetleyiniz.");
  }
  if (const std::optional<float> SATINL = setup_value(t, "SATINL");
      SATINL && !(*SATINL <= limit::SATURATION_MAX)) {
    note("Doygunluk derecesi " + named("SATINL", *SATINL) + ", %" +
         number(limit::SATURATION_MAX * 100.0F, 0) +
         " değerinden büyük: WCINL ve GS değerlerini denetleyiniz.");
  }
  if (const std::optional<float> VOIDR = setup_value(t, "VOIDR");
      VOIDR && outside(*VOIDR, limit::VOID_RATIO_MIN, limit::VOID_RATIO_MAX)) {
    note("Boşluk oranı " + named("VOIDR", *VOIDR) + ", " + number(limit::VOID_RATIO_MIN, 1) +
         " ile " + number(limit::VOID_RATIO_MAX, 1) +
         " arasında değil: WCINL, GS ve WSPPTM değerlerini denetleyiniz.");
  }
}

// The gauge whose rate jumped at a reading that the readings check flags.
std::string_view suspect_gauge(const SuspectReading& row) {
  if (row.HIGHDX != 0.0F) return "yatay kayma göstergesi (DXABS)";
  if (row.HIGHTL != 0.0F) return "başlık göstergesi (DTMLP2)";
  return "düşey kayma göstergesi (DY1ABS)";
}

void flagged_notes(const TestSnapshot& t, std::vector<Note>& notes) {
  if (t.kind != TestKind::Evaluated) return;  // a check-only test has the check's own table
  for (const SuspectReading& row : t.flagged) {
    notes.push_back({t.test, row.reading,
                     "Okuma denetimi: " + std::string(suspect_gauge(row)) +
                         " bu okumada tek bir yanlış değer gösteriyor; okumayı denetleyiniz."});
  }
}

float value(const TestSnapshot& t, int reading, Quantity q) {
  return t.readings.at(static_cast<std::size_t>(reading - 1)).value[static_cast<std::size_t>(q)];
}

void clock_notes(const TestSnapshot& t, std::vector<Note>& notes) {
  const int n = static_cast<int>(t.readings.size());
  for (int i = 2; i <= n; ++i) {
    const float before = value(t, i - 1, Quantity::T);
    const float now = value(t, i, Quantity::T);
    if (now < before) {
      notes.push_back({t.test, i,
                       "Saat geri gidiyor: " + named("T", now) + ", önceki okumada " +
                           number_of("T", before) + unit_of("T") +
                           ". Gece yarısından sonraki okumalarda saati 24, 25, ... diye "
                           "sürdürünüz."});
    }
  }
}

void load_notes(const TestSnapshot& t, std::vector<Note>& notes) {
  const int n = static_cast<int>(t.readings.size());
  if (n < 3) return;
  float low = value(t, 1, Quantity::P);
  float high = low;
  for (int i = 2; i <= n; ++i) {
    low = std::min(low, value(t, i, Quantity::P));
    high = std::max(high, value(t, i, Quantity::P));
  }
  const float jump = (high - low) * limit::LOAD_JUMP_SHARE;
  if (!(jump > 0.0F)) return;
  for (int i = 2; i < n; ++i) {
    const float before = value(t, i - 1, Quantity::P);
    const float now = value(t, i, Quantity::P);
    const float after = value(t, i + 1, Quantity::P);
    if (std::fabs(now - before) > jump && std::fabs(now - after) > jump &&
        std::fabs(after - before) <= jump) {
      notes.push_back({t.test, i,
                       "Yük okuması " + named("P", now) + " iki komşusundan (" +
                           number_of("P", before) + " ve " + number_of("P", after) + unit_of("P") +
                           ") çok farklı: bir basamak ya da sütun kaymış olabilir."});
    }
  }
}

// A gauge that the gauge-slip notes watch: its name in the notes and its readings as typed.
struct WatchedGauge {
  std::string_view name;
  float GaugeReading::*divisions;
};

constexpr std::array<WatchedGauge, 3> kWatchedGauges{{
    {"yatay kayma göstergesi (DXABS)", &GaugeReading::DXABS},
    {"düşey kayma göstergesi (DY1ABS)", &GaugeReading::DY1ABS},
    {"başlık göstergesi (DTMLP2)", &GaugeReading::DTMLP2},
}};

float median(std::vector<float> values) {
  const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}

// The value of a gauge at reading i (from 2 to n - 1) that the line of its two neighbours
// suggests, at the reading's time; midway where the clock gives no order.
float suggested_value(const std::vector<GaugeReading>& g, float GaugeReading::*v, std::size_t i) {
  const GaugeReading& before = g[i - 1];
  const GaugeReading& after = g[i + 1];
  const float span = after.T - before.T;
  float share = 0.5F;
  if (span > 0.0F) share = std::clamp((g[i].T - before.T) / span, 0.0F, 1.0F);
  return before.*v + (after.*v - before.*v) * share;
}

void gauge_slip_notes(const TestSnapshot& t, const WatchedGauge& gauge, std::vector<Note>& notes) {
  const std::vector<GaugeReading>& g = t.gauges;
  const std::size_t n = g.size();
  if (n < 5) return;  // too few readings for a scatter of their own
  const auto finite = [&](const GaugeReading& r) { return std::isfinite(r.*gauge.divisions); };
  if (!std::all_of(g.begin(), g.end(), finite)) return;
  std::vector<float> suggested(n, 0.0F);
  std::vector<float> departure(n, 0.0F);
  std::vector<float> steps;
  for (std::size_t i = 1; i < n; ++i) {
    steps.push_back(std::fabs(g[i].*gauge.divisions - g[i - 1].*gauge.divisions));
  }
  for (std::size_t i = 1; i + 1 < n; ++i) {
    suggested[i] = suggested_value(g, gauge.divisions, i);
    departure[i] = std::fabs(g[i].*gauge.divisions - suggested[i]);
  }
  const float scatter = median({departure.begin() + 1, departure.end() - 1});
  const float least =
      std::max({limit::GAUGE_SLIP_SCATTER * scatter, limit::GAUGE_SLIP_STEP * median(steps),
                limit::GAUGE_SLIP_DIVISIONS});
  for (std::size_t i = 1; i + 1 < n; ++i) {
    // A slip also moves the line of its neighbours: the note goes to the larger departure.
    if (!(departure[i] > least) || departure[i] < departure[i - 1] ||
        departure[i] < departure[i + 1]) {
      continue;
    }
    const int reading = static_cast<int>(i) + 1;
    notes.push_back(
        {t.test, reading,
         "Gösterge okuması: " + std::string(gauge.name) + " " + number(g[i].*gauge.divisions, 1) +
             " bölüm okunmuş, komşu okumalar " + number(suggested[i], 1) +
             " bölüm gösteriyor: bir basamak yanlış, eksik ya da fazla yazılmış olabilir."});
  }
}

void gauge_slip_notes(const TestSnapshot& t, std::vector<Note>& notes) {
  for (const WatchedGauge& gauge : kWatchedGauges) gauge_slip_notes(t, gauge, notes);
}

void result_notes(const TestSnapshot& t, std::vector<Note>& notes) {
  if (t.kind != TestKind::Evaluated || t.IMAXP < 1 || t.readings.empty()) return;
  if (t.IMAXP == t.NREAD) {
    notes.push_back({t.test, t.IMAXP,
                     "En yüksek dayanım son okumada: deney kırılmadan önce durdurulmuş "
                     "olabilir."});
  }
  const float peak = value(t, t.IMAXP, Quantity::SS);
  if (!(peak >= limit::PEAK_SHEAR_MIN)) {
    notes.push_back({t.test, t.IMAXP,
                     "En yüksek dayanımda kayma gerilmesi " + named("SS", peak) + ", " +
                         number(limit::PEAK_SHEAR_MIN, 0) + unit_of("SS") +
                         " değerinden küçük: yük okumalarını ve GRSLO değerini denetleyiniz."});
  }
}

constexpr std::array<std::string_view, NCASE> kCaseNames{
    "gerçek kesme düzlemi, en yüksek dayanım", "ortalama kesme düzlemi, en yüksek dayanım",
    "basit analiz, en yüksek dayanım",         "gerçek kesme düzlemi, deney sonu",
    "ortalama kesme düzlemi, deney sonu",      "basit analiz, deney sonu"};

std::optional<float> computed(const AnalysisValue& v) {
  if (v.state != AnalysisValue::State::Number) return std::nullopt;
  return v.value;
}

void case_notes(std::size_t k, const CaseSnapshot& c, std::vector<Note>& notes) {
  const std::string where =
      "Durum " + std::to_string(k + 1) + " (" + std::string(kCaseNames[k]) + "): ";
  const auto note = [&](std::string text) { notes.push_back({0, 0, where + text}); };
  if (const auto COHESN = computed(c.COHESN); COHESN && *COHESN < 0.0F) {
    note("kohezyon " + named("COHESN", *COHESN) + " negatif.");
  }
  for (const auto& [name, angle] :
       {std::pair{"PHIORG", computed(c.PHIORG)}, std::pair{"PHILRG", computed(c.PHILRG)}}) {
    if (angle && outside(*angle, limit::FRICTION_ANGLE_MIN, limit::FRICTION_ANGLE_MAX)) {
      note("içsel sürtünme açısı " + named(name, *angle) + ", " +
           number(limit::FRICTION_ANGLE_MIN, 0) + " ile " + number(limit::FRICTION_ANGLE_MAX, 0) +
           " derece arasında değil.");
    }
  }
  // The envelope through the origin fits the points of a soil with cohesion less well by
  // nature: its correlation is judged only where it is the one envelope of the analysis.
  const bool with_cohesion = c.COFCOR.state != AnalysisValue::State::NotComputed;
  const auto [name, r] = with_cohesion ? std::pair{"COFCOR", computed(c.COFCOR)}
                                       : std::pair{"CORZRO", computed(c.CORZRO)};
  if (r && !(*r >= limit::CORRELATION_MIN)) {
    note("korelasyon katsayısı " + named(name, *r) + ", " + number(limit::CORRELATION_MIN, 2) +
         " değerinden küçük: noktalar doğruya iyi uymuyor.");
  }
}

std::string_view missing_reason(MissingStatistics missing) {
  switch (missing) {
    case MissingStatistics::NonfiniteStress:
      return "bir noktanın gerilmesi hesaplanamadı";
    case MissingStatistics::EqualNormalStresses:
      return "normal gerilmelerin hepsi eşit";
    case MissingStatistics::ExactFit:
      return "noktalar tam bir doğru üzerinde, saçılım ölçülemiyor";
    case MissingStatistics::TooFewPoints:
    case MissingStatistics::None:
      break;
  }
  return "en az üç nokta gerekir";
}

void case_statistics_notes(std::size_t k, const EnvelopeStatistics& e, std::vector<Note>& notes) {
  const std::string where =
      "Durum " + std::to_string(k + 1) + " (" + std::string(kCaseNames[k]) + "): ";
  if (e.missing != MissingStatistics::None) {
    notes.push_back(
        {0, 0, where + "istatistik verilmedi: " + std::string(missing_reason(e.missing)) + "."});
    return;
  }
  if (e.sigma_min > 0.0 && e.sigma_max < limit::NORMAL_STRESS_SPAN_MIN * e.sigma_min) {
    notes.push_back({0, 0,
                     where + "denenen normal gerilmeler " +
                         named("SIGMIN", static_cast<float>(e.sigma_min)) + " ile " +
                         named("SIGMAX", static_cast<float>(e.sigma_max)) +
                         " arasında, iki kattan dar: c ve φ birbirinden iyi ayrılamaz."});
  }
}

}  // namespace

std::vector<Note> statistics_notes(const StrengthSnapshot& strength) {
  std::vector<Note> notes;
  if (!strength.ran) return notes;
  if (strength.statistics[0].missing == MissingStatistics::TooFewPoints) {
    notes.push_back({0, 0,
                     "Kırılma çizgilerinin istatistikleri verilmedi: en az üç nokta gerekir, "
                     "analizde " +
                         std::to_string(strength.statistics[0].n) + " nokta var."});
    return notes;
  }
  for (std::size_t k = 0; k < NCASE; ++k) case_statistics_notes(k, strength.statistics[k], notes);
  return notes;
}

std::vector<Note> test_notes(const TestSnapshot& test) {
  std::vector<Note> notes;
  if (test.kind == TestKind::Refused) return notes;
  specimen_notes(test, notes);
  flagged_notes(test, notes);
  clock_notes(test, notes);
  load_notes(test, notes);
  gauge_slip_notes(test, notes);
  result_notes(test, notes);
  std::stable_sort(notes.begin(), notes.end(),
                   [](const Note& a, const Note& b) { return a.reading < b.reading; });
  return notes;
}

std::vector<Note> analysis_notes(const StrengthSnapshot& strength) {
  std::vector<Note> notes;
  if (!strength.ran) return notes;
  if (strength.NTESTS < limit::ANALYSIS_TESTS_MIN) {
    notes.push_back({0, 0,
                     "Analizde yalnızca " + std::to_string(strength.NTESTS) +
                         " deney var: zarf en az " + std::to_string(limit::ANALYSIS_TESTS_MIN) +
                         " deneyle anlam kazanır."});
  }
  for (std::size_t k = 0; k < NCASE; ++k) case_notes(k, strength.cases[k], notes);
  return notes;
}

std::vector<Note> file_notes(const FileSnapshot& file) {
  std::vector<Note> notes;
  for (const TestSnapshot& test : file.tests) {
    std::vector<Note> of_test = test_notes(test);
    notes.insert(notes.end(), of_test.begin(), of_test.end());
  }
  std::vector<Note> of_analysis = analysis_notes(file.strength);
  notes.insert(notes.end(), of_analysis.begin(), of_analysis.end());
  return notes;
}

std::string note_line(const Note& note) {
  std::string line = note.test == 0 ? "ANALİZ" : "DENEY " + std::to_string(note.test);
  if (note.reading > 0) line += ", OKUMA " + std::to_string(note.reading);
  return line + ": " + note.text;
}

}  // namespace ostrevik::exports
