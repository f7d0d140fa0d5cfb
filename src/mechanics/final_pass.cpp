#include "mechanics/final_pass.h"

#include <cmath>
#include <utility>

namespace ostrevik::mechanics {
namespace {

bool has_lateral_load(const Run& run) {
  for (int i = 1; i <= run.u.NREAD; ++i) {
    if (run.r.QSPBAL(i) != 0.0F) return true;
  }
  return false;
}

// The smallest step of UBAR that gives a rate of dilatancy: 0.02 cm at the first and last
// readings, 0.02 mm at the inner readings.
constexpr float kEndStepCm = 0.02F;
constexpr float kInnerStepMm = 0.02F;

// Rate of dilatancy VBAR/UBAR at the first and last readings, from the lengths in cm.
void end_dilatancy_rates(Run& run) {
  const PlaneCm& cm = run.cm;
  Results& o = run.o;
  const int NREAD = run.u.NREAD;
  o.DVOVDU(1) = std::abs(cm.UBAR(2)) >= kEndStepCm ? cm.VBAR(2) / cm.UBAR(2) : 0.0F;
  const float DU = cm.UBAR(NREAD) - cm.UBAR(NREAD - 1);
  o.DVOVDU(NREAD) = std::abs(DU) >= kEndStepCm ? (cm.VBAR(NREAD) - cm.VBAR(NREAD - 1)) / DU : 0.0F;
}

// Mean of the backward and forward slopes at the inner readings, from the lengths in mm.
void inner_dilatancy_rates(Run& run) {
  Results& o = run.o;
  for (int I = 2; I <= run.u.NREAD - 1; ++I) {
    const float back = o.UBAR(I) - o.UBAR(I - 1);
    const float ahead = o.UBAR(I + 1) - o.UBAR(I);
    if (std::abs(back) < kInnerStepMm || std::abs(ahead) < kInnerStepMm) {
      o.DVOVDU(I) = 0.0F;
    } else {
      o.DVOVDU(I) =
          ((o.VBAR(I) - o.VBAR(I - 1)) / back + (o.VBAR(I + 1) - o.VBAR(I)) / ahead) / 2.0F;
    }
  }
}

}  // namespace

void convert_to_mm(Run& run, int I) {
  const PlaneCm& cm = run.cm;
  const Readings& r = run.r;
  Results& o = run.o;
  const std::pair<const RArr*, RArr*> lengths[] = {
      {&cm.UBAR, &o.UBAR},  {&cm.VBAR, &o.VBAR},    {&cm.U, &o.U},
      {&cm.V, &o.V},        {&cm.VPIT, &o.VPIT},    {&cm.VPITT, &o.VPITT},
      {&r.DXABS, &o.DXABS}, {&r.DY1ABS, &o.DY1ABS}, {&r.DTMLP2, &o.DTMLP2},
      {&r.DRPB, &o.DRPB},   {&r.DECLYK, &o.DECLYK}, {&r.HTFYKS, &o.HTFYKS}};
  for (const auto& [in_cm, in_mm] : lengths) (*in_mm)(I) = (*in_cm)(I)*10.0F;
}

void search_peak(Run& run) {
  const RArr& value = has_lateral_load(run) ? run.o.SOVERN : run.o.P;
  int& IPKST = run.o.IPKST;
  int& IMAXP = run.o.IMAXP;
  IPKST = 0;
  IMAXP = 1;
  for (int I = 1; I <= run.u.NREAD; ++I) {
    if (IPKST == 0) {
      IPKST = 1;
    } else if (IPKST == 1) {
      if (run.r.QSPBAL(I) != 0.0F && I < 3) continue;
      if (value(I) - value(I - 1) < 0.0F) {
        IPKST = 2;
        IMAXP = I - 1;
      } else {
        IMAXP = I;
      }
    } else if (value(I) - value(IMAXP) > 0.0F) {
      IMAXP = I;
    }
  }
}

int end_reading(const Run& run) {
  const int NREAD = run.u.NREAD;
  if (NREAD == 2) return 2;
  for (int K = 0; K <= 2 && NREAD - K >= 2; ++K) {
    const int IEND = NREAD - K;
    if (run.o.SS(IEND) > 0.0F && run.o.SOVERN(IEND) - run.o.SOVERN(IEND - 1) <= 0.0F) return IEND;
  }
  return NREAD - 2;
}

void finish_test(Run& run) {
  Results& o = run.o;
  const int NREAD = run.u.NREAD;
  run.cm.UBAR(1) = 0.0F;
  run.cm.U(1) = 0.0F;
  end_dilatancy_rates(run);
  search_peak(run);
  for (int I = 1; I <= NREAD; ++I) {
    convert_to_mm(run, I);
    o.AVPRST(I) = o.SS(I) * o.SS(I) / o.TNSAVE(I) + o.TNSAVE(I);
  }
  inner_dilatancy_rates(run);
  o.IEND = end_reading(run);
}

}  // namespace ostrevik::mechanics
