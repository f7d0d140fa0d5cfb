#pragma once
// The run-wide named values: the glossary of the program. Every quantity lives for the whole
// run and is overwritten test by test; values that a step does not set keep what an earlier
// test or reading left. Names are those of the report's labels and column headings. Each field
// says its meaning and unit; where a step changes the unit of a value in place, the field says
// which step and into what.
#include <array>
#include <cmath>

#include "model/arrays.h"
#include "model/kernels.h"

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
  float PDATCH = 0;  // > 0: the readings are only checked, nothing is evaluated
  float PAROUT = 0;  // tables of each test: 0 all with load-line variants, 6, 7, 8, other
  float PARREG = 0;  // strength analysis at the end of the input, as read
  float TYPFRA = 0;  // frame type as read; a 2 becomes 0 when PARINC takes it over
  float PARLAT = 0;  // > 0: the tests have lateral loads and record 4 is read
  float POISNR = 0;  // Poisson's ratio of the soil (0 read is 0.3)
  int IPARRG = 0;    // whole part of PARREG
  float PARINC = 0;  // frame type 0, 1 or 2 after the defaults
  // records 2 and 3, loading frame
  float WLP1 = 0;    // mass of loading part 1, kg
  float WLP2 = 0;    // mass of loading part 2, kg
  float WBC = 0;     // mass added to every vertical load, kg
  float DIASTB = 0;  // length from the working height to the load line, cm
  float FRCOEF = 0;  // friction coefficient on the net vertical load
  float TLP1MN = 0;  // length of loading part 1, cm
  float GRINL = 0;   // load-gauge reading without load (0: the gauge reads up), divisions
  float GRSLO = 0;   // load per load-gauge division, kg
  float DVPR = 0;    // loss of working height per load-gauge division, cm
  float WPR = 0;     // frame mass, kg
  float WHJ = 0;     // frame mass, kg
  float H2 = 0;      // working height of the frame, cm
  float WDM = 0;     // frame mass, kg
  float TMOMDM = 0;  // moment added to the balance of the moving assembly, kg·cm
  float CONDX = 0;   // horizontal displacement gauge, cm per division
  float CONDY = 0;   // vertical displacement gauge, cm per division
  float CONYMP = 0;  // top-cap gauge, cm per division
  float CONRPB = 0;  // piston gauge, cm per division
  // record 4, lateral load (kept from an earlier block, or 0, when not read)
  float DCLPSB = 0;  // horizontal distance of the spring balances' fixed point, cm
  float HTFPSB = 0;  // height of the spring balances' fixed point, cm
  float HTFSB = 0;   // height entering the height of the lateral load, cm
  float LYOK = 0;    // length of the lateral-load yoke, cm
  float WYK = 0;     // mass of the yoke, kg
  float ASPBL1 = 0;  // spring balance 1: load at reading 0, kg
  float DSPBL1 = 0;  // spring balance 1: load per division, kg
  float ASPBL2 = 0;  // spring balance 2: load at reading 0, kg
  float DSPBL2 = 0;  // spring balance 2: load per division, kg
  // fixed constants set with the block
  float DENSTL = 0;  // density of steel, g/ml
  float DENSWD = 0;  // density of the wooden disc, g/ml
  float VPTI = 0;    // length of the piston tip, cm
  // frame masses, once per block
  float RMLC = 0;  // frame resistance for a working height up to 16 cm, kg
  float RMPR = 0;  // frame resistance for a working height above 16 cm, kg
};

