#include "export/snapshot.h"

#include <cmath>
#include <utility>
#include <variant>

#include "codec/cp857.h"

namespace ostrevik::exports {
namespace {

using Q = Quantity;

// Where a per-reading quantity is kept in the run.
using Array = std::variant<RArr Readings::*, IArr Readings::*, RArr Results::*>;

struct QuantitySource {
  std::string_view name;  // in the catalogue
  Array array;
};

// clang-format off
constexpr std::array<QuantitySource, QUANTITY_COUNT> kQuantities{{
    {"T", &Readings::T},           {"BETABC", &Results::BETABC},
    {"UBAR", &Results::UBAR},      {"U", &Results::U},
    {"VBAR", &Results::VBAR},      {"V", &Results::V},
    {"SS", &Results::SS},          {"SSNB", &Results::SSNB},
    {"TNSAVE", &Results::TNSAVE},  {"TNNB", &Results::TNNB},
    {"SOVERN", &Results::SOVERN},  {"SOVRNB", &Results::SOVRNB},
    {"TNSMAX", &Results::TNSMAX},  {"TNSMIN", &Results::TNSMIN},
    {"VPIT", &Results::VPIT},      {"VPITT", &Results::VPITT},
    {"INDEX", &Readings::INDEX},   {"IPARFL", &Readings::IPARFL},
    {"P", &Results::P},
    {"USTRN", &Results::USTRN},    {"VSTRN", &Results::VSTRN},
    {"AC", &Results::AC},          {"ACNB", &Results::ACNB},
    {"SECMOM", &Results::SECMOM},  {"PERSMA", &Results::PERSMA},
    {"TMOMA", &Results::TMOMA},    {"TMOM", &Results::TMOM},
    {"DIFMOM", &Results::DIFMOM},  {"DEVREC", &Results::DEVREC},
    {"DEVIBA", &Results::DEVIBA},  {"DEVIB", &Results::DEVIB},
    {"DEVIBT", &Results::DEVIBT},  {"DEVRPT", &Results::DEVRPT},
    {"DEVJNR", &Results::DEVJNR},  {"DEVVPI", &Results::DEVVPI},
    {"DEVNB", &Results::DEVNB},    {"ERUABS", &Results::ERUABS},
    {"RMV", &Results::RMV},
    {"DXABS", &Results::DXABS},   {"DY1ABS", &Results::DY1ABS},
    {"DTMLP2", &Results::DTMLP2}, {"DRPB", &Results::DRPB},
    {"SLATLD", &Results::SLATLD},  {"HTFYKS", &Results::HTFYKS},
    {"GRSBAL", &Results::GRSBAL},  {"GRDQC", &Results::GRDQC},
    {"ANGLQ", &Results::ANGLQ},    {"WQNC", &Results::WQNC},
    {"DECLYK", &Results::DECLYK}, {"TNSAVP", &Results::TNSAVP},
    {"SSAVP", &Results::SSAVP},    {"AVPRST", &Results::AVPRST},
    {"DVOVDU", &Results::DVOVDU},  {"ALPHA", &Results::ALPHA},
    {"ALPHAR", &Results::ALPHAR},  {"XFC", &Results::XFC},
    {"YFORCE", &Results::YFORCE},
}};
// clang-format on

constexpr std::size_t at(Q q) {
  return static_cast<std::size_t>(q);
}

float value_of(const Run& run, const Array& array, int reading) {
  if (const auto* r = std::get_if<RArr Readings::*>(&array)) return (run.r.**r)(reading);
  if (const auto* i = std::get_if<IArr Readings::*>(&array)) {
    return static_cast<float>((run.r.**i)(reading));
  }
  return (run.o.*std::get<RArr Results::*>(array))(reading);
}

constexpr std::array<Q, 5> kLoadLineVariants{Q::DEVIBT, Q::DEVRPT, Q::DEVJNR, Q::DEVVPI, Q::VPITT};
constexpr std::array<Q, 6> kLateralLoadValues{Q::HTFYKS, Q::GRSBAL, Q::GRDQC,
                                              Q::ANGLQ,  Q::WQNC,   Q::DECLYK};
constexpr std::array<Q, 2> kAfterLoop{Q::AVPRST, Q::DVOVDU};

ReadingSnapshot reading_snapshot(const Run& run, int reading, bool finished) {
  ReadingSnapshot r;
  for (std::size_t k = 0; k < QUANTITY_COUNT; ++k) {
    r.value[k] = value_of(run, kQuantities[k].array, reading);
    r.computed[k] = true;
  }
  const auto leave_out = [&r](std::span<const Q> quantities) {
    for (Q q : quantities) {
      r.value[at(q)] = 0.0F;
      r.computed[at(q)] = false;
    }
  };
  if (run.c.PAROUT != 0.0F) leave_out(kLoadLineVariants);
  if (run.r.QSPBAL(reading) == 0.0F) leave_out(kLateralLoadValues);
  if (!(run.c.PARINC > 0.0F)) leave_out(std::array{Q::RMV});
  if (!finished) leave_out(kAfterLoop);
  return r;
}

// A set-up value and where the echo shows it.
using SetupField = std::variant<float Constants::*, float Specimen::*, float Setup::*>;
enum class Shown { Always, WithSoil, WithWedgeEnds };

struct SetupSource {
  std::string_view name;  // in the catalogue
  SetupField field;
  Shown shown = Shown::Always;
};

// clang-format off
const std::array<SetupSource, 69>& setup_sources() {
  static const std::array<SetupSource, 69> kSources{{
      {"PAROUT", &Constants::PAROUT},        {"PARREG", &Constants::PARREG},
      {"TYPFRA", &Constants::TYPFRA},        {"PARLAT", &Constants::PARLAT},
      {"PDATCH", &Constants::PDATCH},
      {"ALFN", &Specimen::ALFN},             {"HTLOWR", &Specimen::HTLOWR},
      {"GRINL", &Constants::GRINL},          {"ALFA", &Setup::ALFA},
      {"DIAIN", &Specimen::DIAIN},           {"HTLOWS", &Setup::HTLOWS},
      {"D1", &Specimen::D1},                 {"WTM", &Setup::WTM},
      {"WS", &Setup::WS},                    {"GRSLO", &Constants::GRSLO},
      {"VPI", &Specimen::VPI},               {"DIAOUT", &Specimen::DIAOUT},
      {"HDISC", &Specimen::HDISC},           {"D2", &Specimen::D2},
      {"XBARTM", &Setup::XBARTM},            {"XBARS", &Setup::XBARS},
      {"WD", &Setup::WD},                    {"DENSOL", &Setup::DENSOL},
      {"CLRNCE", &Specimen::CLRNCE},         {"DH", &Setup::DHPLAN},
      {"H2", &Constants::H2},                {"YBARTM", &Setup::YBARTM},
      {"YBARS", &Setup::YBARS},              {"RM", &Setup::RM},
      {"WADDTM", &Specimen::WADDTM},         {"TMOMAV", &Specimen::TMOMAV},
      {"TMOMAH", &Specimen::TMOMAH},         {"WTMC", &Setup::WTMC},
      {"XBRTMC", &Setup::XBRTMC},            {"YBRTMC", &Setup::YBRTMC},
      {"SW", &Setup::SW},                    {"PARINC", &Constants::PARINC},
      {"XBARQT", &Specimen::XBARQT},         {"YBARQT", &Specimen::YBARQT},
      {"D3", &Specimen::D3},                 {"DOITRM", &Setup::DOITRM},
      {"WCINL", &Specimen::WCINL, Shown::WithSoil},
      {"PFIXDR", &Specimen::PFIXDR},         {"LYOK", &Constants::LYOK},
      {"DCLPSB", &Constants::DCLPSB},        {"HTFPSB", &Constants::HTFPSB},
      {"HTFSB", &Constants::HTFSB},          {"PSPBDL", &Specimen::PSPBDL},
      {"ASPBL1", &Constants::ASPBL1},        {"DSPBL1", &Constants::DSPBL1},
      {"ASPBL2", &Constants::ASPBL2},        {"DSPBL2", &Constants::DSPBL2},
      {"WYK", &Constants::WYK},              {"GS", &Specimen::GS, Shown::WithSoil},
      {"PARFPL", &Specimen::PARFPL},         {"XTMO1", &Setup::XTMO1},
      {"YTMO1", &Setup::YTMO1},              {"X1C", &Setup::X1C},
      {"Y1C", &Setup::Y1C},                  {"W", &Setup::W},
      {"WSPPTM", &Specimen::WSPPTM},         {"HEMPTY", &Specimen::HEMPTY},
      {"HTMOLD", &Specimen::HTMOLD},         {"WTMEMP", &Specimen::WTMEMP},
      {"SATINL", &Setup::SATINL, Shown::WithSoil},
      {"DDENSL", &Setup::DDENSL, Shown::WithSoil},
      {"VOIDR", &Setup::VOIDR, Shown::WithSoil},
      {"DH1", &Setup::DH1, Shown::WithWedgeEnds},
      {"DH2", &Specimen::DH2, Shown::WithWedgeEnds},
  }};
  return kSources;
}
// clang-format on

float value_of(const Run& run, const SetupField& field) {
  if (const auto* c = std::get_if<float Constants::*>(&field)) return run.c.**c;
  if (const auto* s = std::get_if<float Specimen::*>(&field)) return run.s.**s;
  return run.u.*std::get<float Setup::*>(field);
}

bool shown(const Run& run, Shown when) {
  switch (when) {
    case Shown::WithSoil:
      return run.s.PARSOL == 1.0F;
    case Shown::WithWedgeEnds:
      return run.s.DH2 > 0.0F;
    case Shown::Always:
      break;
  }
  return true;
}

std::vector<std::optional<float>> setup_values(const Run& run, bool set_up) {
  std::vector<std::optional<float>> values;
  values.reserve(setup_sources().size());
  for (const SetupSource& source : setup_sources()) {
    if (set_up && shown(run, source.shown)) {
      values.emplace_back(value_of(run, source.field));
    } else {
      values.emplace_back(std::nullopt);
    }
  }
  return values;
}

Table4Snapshot table4_of(const TestSnapshot& t) {
  Table4Snapshot table;
  const ReadingSnapshot& peak = t.readings.at(static_cast<std::size_t>(t.IMAXP - 1));
  const ReadingSnapshot& end = t.readings.at(static_cast<std::size_t>(t.IEND - 1));
  for (std::size_t k = 0; k < TABLE4_QUANTITIES.size(); ++k) {
    table.peak[k] = peak.value[at(TABLE4_QUANTITIES[k])];
    table.end[k] = end.value[at(TABLE4_QUANTITIES[k])];
  }
  table.T_peak = peak.value[at(Q::T)];
  return table;
}

TestRecord record_of(const PerTest& pt, int test) {
  TestRecord record{pt.DVDUPK(test), pt.FIPK(test), pt.DVDUEN(test), pt.FIEN(test), {}, {}};
  for (int c = 1; c <= NCASE; ++c) {
    record.SIGA[static_cast<std::size_t>(c - 1)] = pt.SIGA(test, c);
    record.TAUA[static_cast<std::size_t>(c - 1)] = pt.TAUA(test, c);
  }
  return record;
}

// The message as one line of text: UTF-8, without the report's leading blank.
std::string message_text(std::string_view cp857_message) {
  std::string text = codec::cp857_to_utf8(cp857_message);
  const std::size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : text.substr(first);
}

AnalysisValue analysis_value(bool computed, float v) {
  if (!computed) return {};
  if (!std::isfinite(v)) return {AnalysisValue::State::Yok, 0.0F};
  return {AnalysisValue::State::Number, v};
}

}  // namespace

const catalogue::Entry& info(Quantity q) {
  static const std::array<const catalogue::Entry*, QUANTITY_COUNT> kEntries = [] {
    std::array<const catalogue::Entry*, QUANTITY_COUNT> entries{};
    for (std::size_t k = 0; k < QUANTITY_COUNT; ++k) {
      entries[k] = &catalogue::entry(kQuantities[k].name);
    }
    return entries;
  }();
  return *kEntries.at(at(q));
}

std::span<const catalogue::Entry> setup_infos() {
  static const std::vector<catalogue::Entry> kInfos = [] {
    std::vector<catalogue::Entry> infos;
    for (const SetupSource& source : setup_sources()) {
      infos.push_back(catalogue::entry(source.name));
    }
    return infos;
  }();
  return kInfos;
}

std::optional<float> setup_value(const TestSnapshot& t, std::string_view name) {
  const std::span<const catalogue::Entry> infos = setup_infos();
  for (std::size_t k = 0; k < infos.size() && k < t.setup.size(); ++k) {
    if (infos[k].name == name) return t.setup[k];
  }
  return std::nullopt;
}

TestSnapshot test_snapshot(const Run& run, int test, TestKind kind,
                           std::vector<SuspectReading> flagged, std::string_view cp857_message,
                           int readings_evaluated) {
  TestSnapshot t;
  t.test = test;
  t.kind = kind;
  t.titles = run.s.TITLES;
  t.setup = setup_values(run, kind != TestKind::Refused);
  t.message = message_text(cp857_message);
  if (kind == TestKind::Refused) return t;
  t.NREAD = run.u.NREAD;
  t.flagged = std::move(flagged);
  if (kind == TestKind::CheckOnly) return t;
  const bool finished = kind == TestKind::Evaluated;
  t.readings_evaluated = finished ? run.u.NREAD : readings_evaluated;
  for (int I = 1; I <= t.readings_evaluated; ++I) {
    t.readings.push_back(reading_snapshot(run, I, finished));
  }
  for (int k = 1; k <= run.o.NT1A; ++k) t.tension.push_back(run.o.T1A(k));
  if (!finished) return t;
  t.IMAXP = run.o.IMAXP;
  t.IEND = run.o.IEND;
  t.table4 = table4_of(t);
  if (run.pt.STORED(test)) t.record = record_of(run.pt, test);
  return t;
}

std::vector<GaugeReading> gauge_readings(const Run& run, std::span<const RawReading> typed) {
  std::vector<GaugeReading> gauges;
  int I = 0;
  for (const RawReading& raw : typed) {
    gauges.push_back({run.r.T(++I), raw.DXABS, raw.DY1ABS, raw.DTMLP2});
  }
  return gauges;
}

StrengthSnapshot strength_snapshot(const Run& run, bool ran, std::vector<int> without_logarithm) {
  StrengthSnapshot s;
  const Strength& st = run.st;
  const int IPARRG = run.c.IPARRG;
  s.IPARRG = IPARRG;
  for (int t = 1; t <= std::min(run.n.NTEST, MAXTS); ++t) {
    if (run.pt.STORED(t)) s.tests.push_back(t);
  }
  s.NTESTS = static_cast<int>(s.tests.size());
  s.ran = ran;
  if (!ran) return s;
  const bool origin = IPARRG != 2 && IPARRG <= 5;
  const bool cohesion = IPARRG == 2 || IPARRG == 3 || IPARRG == 5;
  const bool power_law_wanted = IPARRG == 4 || IPARRG == 5;
  s.without_logarithm = power_law_wanted ? std::move(without_logarithm) : std::vector<int>{};
  s.second_pass = power_law_wanted && s.without_logarithm.empty();
  for (std::size_t k = 0; k < NCASE; ++k) {
    CaseSnapshot& c = s.cases[k];
    c.CORZRO = analysis_value(origin, st.CORZRO[k]);
    c.PHIORG = analysis_value(origin, st.PHIORG[k]);
    c.COFCOR = analysis_value(cohesion, st.COFCOR[k]);
    c.COHESN = analysis_value(cohesion, st.COHESN[k]);
    c.PHILRG = analysis_value(cohesion, st.PHILRG[k]);
    c.COFLOG = analysis_value(s.second_pass, st.COFLOG[k]);
    c.ACONST = analysis_value(s.second_pass, st.ACONST[k]);
    c.BEXPNT = analysis_value(s.second_pass, st.BEXPNT[k]);
  }
  if (s.second_pass) {
    s.SIGLST = st.SIGLST;
    for (std::size_t k = 0; k < s.TAULST.size(); ++k) {
      s.TAULST_yok[k] = !std::isfinite(st.TAULST[k]);
      s.TAULST[k] = s.TAULST_yok[k] ? 0.0F : st.TAULST[k];
    }
  }
  const bool triaxial = !(run.c.POISNR > 0.5F) && (IPARRG <= 3 || power_law_wanted);
  if (!triaxial) return s;
  for (int row = 1; row <= s.NTESTS; ++row) {
    s.triaxial.push_back(
        {s.tests[static_cast<std::size_t>(row - 1)], analysis_value(origin, st.CENORG(row)),
         analysis_value(origin, st.AVPORG(row)), analysis_value(origin, st.CELORG(row)),
         analysis_value(cohesion, st.CENCOH(row)), analysis_value(cohesion, st.AVPCOH(row)),
         analysis_value(cohesion, st.CELCOH(row))});
  }
  return s;
}

}  // namespace ostrevik::exports
