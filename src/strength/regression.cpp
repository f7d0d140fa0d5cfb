#include "strength/regression.h"

#include <algorithm>
#include <cstddef>
#include <limits>

#include "model/elementary.h"

namespace ostrevik::strength {
namespace {

std::size_t at(int c) {
  return static_cast<std::size_t>(c - 1);
}

float checked(float v) {
  return has_value(v) ? v : NO_VALUE;
}

// Whether every point has the same stress in case c.
bool all_equal(const Table& stresses, int NTESTS, int c) {
  for (int t = 2; t <= NTESTS; ++t) {
    if (stresses(t, c) != stresses(1, c)) return false;
  }
  return true;
}

}  // namespace

Points stored_points(const Run& run) {
  Points p;
  const int tests = std::min(run.n.NTEST, MAXTS);
  for (int t = 1; t <= tests; ++t) {
    if (!run.pt.STORED(t)) continue;
    const int row = ++p.NTESTS;
    p.TEST(row) = t;
    for (int c = 1; c <= NCASE; ++c) {
      p.x(row, c) = run.pt.SIGA(t, c);
      p.y(row, c) = run.pt.TAUA(t, c);
    }
  }
  return p;
}

Points logarithms(const Points& p) {
  Points LN = p;
  for (int t = 1; t <= p.NTESTS; ++t) {
    for (int c = 1; c <= NCASE; ++c) {
      LN.x(t, c) = rounded::log(p.x(t, c));  // LNSIG
      LN.y(t, c) = rounded::log(p.y(t, c));  // LNTAU
    }
  }
  return LN;
}

std::vector<int> nonpositive_tests(const Points& p) {
  std::vector<int> tests;
  for (int t = 1; t <= p.NTESTS; ++t) {
    for (int c = 1; c <= NCASE; ++c) {
      if (!(p.x(t, c) > 0.0F) || !(p.y(t, c) > 0.0F)) {
        tests.push_back(p.TEST(t));
        break;
      }
    }
  }
  return tests;
}

void regress_case(const Points& p, int c, int IPARRG, Pass pass, Strength& st) {
  const int NTESTS = p.NTESTS;
  const float n = static_cast<float>(NTESTS);
  float SX = 0.0F, SY = 0.0F, SXX = 0.0F, SYY = 0.0F, SXY = 0.0F;
  for (int t = 1; t <= NTESTS; ++t) {
    const float x = p.x(t, c);
    const float y = p.y(t, c);
    SXY += x * y;
    SXX += x * x;
    SX += x;
    SY += y;
    SYY += y * y;
  }
  const float CXY = SXY - (SY * SX) / n;
  const float CXX = SXX - (SX * SX) / n;
  const float CYY = SYY - (SY * SY) / n;
  // Equal stresses leave only rounding noise in the centred sums.
  const bool x_spread = !all_equal(p.x, NTESTS, c) && CXX > 0.0F;
  const bool y_spread = !all_equal(p.y, NTESTS, c) && CYY > 0.0F;
  const std::size_t k = at(c);

  // A correlation exceeds 1 only by rounding (two points lie on their line exactly).
  float& correlation = pass == Pass::Logarithmic ? st.COFLOG[k] : st.COFCOR[k];
  correlation = x_spread && y_spread ? checked(std::min(std::sqrt((CXY * CXY) / (CYY * CXX)), 1.0F))
                                     : NO_VALUE;

  if (pass == Pass::Logarithmic) {
    if (x_spread) {
      st.BEXPNT[k] = CXY / CXX;
      const float xbar = SX / n;
      const float ybar = SY / n;
      st.ACONST[k] = checked(rounded::exp(ybar - xbar * st.BEXPNT[k]));
    } else {
      st.BEXPNT[k] = NO_VALUE;
      st.ACONST[k] = NO_VALUE;
    }
    return;
  }

  if (IPARRG != 2) {  // envelope through the origin
    if (SXX > 0.0F) {
      const float m0 = SXY / SXX;
      st.PHIORG[k] = degrees(rounded::atan(m0));
      const float ybar = SY / n;
      float SRES0 = 0.0F, SYDEV = 0.0F;
      for (int t = 1; t <= NTESTS; ++t) {
        const float residual = p.y(t, c) - m0 * p.x(t, c);
        SRES0 += residual * residual;
        const float deviation = p.y(t, c) - ybar;
        SYDEV += deviation * deviation;
      }
      const float v = SYDEV / (n - 1.0F);
      const float unexplained = 1.0F - (SRES0 / (n - 1.0F)) / v;
      const bool defined = !all_equal(p.y, NTESTS, c) && SYDEV > 0.0F && unexplained >= 0.0F;
      st.CORZRO[k] = defined ? checked(std::sqrt(unexplained)) : NO_VALUE;
    } else {
      st.PHIORG[k] = NO_VALUE;
      st.CORZRO[k] = NO_VALUE;
    }
  }

  if (IPARRG == 2 || IPARRG == 3 || IPARRG == 5) {  // least-squares envelope
    if (x_spread) {
      const float m = CXY / CXX;
      st.PHILRG[k] = degrees(rounded::atan(m));
      const float xbar = SX / n;
      const float ybar = SY / n;
      st.COHESN[k] = checked(ybar - xbar * m);
    } else {
      st.PHILRG[k] = NO_VALUE;
      st.COHESN[k] = NO_VALUE;
    }
  }
}

void power_law_line(Strength& st) {
  // Kept within the integers that the product can hold.
  constexpr int kLargest = std::numeric_limits<int>::max() / 100 - 1;
  const int hundreds = std::clamp(truncate_to_int(st.SIGHI / 100.0F), -kLargest, kLargest);
  st.SIGTOP = static_cast<float>(hundreds * 100 + 100);
  st.SIGSTP = st.SIGTOP / 10.0F;
  const bool defined = has_value(st.ACONST[0]) && has_value(st.BEXPNT[0]);
  float total = 0.0F;
  for (std::size_t k = 0; k < st.SIGLST.size(); ++k) {
    total += st.SIGSTP;
    st.SIGLST[k] = total;
    st.TAULST[k] = defined ? checked(rounded::pow(total, st.BEXPNT[0]) * st.ACONST[0]) : NO_VALUE;
  }
}

void origin_columns(const Points& p, float POISNR, Strength& st) {
  const float PHIORG = st.PHIORG[0];
  const float phi0 = PI * PHIORG / 180.0F;
  const float factor = (POISNR + 1.0F) * 2.0F / 3.0F;
  for (int t = 1; t <= p.NTESTS; ++t) {
    if (!has_value(PHIORG)) {
      st.CENORG(t) = st.AVPORG(t) = st.CELORG(t) = NO_VALUE;
      continue;
    }
    st.CENORG(t) = checked(rounded::tan(phi0) * p.y(t, 1) + p.x(t, 1));
    st.AVPORG(t) = checked(factor * st.CENORG(t));
    st.CELORG(t) = checked((1.0F - rounded::sin(phi0)) * st.AVPORG(t));
  }
}

void cohesion_columns(const Points& p, float POISNR, Strength& st) {
  const float PHILRG = st.PHILRG[0];
  const float COHESN = st.COHESN[0];
  const float phiL = PI * PHILRG / 180.0F;
  const float factor = (POISNR + 1.0F) * 2.0F / 3.0F;
  for (int t = 1; t <= p.NTESTS; ++t) {
    if (!has_value(PHILRG) || !has_value(COHESN)) {
      st.CENCOH(t) = st.AVPCOH(t) = st.CELCOH(t) = NO_VALUE;
      continue;
    }
    st.CENCOH(t) = checked(rounded::tan(phiL) * p.y(t, 1) + p.x(t, 1));
    st.AVPCOH(t) = checked(factor * st.CENCOH(t));
    const float reduced = (1.0F - rounded::sin(phiL)) * st.AVPCOH(t);
    st.CELCOH(t) = checked(reduced - rounded::cos(phiL) * COHESN);
  }
}

}  // namespace ostrevik::strength