// Records 5, 6, 6a and 7 of a test, or the standard mould set.
struct Specimen {
  // records 5 and 6
  float ALFN = 0;    // mould angle, degrees as read
  float DIAIN = 0;   // inner diameter of the mould = specimen diameter, cm
  float ANGSEL = 0;  // angle that chooses the standard mould set, degrees
  float APPSEL = 0;  // 1 or 2: chooses between the two 30-degree sets
  float WSPPTM = 0;  // mass of the specimen in its mould with the disc, kg
  float HEMPTY = 0;  // empty height of the mould above the specimen, cm
  float HDISC = 0;   // thickness of the wooden disc, cm
  float D1 = 0;      // dimension D1 of the loading parts, cm
  float D2 = 0;      // dimension D2 of the loading parts, cm
  float D3 = 0;      // dimension D3 of the loading parts, cm
  float CLRNCE = 0;  // clearance between the mould halves, cm
  float VPI = 0;     // penetration of the piston at the start, cm
  float DH = 0;      // shift of the plane from the mould joint, cm, as read
  float DH2 = 0;     // > 0: shift at the trailing end of the soil wedge, cm
  float PARFPL = 0;  // shear-plane geometry: 1 from the clearance, ≠ 0 with DH 0 a free plane
  float PFIXDR = 0;  // 2, 3: record 7 read; 1, 3: the next test begins with constants
  float PSPBDL = 0;  // 1: both spring balances are read
  float RNREAD = 0;  // number of readings, of record 6a when the test has it
  // record 6a (kept from an earlier test when absent)
  float GS = 0;      // specific gravity of the grains
  float WCINL = 0;   // initial water content, fraction
  float PARSOL = 0;  // 1 when record 6a was read for this test
  float DIASP = 0;   // specimen diameter, a copy of DIAIN, cm
  // record 7 or the standard mould set
  float DIAOUT = 0;  // outer diameter of the top mould, cm
  float HTLOWR = 0;  // height of the top mould's straight wall, cm
  float XBARQT = 0;  // lateral-load point on the top mould, along the plane, cm
  float YBARQT = 0;  // lateral-load point on the top mould, across the plane, cm
  float HTMOLD = 0;  // height of the mould, cm
  float WTMEMP = 0;  // mass of the empty mould, kg
  float WADDTM = 0;  // mass added to the top mould, kg
  float TMOMAV = 0;  // moment of the added mass, vertical lever, kg·cm
  float TMOMAH = 0;  // moment of the added mass, horizontal lever, kg·cm
  std::array<std::array<char, 80>, 3> TITLES{};  // the three title records of the test, CP857
};

// What persists across the tests of a run beyond the constants block.
struct Persisting {
  int ISET = 0;     // standard mould set number of the last selection (0 before any)
  float H2ACT = 0;  // working height, cm: H2 of the block, or as the last readings left it
};

