#include "mechanics/tension.h"

#include <cmath>

#include "model/elementary.h"

namespace ostrevik::mechanics {
namespace {

// Change of the boundary (cm) below which the iteration has converged.
constexpr float kTolerance = 0.005F;
// Rectangular boundaries below this start the search on the negative side.
constexpr float kNegativeSideStart = -0.8F;

float cube(float c) {
  return c * c * c;
}

// Where the search for the boundary of the compressed part ended.
struct Boundary {
  enum class End { Compressed, Fallback, PassLimit };
  End end;
  float DCOMPU = 0;  // boundary (cm from the centre of the contact area along its major axis)
  float EFFARE = 0;  // compressed area, cm²
  float SIGMAX = 0;  // normal stress at the compressed edge, kg/cm²
};

Boundary fallback_at(float x) {
  return {Boundary::End::Fallback, x};
}

// The boundary is known; a vanishing compressed area or edge-stress divisor leaves it unusable.
Boundary compressed(float x, float EFFARE, float edge_numerator, float edge_divisor) {
  if (EFFARE == 0.0F || edge_divisor == 0.0F) return fallback_at(x);
  return {Boundary::End::Compressed, x, EFFARE, edge_numerator / edge_divisor};
}

float start_on_positive_side(float DCOMCL) {
  return 0.9F * DCOMCL + 0.36F;
}

float start_on_negative_side(float DCOMCL) {
  return 0.88F * DCOMCL + 0.55F;
}

// Fixed-point search for the line across the contact area beyond which the soil carries no
// tension, so that the compressed part alone balances FNORM and PMOM. The search runs on the
// positive side of the centre (branch A) or on the negative side (branch B) and changes side
// when it converges on the other one; both share one pass count, INXDU.
Boundary find_boundary(Run& run, float S, float U, float DCOMCL) {
  Work& w = run.w;
  const float DIAW = run.u.DIAW;
  const float RMAJ = w.area.RMAJ, RAB = w.area.RAB, BOVL = w.area.BOVL, GOVL = w.area.GOVL;
  const float FNORM = w.forces.FNORM, PMOM = w.moment.PMOM;
  bool positive_side = !(DCOMCL < kNegativeSideStart);
  float x = positive_side ? start_on_positive_side(DCOMCL) : start_on_negative_side(DCOMCL);
  // Without a normal force or a moment the balance has no boundary to search for.
  if (FNORM == 0.0F || PMOM == 0.0F) return fallback_at(x);
  for (;;) {
    if (std::fabs(x) > w.area.PHALF) return fallback_at(x);
    if (positive_side) {
      const float s = (2.0F * x + U) * S / DIAW;
      if (std::fabs(s) > 1.0F) return fallback_at(x);
      const float theta = rounded::asin(s);
      const float C = cube(rounded::cos(theta));
      const float g = rounded::sin(2.0F * theta) + 2.0F * theta;
      const float h = 8.0F * RMAJ * C - 3.0F * U * (PI - g);
      const float k = g + PI - 2.0F * GOVL;
      const float W = 3.0F * (RMAJ * RMAJ) *
                          ((4.0F * theta - rounded::sin(4.0F * theta)) -
                           2.0F * (4.0F * BOVL - rounded::sin(4.0F * BOVL) - PI)) +
                      32.0F * U * RMAJ * (C - 2.0F * cube(rounded::cos(BOVL)));
      const float divisor = 24.0F * PMOM * k - 4.0F * FNORM * h;
      if (divisor == 0.0F) return fallback_at(x);
      const float xn = (FNORM * (6.0F * (U * U) * k + W) - 4.0F * PMOM * h) / divisor;
      if (++w.INXDU > MAX_TENSION_PASSES) return {Boundary::End::PassLimit};
      if (std::fabs(xn - x) < kTolerance) {
        if (xn >= 0.0F) {
          return compressed(xn, (w.area.ACONT - (GOVL - g) * RAB) / 2.0F,
                            6.0F * FNORM * (2.0F * (RMAJ + xn) - U), RAB * (6.0F * xn * k + h));
        }
        positive_side = false;
        x = start_on_negative_side(DCOMCL);
        continue;
      }
      x = xn;
    } else {
      const float s = (U - 2.0F * x) * S / DIAW;
      if (std::fabs(s) > 1.0F) return fallback_at(x);
      const float phi = rounded::asin(s);
      const float E8 = 8.0F * RMAJ * cube(rounded::cos(phi));
      const float E4 = PI - 2.0F * phi - rounded::sin(2.0F * phi);
      const float E0 = E8 - 3.0F * U * E4;
      const float Wb = 3.0F * (RMAJ * RMAJ) * (2.0F * PI - 4.0F * phi + rounded::sin(4.0F * phi));
      const float divisor = 24.0F * PMOM * E4 - 4.0F * FNORM * E0;
      if (divisor == 0.0F) return fallback_at(x);
      const float xn = (FNORM * (Wb - 2.0F * U * (E0 + E8)) - 4.0F * PMOM * E0) / divisor;
      if (++w.INXDU > MAX_TENSION_PASSES) return {Boundary::End::PassLimit};
      if (std::fabs(xn - x) < kTolerance) {
        if (xn <= 0.0F) {
          return compressed(xn, E4 * RAB / 2.0F, 6.0F * FNORM * (2.0F * (RMAJ + xn) - U),
                            RAB * (3.0F * E4 * (2.0F * xn - U) + E8));
        }
        positive_side = true;
        x = start_on_positive_side(DCOMCL);
        continue;
      }
      x = xn;
    }
  }
}

// Compressed length of the rectangle of length PLEN under the eccentricity PMOM/FNORM; with no
// normal force nothing of it is taken as compressed.
float rectangular_length(const Work& w) {
  if (w.forces.FNORM == 0.0F) return 0.0F;
  return 3.0F * (w.area.PLEN / 2.0F - w.moment.PMOM / w.forces.FNORM);
}

// Excess of the edge stress over the mean stress in percent of the mean stress, with the sign
// of the moment (taken as positive when there is none). No mean stress leaves no excess.
float edge_deviation(const Work& w, float SIGMAX, float SIGN) {
  if (SIGN == 0.0F) return 0.0F;
  if (w.moment.PMOM == 0.0F) return (SIGMAX - SIGN) * 100.0F / SIGN;
  return (SIGMAX - SIGN) * 100.0F * w.moment.SMOM / (w.moment.PMOM * SIGN);
}

// Percent difference of the shear stress by the rectangular rule from that of the compressed
// part; 0 when either has nothing to compare.
float rectangular_shear_difference(float FSHEAR, float DIAW, float RECLEN, float TAUN) {
  if (RECLEN == 0.0F || TAUN == 0.0F) return 0.0F;
  const float SR = FSHEAR / (DIAW * 0.9F * RECLEN);
  return (SR - TAUN) * 100.0F / TAUN;
}

}  // namespace

void correct_for_tension(Run& run, int I, float VPIARG, float DRPARG, float S, float U, float V,
                         float& SIGN, float& TAUN, float& DEVP, float& USTR, float& VSTR) {
  Work& w = run.w;
  w.N1ACAL += 1;
  w.INXDU = 0;
  if (w.N1ACAL > MAX_TENSION_CALLS) return;

  const float DIAW = run.u.DIAW;
  const float RECLEN = rectangular_length(w);
  const float DCOMCL = RECLEN - w.area.PLEN / 2.0F;

  const Boundary boundary = find_boundary(run, S, U, DCOMCL);
  if (boundary.end == Boundary::End::PassLimit) return;

  float SIGMAX = 0;
  if (boundary.end == Boundary::End::Compressed) {
    SIGN = w.forces.FNORM / boundary.EFFARE;
    TAUN = w.forces.FSHEAR / boundary.EFFARE;
    w.area.ACONT = boundary.EFFARE;
    SIGMAX = boundary.SIGMAX;
  } else {
    // The boundary left the contact area: a triangular stress block over the rectangle.
    w.area.ACONT = DIAW * 0.9F * w.area.PLEN;
    SIGN = w.forces.FNORM / w.area.ACONT;
    TAUN = w.forces.FSHEAR / w.area.ACONT;
    SIGMAX = 2.0F * SIGN;
  }
  const float DCOMPU = boundary.DCOMPU;

  DEVP = edge_deviation(w, SIGMAX, SIGN);
  const float CMPLEN = w.area.PHALF + DCOMPU;
  const float PCOMTL = CMPLEN * 100.0F / (2.0F * w.area.PHALF);
  if (CMPLEN != 0.0F) {
    // With no compressed length left the strains stay those of the whole contact area.
    USTR = U * 100.0F / CMPLEN;
    VSTR = V * 100.0F / CMPLEN;
  }
  const float PERSHS = rectangular_shear_difference(w.forces.FSHEAR, DIAW, RECLEN, TAUN);
  const float BETA = degrees(w.BETRAD);
  const float TNS = run.u.CKPA * SIGN;
  const float SHS = run.u.CKPA * TAUN;
  const float SIGMAX_KPA = run.u.CKPA * SIGMAX;

  if (w.JJ > 2) return;
  Results& o = run.o;
  o.NT1A += 1;
  o.T1A(o.NT1A) = {run.r.T(I), BETA, VPIARG, DRPARG, DCOMCL,     DCOMPU, PCOMTL,
                   w.INXDU,    SHS,  TNS,    PERSHS, SIGMAX_KPA, w.JJ};
}

}  // namespace ostrevik::mechanics
