#pragma once
// One test as the data typed it: every value in the data's own units, no default applied and
// nothing converted. A blank field is 0. The preparing step (input/prepare.h) turns it into the
// run state.
#include <array>
#include <optional>
#include <vector>

#include "model/field_place.h"

namespace ostrevik {

// Record 1 of a constants block: the flags.
struct RawFlags {
  float PDATCH = 0;  // > 0: the readings are only checked
  float PAROUT = 0;  // tables of each test
  float PARREG = 0;  // strength analysis at the end of the input
  float TYPFRA = 0;  // frame type 0, 1 or 2
  float PARLAT = 0;  // > 0: record 4 follows
  float POISNR = 0;  // Poisson's ratio of the soil (0: not given)
};

// Records 2 and 3 of a constants block: the loading frame.
struct RawFrame {
  float WLP1 = 0;    // mass of loading part 1, kg
  float WLP2 = 0;    // mass of loading part 2, kg
  float WBC = 0;     // mass added to every vertical load, kg
  float DIASTB = 0;  // length from the working height to the load line, cm (≤ 0: not given)
  float FRCOEF = 0;  // friction coefficient on the net vertical load
  float TLP1MN = 0;  // length of loading part 1, cm
  float GRINL = 0;   // load-gauge reading without load (0: the gauge reads up), divisions
  float GRSLO = 0;   // load per load-gauge division, kg
  float DVPR = 0;    // loss of working height per load-gauge division, cm (≤ 0: not given)
  float WPR = 0;     // frame mass, kg
  float WHJ = 0;     // frame mass, kg
  float H2 = 0;      // working height of the frame, cm
  float WDM = 0;     // frame mass, kg
  float TMOMDM = 0;  // moment added to the balance of the moving assembly, kg·cm
  float CONDX = 0;   // horizontal displacement gauge, cm per division (0: not given)
  float CONDY = 0;   // vertical displacement gauge, cm per division (0: not given)
  float CONYMP = 0;  // top-cap gauge, cm per division (0: not given)
  float CONRPB = 0;  // piston gauge, cm per division (0: not given)
};

// Record 4 of a constants block: the lateral load.
struct RawLateralLoad {
  float DCLPSB = 0;  // horizontal distance of the spring balances' fixed point, cm
  float HTFPSB = 0;  // height of the spring balances' fixed point, cm
  float HTFSB = 0;   // height entering the height of the lateral load, cm
  float LYOK = 0;    // length of the lateral-load yoke, cm
  float WYK = 0;     // mass of the yoke, kg
  float ASPBL1 = 0;  // spring balance 1: load at reading 0, kg
  float DSPBL1 = 0;  // spring balance 1: load per division, kg
  float ASPBL2 = 0;  // spring balance 2: load at reading 0, kg
  float DSPBL2 = 0;  // spring balance 2: load per division, kg
};

// Records 1 to 4: a constants block.
struct RawConstants {
  RawFlags flags;                         // record 1
  RawFrame frame;                         // records 2 and 3
  std::optional<RawLateralLoad> lateral;  // record 4, present when PARLAT > 0
};

// Records 5 and 6: the specimen.
struct RawSpecimen {
  float ALFN = 0;    // mould angle, degrees
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
  float DH = 0;      // shift of the plane from the mould joint, cm
  float DH2 = 0;     // > 0: shift at the trailing end of the soil wedge, cm
  float PARFPL = 0;  // shear-plane geometry
  float PFIXDR = 0;  // 2, 3: record 7 follows; 1, 3: the next test begins with constants
  float PSPBDL = 0;  // 1: both spring balances are read
  float RNREAD = 0;  // number of readings; above 40: record 6a follows and gives it
};

// Record 6a: the soil.
struct RawSoil {
  float RNREAD = 0;  // number of readings
  float GS = 0;      // specific gravity of the grains
  float WCINL = 0;   // initial water content, fraction
};

// Record 7: the mould, in place of a standard mould set.
struct RawMould {
  float DIAOUT = 0;  // outer diameter of the top mould, cm
  float HTLOWR = 0;  // height of the top mould's straight wall, cm
  float XBARQT = 0;  // lateral-load point on the top mould, along the plane, cm
  float YBARQT = 0;  // lateral-load point on the top mould, across the plane, cm
  float HTMOLD = 0;  // height of the mould, cm
  float WTMEMP = 0;  // mass of the empty mould, kg
  float WADDTM = 0;  // mass added to the top mould, kg
  float TMOMAV = 0;  // moment of the added mass, vertical lever, kg·cm
  float TMOMAH = 0;  // moment of the added mass, horizontal lever, kg·cm
};

// One readings record.
struct RawReading {
  float TIMHR = 0;   // hour of the reading, h (0: the hour of the reading before)
  float TIMMN = 0;   // minutes of the reading, min
  float DXABS = 0;   // horizontal displacement gauge, divisions
  float DY1ABS = 0;  // vertical displacement gauge, divisions
  float DTMLP2 = 0;  // top-cap gauge, divisions
  float DRPB = 0;    // piston gauge, divisions
  float GRREAD = 0;  // vertical-load gauge, divisions
  int IPARFL = 0;    // flag of the reading (≠ 0 freezes a free plane)
  float SPBRD1 = 0;  // spring balance 1, divisions
  float HTFYKS = 0;  // lateral-yoke level, cm
  float DECLYK = 0;  // lateral-yoke offset, cm
  float SPBRD2 = 0;  // spring balance 2, divisions
};

// A title record: 80 columns of CP857 bytes.
using TitleRecord = std::array<char, 80>;

struct RawTest {
  std::optional<RawConstants> constants;  // records 1 to 4 when the test begins with them
  std::array<TitleRecord, 3> TITLES{};    // the three title records
  RawSpecimen specimen;                   // records 5 and 6
  std::optional<RawSoil> soil;            // record 6a, present when record 6 announces it
  std::optional<RawMould> mould;          // record 7, present with PFIXDR 2 or 3
  std::vector<RawReading> readings;       // the readings records in their order
  // Where the data typed the values of records 5 to 7, by name, "NREAD" the count of readings
  // in force; a name given twice stands where it was typed last. Empty when the source has no
  // lines and columns.
  std::vector<PlacedField> places;
};

}  // namespace ostrevik