// Results of the set-up of a test, and the values the reading loop works with.
struct Setup {
  // soil
  float RM = 0;      // frame resistance of the set-up, kg
  float WD = 0;      // mass of the wooden disc, kg
  float WSOLG = 0;   // mass of the soil, g
  float VOLSOL = 0;  // volume of the soil, cm³
  float DENSOL = 0;  // density of the soil, g/cm³
  float DDENSL = 0;  // dry density, g/cm³ (with record 6a)
  float SATINL = 0;  // degree of saturation, fraction (with record 6a)
  float VOIDR = 0;   // void ratio (with record 6a)
  // factors and angles
  float ALFNR = 0;   // mould angle, rad
  float ALFNDG = 0;  // mould angle back from ALFNR, degrees: the echo's ALFN
  float DHPLAN = 0;  // DH of the plane's geometry, cm: 88 marks a shift that differs at the two
                     // ends of the soil wedge (DH2 > 0 without PARFPL 1), as the report shows it
  float CKPA = 0;    // kg/cm² to kPa
  float GACC = 0;    // kg to N
  float SIN4 = 0;    // sine of 4 degrees, the lateral load's tilt in the load-line balance
  float COS4 = 0;    // cosine of 4 degrees
  float WDMLP2 = 0;  // WDM + WLP2, kg
  float SINN = 0;    // sine of the mould angle
  float COTN = 0;    // cotangent of the mould angle
  float ALFRAD = 0;  // inclination of the shear plane, rad
  float ALFA = 0;    // inclination of the shear plane, degrees
  float SINA = 0;    // sine of ALFRAD
  float COSA = 0;    // cosine of ALFRAD
  float COTA = 0;    // cotangent of ALFRAD
  // geometry of the mould and the plane, cm
  float CLRS = 0;    // clearance over the sine of the mould angle
  float CLRH = 0;    // CLRS / 2
  float TWALL = 0;   // wall thickness of the top mould
  float DIFDIA = 0;  // DIAIN − DIASP
  float DIFDH = 0;   // DIFDIA / 2
  float HTLOWS = 0;  // height of the soil in the straight part of the top mould
  float DH1 = 0;     // shift at the leading end of the soil wedge (when DH2 > 0)
  float XSHIFT = 0;  // offset of the plane from the mould axis
  float XWALL = 0;   // COTN · TWALL
  float DINSQ = 0;   // DIAIN², cm²
  float DOUTSQ = 0;  // DIAOUT², cm²
  float HCOTD = 0;   // COTN · DIAIN / 2
  float HCOTA = 0;   // COTA · DIASP / 2
  float DSPSQ = 0;   // DIASP², cm²
  float DOITRM = 0;  // DCOSA / 2 + HTLOWS + HDISC + TLP1MN
  float DOITR2 = 0;  // DCOSA / 2 + DOITRM + CLRH
  float XQTOFS = 0;  // XSHIFT + XBARQT
  float YQTOFS = 0;  // DIFDH + YBARQT
  float HQTLAT = 0;  // height of the lateral-load point
  // masses (kg) and centres of gravity (cm)
  float WTM = 0;     // top mould, the ring alone
  float XBARTM = 0;  // centre of gravity of WTM, along the load P
  float YBARTM = 0;  // centre of gravity of WTM, across the load P
  float WTMC = 0;    // top mould with its additions
  float XBRTMC = 0;  // centre of gravity of WTMC, along the load P
  float YBRTMC = 0;  // centre of gravity of WTMC, across the load P
  float WS = 0;      // soil wedge above the plane
  float XBARS = 0;   // centre of gravity of WS, along the load P
  float YBARS = 0;   // centre of gravity of WS, across the load P
  float SW = 0;      // WTM + WS + WD + WDM + WADDTM
  float W = 0;       // moving assembly
  float X1C = 0;     // centre of gravity of W, along the load P
  float Y1C = 0;     // centre of gravity of W, across the load P
  float XTMO1 = 0;   // X1C − XSHIFT
  float YTMO1 = 0;   // Y1C − DIFDH
  float SUMWY = 0;   // moment sum whose quotient by W is Y1C, kg·cm
  // working values of the reading loop (kg, cm)
  float XTMOW = 0;   // XTMO1
  float YTMOW = 0;   // YTMO1
  float DIAW = 0;    // specimen diameter
  float DOITRW = 0;  // DOITRM
  float VPIW = 0;    // piston penetration at the start
  float FRCW = 0;    // FRCOEF
  float XLEN1 = 0;   // trace of the plane along the load P
  float XLEN2 = 0;   // COTA · DIAW / 2 + HTDS
  float XLEN3 = 0;   // DIAW / 2 + TWALLW
  float RADW1 = 0;   // specimen radius
  float RADW2 = 0;   // specimen radius
  float HCOTW = 0;   // DIAW · COTN / 2
  int NREAD = 0;     // number of readings of the test
};

