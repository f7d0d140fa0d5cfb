#pragma once
// The run-wide named values. Every quantity lives for the whole run and is overwritten test by
// test; values that a step does not set keep what an earlier test or reading left. Names are
// those of the report's labels and column headings.
#include <array>
#include <cmath>

#include "model/arrays.h"

namespace ostrevik {

inline constexpr float PI = 3.141593F;

// Radians to the degrees of the report: × 180 / PI, in this order.
inline float degrees(float radians) {
  return radians * 180.0F / PI;
}

inline constexpr float CKPA_VALUE = 98.07F;  // kg/cm² to kPa
inline constexpr float GACC_VALUE = 9.807F;  // kg to N

// A real truncated toward zero to an integer; values beyond the integer range saturate.
inline int truncate_to_int(float x) {
  if (std::isnan(x)) return 0;
  if (x >= 2147483648.0F) return 2147483647;
  if (x <= -2147483648.0F) return -2147483647 - 1;
  return static_cast<int>(x);
}

// Records 1 to 4 of a constants block, their defaults, and the frame masses.
struct Constants {
  // record 1, flags
  float PDATCH = 0, PAROUT = 0, PARREG = 0, TYPFRA = 0, PARLAT = 0, POISNR = 0;
  int IPARRG = 0;
  float PARINC = 0;  // frame type 0, 1 or 2 after the defaults
  // records 2 and 3, loading frame
  float WLP1 = 0, WLP2 = 0, WBC = 0, DIASTB = 0, FRCOEF = 0, TLP1MN = 0, GRINL = 0, GRSLO = 0,
        DVPR = 0;
  float WPR = 0, WHJ = 0, H2 = 0, WDM = 0, TMOMDM = 0, CONDX = 0, CONDY = 0, CONYMP = 0, CONRPB = 0;
  // record 4, lateral load (kept from an earlier block, or 0, when not read)
  float DCLPSB = 0, HTFPSB = 0, HTFSB = 0, LYOK = 0, WYK = 0, ASPBL1 = 0, DSPBL1 = 0, ASPBL2 = 0,
        DSPBL2 = 0;
  // fixed constants set with the block
  float DENSTL = 0, DENSWD = 0, VPTI = 0;
  // frame masses, once per block
  float RMLC = 0, RMPR = 0;
};

// Records 5, 6, 6a and 7 of a test, or the standard mould set.
struct Specimen {
  float ALFN = 0, DIAIN = 0, ANGSEL = 0, APPSEL = 0, WSPPTM = 0, HEMPTY = 0, HDISC = 0, D1 = 0,
        D2 = 0;
  float D3 = 0, CLRNCE = 0, VPI = 0, DH = 0, DH2 = 0, PARFPL = 0, PFIXDR = 0, PSPBDL = 0,
        RNREAD = 0;
  float GS = 0, WCINL = 0;  // record 6a (kept from an earlier test when absent)
  float PARSOL = 0;         // 1 when record 6a was read
  float DIASP = 0;          // copy of DIAIN
  // mould constants
  float DIAOUT = 0, HTLOWR = 0, XBARQT = 0, YBARQT = 0, HTMOLD = 0, WTMEMP = 0, WADDTM = 0,
        TMOMAV = 0, TMOMAH = 0;
  std::array<char, 80> TITLE{};                  // the title record last read
  std::array<std::array<char, 80>, 3> TITLES{};  // the three title records of the test
};

// What persists across the tests of a run beyond the constants block.
struct Persisting {
  int ISET = 0;     // standard mould set number of the last selection (0 before any)
  float H2ACT = 0;  // working height: H2 of the block, or as the last readings left it
};

// Results of the set-up of a test.
struct Setup {
  float RM = 0, WD = 0, WSOLG = 0, VOLSOL = 0, DENSOL = 0, DDENSL = 0, SATINL = 0, VOIDR = 0;
  float CKPA = 0, GACC = 0, SIN4 = 0, COS4 = 0, WDMLP2 = 0;
  float SINN = 0, COSN = 0, COTN = 0, ALFRAD = 0, ALFA = 0, SINA = 0, COSA = 0, COTA = 0;
  float CLRS = 0, CLRH = 0, TWALL = 0, DIFDIA = 0, DIFDH = 0, HTLOWS = 0, DH1 = 0, XSHIFT = 0,
        XWALL = 0, DINSQ = 0, DOUTSQ = 0, HCOTD = 0, HCOTA = 0, DSPSQ = 0, DMAJOR = 0, DCOSA = 0,
        DOITRM = 0, DOITR2 = 0;
  float XQTOFS = 0, YQTOFS = 0, HQTLAT = 0;
  float WTM = 0, XBARTM = 0, YBARTM = 0, WTMC = 0, XBRTMC = 0, YBRTMC = 0;
  float WS = 0, XBARS = 0, YBARS = 0, SW = 0;
  float W = 0, X1C = 0, Y1C = 0, XTMO1 = 0, YTMO1 = 0;
  float SUMWY = 0;  // moment sum whose quotient by W is Y1C
  // working values of the reading loop
  float RMW = 0, XTMOW = 0, YTMOW = 0, DIAW = 0, DOITRW = 0, HTDS = 0, CLRW = 0, TWALLW = 0,
        VPIW = 0, FRCW = 0, XLEN1 = 0, XLEN2 = 0, XLEN3 = 0, RADW1 = 0, RADW2 = 0, HCOTW = 0,
        ONEW = 0;
  int NREAD = 0;
};

// Readings of the current test and their conversion.
struct Readings {
  RArr TIMHR, TIMMN, DXABS, DY1ABS, DTMLP2, DRPB, GRREAD, SPBRD1, HTFYKS, DECLYK, SPBRD2;
  IArr IPARFL, INDEX;
  RArr TIMACT, TCLOCK, T, P, QSPBAL, WQNC;
  float DXZRO = 0, DYZRO = 0, DTMZRO = 0, DRPZRO = 0, SPBF1 = 0, SPBF2 = 0, WQW = 0;
};

// Per-reading results of the evaluation.
struct Results {
  RArr U, V, UBAR, VBAR, BETABC, ACNB, TNNB, SSNB, SOVRNB, DEVNB, TNSAVP, SSAVP, DEVIBA, TMOMA,
      ERUABS, TNSAVE, SS, SOVERN, USTRN, VSTRN, DEVIB, PERSMA, GRDQC, ANGLQ, DEVREC, AC, SECMOM,
      TNSMAX, TNSMIN, TMOM, XFC, YFORCE, GRSBAL, DIFMOM, ALPHAR, ALPHA, DEVIBT, DEVRPT, DEVJNR,
      DEVVPI, VPITT, VPIT, RMV, SLATLD, QLAT, DVOVDU, AVPRST;
  int IMAXP = 0, IEND = 0, IPKST = 0;
  int NEVAL = 0;  // readings of the test evaluated so far
};

// Working values of the reading loop and its routines; they carry over from one reading to
// the next.
struct Work {
  float UCUR = 0, VCUR = 0, DXC = 0, DYC = 0, HLOAD = 0, LARM = 0, BETRAD = 0, PSI = 0, SINPSI = 0,
        COSPSI = 0, HLOWT = 0;
  // forces and stresses
  float FNORM = 0, FSHEAR = 0, SIGN = 0, TAUN = 0, USTR = 0, VSTR = 0, QLATX = 0, QLATY = 0,
        XFRC = 0, YFRC = 0;
  // moment and edge stresses
  float SMOM = 0, PMOM = 0, BSTR = 0, DEVP = 0, SMAX = 0, SMIN = 0;
  // contact area
  float RMAJ = 0, RAB = 0, BOVL = 0, GOVL = 0, ACONT = 0, SECMW = 0, PHALF = 0, PLEN = 0;
  // lateral-load angles
  float GRDQR = 0, GRSBR = 0, ANGQR = 0, CGRDQ = 0;
  // free shear plane
  float ALFNEW = 0, ALFREL = 0, SINAN = 0, COSAN = 0, SINREL = 0, COSREL = 0, FPLEN = 0, CREL = 0;
  // load-line variants
  float ELINE = 0, VPLT = 0;
  // tension on the shear plane
  int JJ = 0, INXDU = 0, N1ACAL = 0;
  bool T1AHDR = false;  // Table 1A header written for this test
  int NPARFL = 0;
};

// Peak and end values of every test, kept for the strength analysis.
struct PerTest {
  Table SIGA, TAUA;
  Arr<float, MAXTS> DVDUPK, FIPK, DVDUEN, FIEN;
  Arr<bool, MAXTS> STORED;  // the test's values were stored
};

// Results of the strength analysis, per case and per test.
struct Strength {
  int IANMOD = 0;
  std::array<float, NCASE> COFCOR{}, CORZRO{}, PHIORG{}, COHESN{}, PHILRG{}, BEXPNT{}, ACONST{};
  std::array<float, NCASE> COFLOG{};  // correlation of the logarithms (second pass)
  float SIGTOP = 0, SIGSTP = 0;
  std::array<float, 10> SIGLST{}, TAULST{};
  Arr<float, MAXTS> CENORG, AVPORG, CELORG, CENCOH, AVPCOH, CELCOH;
};

// Counters of the run driver.
struct Counters {
  int NTEST = 0, NTESTS = 0, NNEG = 0, NEGFLG = 0;
  Arr<int, MAXTS> NEGTST, NEGCNT;
};

struct Run {
  Constants c;
  Specimen s;
  Persisting p;
  Setup u;
  Readings r;
  Results o;
  Work w;
  PerTest pt;
  Strength st;
  Counters n;
};

}  // namespace ostrevik
