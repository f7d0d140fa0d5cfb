#include "input/readings_check.h"

#include <cmath>
#include <vector>

namespace ostrevik::input {
namespace {

constexpr float kThreshold = 0.4F;

// Rates of change of a test's gauges: the increments from reading to reading and their
// ratios from one increment to the next (0 where a ratio is not formed).
struct Rates {
  RArr DDX, DDY, DDTL, RDX, RDY, RTL;
};

Rates rates_of(const Readings& r, int nread) {
  Rates g;
  for (int i = 2; i <= nread; ++i) {
    g.DDX(i) = std::fabs(r.DXABS(i) - r.DXABS(i - 1));
    g.DDY(i) = std::fabs(r.DY1ABS(i) - r.DY1ABS(i - 1));
    g.DDTL(i) = std::fabs(r.DTMLP2(i) - r.DTMLP2(i - 1)) - std::fabs(r.DRPB(i) - r.DRPB(i - 1));
  }
  // A gauge that did not move gives no ratios for the next reading.
  for (int i = 3; i <= nread; ++i) {
    if (g.DDTL(i - 1) != 0.0F && g.DDX(i - 1) != 0.0F && g.DDY(i - 1) != 0.0F) {
      g.RDX(i) = g.DDX(i) / g.DDX(i - 1);
      g.RDY(i) = g.DDY(i) / g.DDY(i - 1);
      g.RTL(i) = g.DDTL(i) / g.DDTL(i - 1);
    }
  }
  return g;
}

// A single wrong value of gauge A makes its rate jump up, down and up again against gauge B;
// near the end of the test the pattern is cut short.
bool suspect(const RArr& ra, const RArr& rb, int i, int nread) {
  const bool up = ra(i) - rb(i) > kThreshold;
  if (i == nread) return up;
  const bool down = rb(i + 1) - ra(i + 1) > kThreshold;
  if (i == nread - 1) return up && down;
  return ra(i + 2) - rb(i + 2) > kThreshold && up && down;
}

// Which columns a pairing fills with the horizontal, vertical and top-cap readings.
struct Pairing {
  const RArr Rates::*ra;
  const RArr Rates::*rb;
  float SuspectReading::*dx;
  float SuspectReading::*dy;
  float SuspectReading::*tl;
};

std::vector<SuspectReading> suspect_rows(const Readings& r, int nread) {
  static const Pairing kPairings[] = {
      {&Rates::RDX, &Rates::RDY, &SuspectReading::HIGHDX, &SuspectReading::TLOWDY, nullptr},
      {&Rates::RDY, &Rates::RDX, &SuspectReading::TLOWDX, &SuspectReading::HIGHDY, nullptr},
      {&Rates::RTL, &Rates::RDY, nullptr, &SuspectReading::TLOWDY, &SuspectReading::HIGHTL},
      {&Rates::RDY, &Rates::RTL, nullptr, &SuspectReading::HIGHDY, &SuspectReading::TLOWTL},
  };
  const Rates g = rates_of(r, nread);
  std::vector<SuspectReading> rows;
  for (const Pairing& pairing : kPairings) {
    for (int i = 3; i <= nread; ++i) {
      if (!suspect(g.*pairing.ra, g.*pairing.rb, i, nread)) continue;
      SuspectReading row;
      row.reading = i;
      row.TIMACT = r.TIMACT(i);
      if (pairing.dx != nullptr) row.*pairing.dx = r.DXABS(i);
      row.*pairing.dy = r.DY1ABS(i);
      if (pairing.tl != nullptr) row.*pairing.tl = r.DTMLP2(i);
      rows.push_back(row);
    }
  }
  return rows;
}

}  // namespace

std::vector<SuspectReading> suspect_readings(const Run& run) {
  return suspect_rows(run.r, run.u.NREAD);
}

void write_readings_check(const std::vector<SuspectReading>& rows, codec::Sink& report) {
  static const codec::Layout kAllClear(
      "(/,/,2X,'*** BU DENEY VERİLERİNDE HERHANGİ BİR YANLIŞ BULUNAMAMIŞTIR. ***')");
  static const codec::Layout kHeader(
      "(/,/,3X,'TIMACT   HIGHDX   TLOWDX   HIGHDY   TLOWDY   HIGHTL  TLOWTL',/,3X,60('-'))");
  static const codec::Layout kRow("(F8.2,6F9.2)");
  if (rows.empty()) {
    codec::write(report, kAllClear);
    return;
  }
  codec::write(report, kHeader);
  for (const SuspectReading& row : rows) {
    codec::write(
        report, kRow,
        {row.TIMACT, row.HIGHDX, row.TLOWDX, row.HIGHDY, row.TLOWDY, row.HIGHTL, row.TLOWTL});
  }
}

void check_readings(const Run& run, codec::Sink& report) {
  write_readings_check(suspect_readings(run), report);
}

}  // namespace ostrevik::input