// The readings of the current test converted from the divisions of the data (RawTest) to cm
// and kg; the report's mm and N are in Results.
struct Readings {
  RArr DXABS;     // horizontal displacement from reading 1, cm
  RArr DY1ABS;    // vertical displacement from reading 1, cm
  RArr DTMLP2;    // top-cap displacement from reading 1, less VPI, cm
  RArr DRPB;      // piston displacement from reading 1, cm
  RArr HTFYKS;    // lateral-yoke level, cm
  RArr DECLYK;    // lateral-yoke offset, cm
  IArr IPARFL;    // flag of the reading (≠ 0 freezes a free plane)
  IArr INDEX;     // passes of the rotation iteration of the reading
  RArr TIMACT;    // time of day as hours + minutes / 100
  RArr TCLOCK;    // time of day, min
  RArr T;         // time from reading 1, min
  RArr P;         // vertical load, kg
  RArr QSPBAL;    // lateral load from the spring balances, kg (0: none at this reading)
  RArr WQNC;      // yoke mass with a lateral load, kg
  float WQW = 0;  // yoke mass of the reading last converted, kg
};

// One row of Table 1A: a no-tension correction of the evaluation with rotation (JJ 1) or on
// the free plane (JJ 2).
struct TensionRow {
  float T = 0;       // time of the reading, min
  float BETA = 0;    // rotation of the upper wedge, degrees
  float VPIARG = 0;  // piston offset, cm
  float DRPARG = 0;  // lower-end length, cm
  float DCOMCL = 0;  // boundary of the compressed part by the rectangular rule, cm
  float DCOMPU = 0;  // boundary of the compressed part found by the search, cm
  float PCOMTL = 0;  // compressed length, % of the contact length
  int INXDU = 0;     // passes of the boundary search
  float SHS = 0;     // shear stress on the compressed part, kPa
  float TNS = 0;     // normal stress on the compressed part, kPa
  float PERSHS = 0;  // shear stress by the rectangular rule against SHS, %
  float SIGMAX = 0;  // normal stress at the compressed edge, kPa
  int JJ = 0;        // the evaluation corrected: 1 with rotation, 2 on the free plane
};

// Displacements of the reading loop on the plane, cm; Results has them in mm for the report.
struct PlaneCm {
  RArr U;      // displacement along the plane
  RArr V;      // displacement normal to the plane
  RArr UBAR;   // U corrected for the rotation of the upper wedge
  RArr VBAR;   // V corrected for the rotation
  RArr VPITT;  // piston penetration of the computed load line
  RArr VPIT;   // piston penetration
};

