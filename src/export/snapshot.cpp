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
  ValueInfo info;
  Array array;
};

// clang-format off
constexpr std::array<QuantitySource, QUANTITY_COUNT> kQuantities{{
    {{"T", "dak", 1}, &Readings::T},          {{"BETABC", "der", 2}, &Results::BETABC},
    {{"UBAR", "mm", 1}, &Results::UBAR},      {{"U", "mm", 1}, &Results::U},
    {{"VBAR", "mm", 1}, &Results::VBAR},      {{"V", "mm", 1}, &Results::V},
    {{"SS", "kPa", 1}, &Results::SS},         {{"SSNB", "kPa", 1}, &Results::SSNB},
    {{"TNSAVE", "kPa", 1}, &Results::TNSAVE}, {{"TNNB", "kPa", 1}, &Results::TNNB},
    {{"SOVERN", "oran", 3}, &Results::SOVERN}, {{"SOVRNB", "oran", 3}, &Results::SOVRNB},
    {{"TNSMAX", "kPa", 1}, &Results::TNSMAX}, {{"TNSMIN", "kPa", 1}, &Results::TNSMIN},
    {{"VPIT", "mm", 1}, &Results::VPIT},      {{"VPITT", "mm", 2}, &Results::VPITT},
    {{"INDEX", "sayı", 0}, &Readings::INDEX}, {{"IPARFL", "sayı", 0}, &Readings::IPARFL},
    {{"P", "N", 0}, &Results::P},
    {{"USTRN", "%", 2}, &Results::USTRN},     {{"VSTRN", "%", 2}, &Results::VSTRN},
    {{"AC", "cm2", 2}, &Results::AC},         {{"ACNB", "cm2", 2}, &Results::ACNB},
    {{"SECMOM", "cm4", 1}, &Results::SECMOM}, {{"PERSMA", "%", 1}, &Results::PERSMA},
    {{"TMOMA", "N.cm", 1}, &Results::TMOMA},  {{"TMOM", "N.cm", 1}, &Results::TMOM},
    {{"DIFMOM", "N.cm", 1}, &Results::DIFMOM}, {{"DEVREC", "%", 1}, &Results::DEVREC},
    {{"DEVIBA", "%", 1}, &Results::DEVIBA},   {{"DEVIB", "%", 1}, &Results::DEVIB},
    {{"DEVIBT", "%", 1}, &Results::DEVIBT},   {{"DEVRPT", "%", 1}, &Results::DEVRPT},
    {{"DEVJNR", "%", 1}, &Results::DEVJNR},   {{"DEVVPI", "%", 1}, &Results::DEVVPI},
    {{"DEVNB", "%", 1}, &Results::DEVNB},     {{"ERUABS", "mm", 1}, &Results::ERUABS},
    {{"RMV", "N", 1}, &Results::RMV},
    {{"DXABS", "mm", 1}, &Results::DXABS},   {{"DY1ABS", "mm", 1}, &Results::DY1ABS},
    {{"DTMLP2", "mm", 1}, &Results::DTMLP2}, {{"DRPB", "mm", 1}, &Results::DRPB},
    {{"SLATLD", "N", 0}, &Results::SLATLD},   {{"HTFYKS", "mm", 0}, &Results::HTFYKS},
    {{"GRSBAL", "der", 2}, &Results::GRSBAL}, {{"GRDQC", "der", 2}, &Results::GRDQC},
    {{"ANGLQ", "der", 1}, &Results::ANGLQ},   {{"WQNC", "N", 1}, &Results::WQNC},
    {{"DECLYK", "mm", 1}, &Results::DECLYK}, {{"TNSAVP", "kPa", 1}, &Results::TNSAVP},
    {{"SSAVP", "kPa", 1}, &Results::SSAVP},   {{"AVPRST", "kPa", 1}, &Results::AVPRST},
    {{"DVOVDU", "oran", 2}, &Results::DVOVDU}, {{"ALPHA", "der", 1}, &Results::ALPHA},
    {{"ALPHAR", "der", 1}, &Results::ALPHAR}, {{"XFC", "N", 0}, &Results::XFC},
    {{"YFORCE", "N", 0}, &Results::YFORCE},
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
  ValueInfo info;
  SetupField field;
  Shown shown = Shown::Always;
};

// clang-format off
const std::array<SetupSource, 69>& setup_sources() {
  static const std::array<SetupSource, 69> kSources{{
      {{"PAROUT", "", 0}, &Constants::PAROUT}, {{"PARREG", "", 0}, &Constants::PARREG},
      {{"TYPFRA", "", 0}, &Constants::TYPFRA}, {{"PARLAT", "", 0}, &Constants::PARLAT},
      {{"PDATCH", "", 0}, &Constants::PDATCH},
      {{"ALFN", "der", 1}, &Specimen::ALFN},   {{"HTLOWR", "cm", 2}, &Specimen::HTLOWR},
      {{"GRINL", "", 0}, &Constants::GRINL},   {{"ALFA", "der", 1}, &Setup::ALFA},
      {{"DIAIN", "cm", 2}, &Specimen::DIAIN},  {{"HTLOWS", "cm", 2}, &Setup::HTLOWS},
      {{"D1", "cm", 2}, &Specimen::D1},        {{"WTM", "kg", 2}, &Setup::WTM},
      {{"WS", "kg", 2}, &Setup::WS},           {{"GRSLO", "", 5}, &Constants::GRSLO},
      {{"VPI", "cm", 2}, &Specimen::VPI},      {{"DIAOUT", "cm", 2}, &Specimen::DIAOUT},
      {{"HDISC", "cm", 2}, &Specimen::HDISC},  {{"D2", "cm", 2}, &Specimen::D2},
      {{"XBARTM", "cm", 2}, &Setup::XBARTM},   {{"XBARS", "cm", 2}, &Setup::XBARS},
      {{"WD", "kg", 2}, &Setup::WD},           {{"DENSOL", "g/cc", 3}, &Setup::DENSOL},
      {{"CLRNCE", "cm", 2}, &Specimen::CLRNCE}, {{"DH", "cm", 2}, &Setup::DHPLAN},
      {{"H2", "cm", 2}, &Constants::H2},       {{"YBARTM", "cm", 2}, &Setup::YBARTM},
      {{"YBARS", "cm", 2}, &Setup::YBARS},     {{"RM", "kg", 2}, &Setup::RM},
      {{"WADDTM", "kg", 2}, &Specimen::WADDTM}, {{"TMOMAV", "kg.cm", 2}, &Specimen::TMOMAV},
      {{"TMOMAH", "kg.cm", 2}, &Specimen::TMOMAH}, {{"WTMC", "kg", 2}, &Setup::WTMC},
      {{"XBRTMC", "cm", 2}, &Setup::XBRTMC},   {{"YBRTMC", "cm", 2}, &Setup::YBRTMC},
      {{"SW", "kg", 2}, &Setup::SW},           {{"PARINC", "", 0}, &Constants::PARINC},
      {{"XBARQT", "cm", 2}, &Specimen::XBARQT}, {{"YBARQT", "cm", 2}, &Specimen::YBARQT},
      {{"D3", "cm", 2}, &Specimen::D3},        {{"DOITRM", "cm", 2}, &Setup::DOITRM},
      {{"WCINL", "", 3}, &Specimen::WCINL, Shown::WithSoil},
      {{"PFIXDR", "", 0}, &Specimen::PFIXDR},  {{"LYOK", "cm", 1}, &Constants::LYOK},
      {{"DCLPSB", "cm", 1}, &Constants::DCLPSB}, {{"HTFPSB", "cm", 1}, &Constants::HTFPSB},
      {{"HTFSB", "cm", 1}, &Constants::HTFSB}, {{"PSPBDL", "", 0}, &Specimen::PSPBDL},
      {{"ASPBL1", "", 4}, &Constants::ASPBL1}, {{"DSPBL1", "", 4}, &Constants::DSPBL1},
      {{"ASPBL2", "", 4}, &Constants::ASPBL2}, {{"DSPBL2", "", 4}, &Constants::DSPBL2},
      {{"WYK", "kg", 2}, &Constants::WYK},     {{"GS", "", 2}, &Specimen::GS, Shown::WithSoil},
      {{"PARFPL", "", 0}, &Specimen::PARFPL},  {{"XTMO1", "cm", 2}, &Setup::XTMO1},
      {{"YTMO1", "cm", 2}, &Setup::YTMO1},     {{"X1C", "cm", 2}, &Setup::X1C},
      {{"Y1C", "cm", 2}, &Setup::Y1C},         {{"W", "kg", 2}, &Setup::W},
      {{"WSPPTM", "kg", 3}, &Specimen::WSPPTM}, {{"HEMPTY", "cm", 2}, &Specimen::HEMPTY},
      {{"HTMOLD", "cm", 1}, &Specimen::HTMOLD}, {{"WTMEMP", "kg", 3}, &Specimen::WTMEMP},
      {{"SATINL", "", 3}, &Setup::SATINL, Shown::WithSoil},
      {{"DDENSL", "g/ml", 3}, &Setup::DDENSL, Shown::WithSoil},
      {{"VOIDR", "", 3}, &Setup::VOIDR, Shown::WithSoil},
      {{"DH1", "cm", 2}, &Setup::DH1, Shown::WithWedgeEnds},
      {{"DH2", "cm", 2}, &Specimen::DH2, Shown::WithWedgeEnds},
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

const ValueInfo& info(Quantity q) {
  return kQuantities.at(at(q)).info;
}

std::span<const ValueInfo> setup_infos() {
  static const std::vector<ValueInfo> kInfos = [] {
    std::vector<ValueInfo> infos;
    for (const SetupSource& source : setup_sources()) infos.push_back(source.info);
    return infos;
  }();
  return kInfos;
}

std::optional<float> setup_value(const TestSnapshot& t, std::string_view name) {
  const std::span<const ValueInfo> infos = setup_infos();
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
  if (!finished) return t;
  t.IMAXP = run.o.IMAXP;
  t.IEND = run.o.IEND;
  t.table4 = table4_of(t);
  if (run.pt.STORED(test)) t.record = record_of(run.pt, test);
  return t;
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