// Per-reading results of the evaluation, in report units (mm, kPa, N, N·cm, %, degrees) unless
// the field says otherwise. The lengths in mm are written from the cm values after the loop.
struct Results {
  RArr U;         // displacement along the plane, mm
  RArr V;         // displacement normal to the plane, mm
  RArr UBAR;      // U corrected for the rotation of the upper wedge, mm
  RArr VBAR;      // V corrected for the rotation, mm
  RArr BETABC;    // rotation of the upper wedge, degrees
  RArr ACNB;      // contact area without rotation, cm²
  RArr TNNB;      // normal stress without rotation, kPa
  RArr SSNB;      // shear stress without rotation, kPa
  RArr SOVRNB;    // SSNB / TNNB
  RArr DEVNB;     // edge bending stress without rotation, % of the normal stress
  RArr TNSAVP;    // normal stress with rotation on the mould plane, kPa
  RArr SSAVP;     // shear stress with rotation on the mould plane, kPa
  RArr DEVIBA;    // edge bending stress with rotation on the mould plane, %
  RArr TMOMA;     // moment with rotation on the mould plane, N·cm
  RArr ERUABS;    // shift of the displacement on the free plane, mm
  RArr TNSAVE;    // normal stress, kPa
  RArr SS;        // shear stress, kPa
  RArr SOVERN;    // SS / TNSAVE
  RArr USTRN;     // displacement along the plane, % of the contact length
  RArr VSTRN;     // displacement normal to the plane, % of the contact length
  RArr DEVIB;     // edge bending stress, % of the normal stress
  RArr PERSMA;    // second moment of the rectangle against that of the contact area, %
  RArr GRDQC;     // inclination of the yoke, degrees
  RArr ANGLQ;     // direction of the lateral load, degrees
  RArr DEVREC;    // edge bending stress by the rectangular rule, %
  RArr AC;        // contact area, cm²
  RArr SECMOM;    // second moment of the contact area, cm⁴
  RArr TNSMAX;    // normal stress at the more compressed edge, kPa
  RArr TNSMIN;    // normal stress at the other edge, kPa
  RArr TMOM;      // moment about the centroid of the contact area, N·cm
  RArr XFC;       // resultant along the load P, N
  RArr YFORCE;    // resultant across the load P, N
  RArr GRSBAL;    // inclination of the bar, degrees
  RArr DIFMOM;    // TMOMA − TMOM, N·cm
  RArr ALPHAR;    // inclination of the plane relative to the upper wedge, degrees
  RArr ALPHA;     // inclination of the plane, degrees
  RArr DEVIBT;    // edge bending stress, computed load line, %
  RArr DEVRPT;    // edge bending stress, rotated piston point, %
  RArr DEVJNR;    // edge bending stress, load line at the joint, %
  RArr DEVVPI;    // edge bending stress, load line at the piston tip, %
  RArr VPITT;     // piston penetration of the computed load line, mm
  RArr VPIT;      // piston penetration, mm
  RArr DXABS;     // horizontal displacement from reading 1, mm
  RArr DY1ABS;    // vertical displacement from reading 1, mm
  RArr DTMLP2;    // top-cap displacement from reading 1, less VPI, mm
  RArr DRPB;      // piston displacement from reading 1, mm
  RArr HTFYKS;    // lateral-yoke level, mm
  RArr DECLYK;    // lateral-yoke offset, mm
  RArr P;         // vertical load, N
  RArr WQNC;      // yoke mass with a lateral load, N
  RArr RMR;       // frame resistance of the reading: the set-up's RM, or (PARINC 1) from the
                  // reading's horizontal displacement, kg
  RArr RMV;       // frame resistance (frame type > 0), N
  RArr SLATLD;    // effective lateral load, N
  RArr QLAT;      // effective lateral load, kg
  RArr DVOVDU;    // rate of dilatancy dVBAR/dUBAR
  RArr AVPRST;    // mean principal stress, kPa
  int IMAXP = 0;  // reading of peak strength
  int IEND = 0;   // reading taken as the end of the test
  int IPKST = 0;  // state in which the peak search ended: 1 rising, 2 past a drop
  Arr<TensionRow, MAX_TENSION_CALLS> T1A;  // rows of Table 1A, in the order they arose
  int NT1A = 0;                            // rows of Table 1A recorded for this test
  int NEVAL = 0;                           // readings of the test evaluated so far
  int NBACK = 0;                           // readings evaluated with backward shear beyond 0.4 mm
};

// Working values of the reading loop and its routines (kg, cm, kg/cm², radians); they carry
// over from one reading to the next.
struct Work {
  float UCUR = 0;    // current displacement along the plane
  float VCUR = 0;    // current displacement normal to the plane
  float DXC = 0;     // current horizontal displacement
  float DYC = 0;     // current vertical displacement
  float HLOAD = 0;   // height of the load line above the top of the specimen
  float LARM = 0;    // lever arm of the rotation of the upper wedge
  float BETRAD = 0;  // rotation of the upper wedge
  float SINPSI = 0;  // sine of PSI
  float COSPSI = 0;  // cosine of PSI
  float HLOWT = 0;   // height of the lower end under the load line
  // the latest result of each kernel (see model/kernels.h)
  ContactArea area;           // contact area
  Forces forces;              // forces and mean stresses
  Moment moment;              // moment and edge stresses
  LateralLoadAngles lateral;  // angles of the lateral load
  // free shear plane
  float ALFNEW = 0;  // inclination of the plane
  float ALFREL = 0;  // ALFNEW − BETRAD
  float SINAN = 0;   // sine of ALFNEW
  float COSAN = 0;   // cosine of ALFNEW
  float SINREL = 0;  // sine of ALFREL
  float COSREL = 0;  // cosine of ALFREL
  float FPLEN = 0;   // trace length of the plane
  float CREL = 0;    // COSREL on a free plane, COSA on the mould plane
  // tension on the shear plane
  int JJ = 0;      // the evaluation that called the no-tension correction (1 to 7)
  int INXDU = 0;   // passes of the last boundary search
  int N1ACAL = 0;  // calls of the no-tension correction in this test
  int NPARFL = 0;  // flagged readings evaluated in this test
};

// Peak and end values of every test, kept for the strength analysis.
struct PerTest {
  Table SIGA;                // normal stresses of the six cases, kPa
  Table TAUA;                // shear stresses of the six cases, kPa
  Arr<float, MAXTS> DVDUPK;  // rate of dilatancy at the peak
  Arr<float, MAXTS> FIPK;    // friction angle at the peak, degrees
  Arr<float, MAXTS> DVDUEN;  // rate of dilatancy at the end
  Arr<float, MAXTS> FIEN;    // friction angle at the end, degrees
  Arr<bool, MAXTS> STORED;   // the test's values were stored
};

// Results of the strength analysis, per case and per test (stresses in kPa, angles in
// degrees). A value the data do not determine is NaN.
struct Strength {
  std::array<float, NCASE> COFCOR{};  // correlation coefficient of the straight line
  std::array<float, NCASE> CORZRO{};  // correlation coefficient of the line through the origin
  std::array<float, NCASE> PHIORG{};  // friction angle of the line through the origin
  std::array<float, NCASE> COHESN{};  // cohesion of the straight line, kPa
  std::array<float, NCASE> PHILRG{};  // friction angle of the straight line
  std::array<float, NCASE> BEXPNT{};  // exponent B of the power law τ = A·σ^B
  std::array<float, NCASE> ACONST{};  // factor A of the power law
  std::array<float, NCASE> COFLOG{};  // correlation coefficient of the logarithms (second pass)
  float SIGHI = 0;                    // normal stress of the last stored test, case 1
  float SIGTOP = 0;                   // SIGHI raised to the next hundred
  float SIGSTP = 0;                   // step of the power-law line, SIGTOP / 10
  std::array<float, 10> SIGLST{};     // normal stresses of the power-law line
  std::array<float, 10> TAULST{};     // shear strengths of case 1 at SIGLST
  Arr<float, MAXTS> CENORG;           // normal stress on the envelope through the origin, per test
  Arr<float, MAXTS> AVPORG;           // mean principal stress from CENORG
  Arr<float, MAXTS> CELORG;           // equivalent cell pressure from CENORG
  Arr<float, MAXTS> CENCOH;           // normal stress on the envelope with cohesion, per test
  Arr<float, MAXTS> AVPCOH;           // mean principal stress from CENCOH
  Arr<float, MAXTS> CELCOH;           // equivalent cell pressure from CENCOH
};

// Counters of the run driver.
struct Counters {
  int NTEST = 0;           // number of the current test
  int NNEG = 0;            // tests with backward shear beyond 0.4 mm
  Arr<int, MAXTS> NEGTST;  // their test numbers
  Arr<int, MAXTS> NEGCNT;  // their readings with backward shear
};

struct Run {
  Constants c;   // the constants block in force
  Specimen s;    // the specimen records of the current test
  Persisting p;  // what persists across tests
  Setup u;       // the set-up of the current test
  Readings r;    // the readings of the current test
  PlaneCm cm;    // the displacements of the reading loop, cm
  Results o;     // the results of the current test
  Work w;        // the working values of the reading loop
  PerTest pt;    // peak and end values of every test
  Strength st;   // the strength analysis
  Counters n;    // the driver's counters
};

}  // namespace ostrevik
