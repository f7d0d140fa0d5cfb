#include "catalogue/catalogue.h"

#include <array>
#include <stdexcept>
#include <string>

namespace ostrevik::catalogue {
namespace {

// An entry whose unit the report writes as the exports do.
constexpr Entry q(std::string_view name, std::string_view unit, int decimals,
                  std::string_view meaning) {
  return {name, unit, unit, decimals, meaning};
}

// An entry whose unit the report writes otherwise.
constexpr Entry q(std::string_view name, std::string_view unit, std::string_view report_unit,
                  int decimals, std::string_view meaning) {
  return {name, unit, report_unit, decimals, meaning};
}

// clang-format off
constexpr auto kEntries = std::to_array<Entry>({
    // Table 1
    q("T", "dak", 1, "time since the first reading"),
    q("BETABC", "der", 2, "rotation of the upper soil wedge"),
    q("UBAR", "mm", 1, "displacement along the shear plane, corrected for the rotation"),
    q("U", "mm", 1, "displacement along the shear plane from the gauges alone"),
    q("VBAR", "mm", 1, "displacement normal to the shear plane, corrected for the rotation"),
    q("V", "mm", 1, "displacement normal to the shear plane from the gauges alone"),
    q("SS", "kPa", 1, "mean shear stress on the shear plane"),
    q("SSNB", "kPa", 1, "mean shear stress of the simple analysis"),
    q("TNSAVE", "kPa", 1, "mean normal stress on the shear plane"),
    q("TNNB", "kPa", 1, "mean normal stress of the simple analysis"),
    q("SOVERN", "oran", 3, "stress ratio SS / TNSAVE"),
    q("SOVRNB", "oran", 3, "stress ratio SSNB / TNNB"),
    q("TNSMAX", "kPa", 1, "mean normal stress plus the bending stress"),
    q("TNSMIN", "kPa", 1, "mean normal stress minus the bending stress"),
    q("VPIT", "mm", 1, "piston penetration"),
    q("VPITT", "mm", 2, "piston penetration of the computed load line"),
    q("INDEX", "sayı", 0, "passes of the rotation iteration"),
    q("IPARFL", "sayı", 0, "flag of the readings record"),
    q("P", "N", 0, "load of the frame on the specimen"),
    // Table 2
    q("USTRN", "%", 2, "shear displacement in % of the contact length"),
    q("VSTRN", "%", 2, "normal displacement in % of the contact length"),
    q("AC", "cm2", "cm 2", 2, "contact area"),
    q("ACNB", "cm2", "cm 2", 2, "contact area of the simple analysis"),
    q("SECMOM", "cm4", "cm 4", 1, "second moment of the contact area"),
    q("PERSMA", "%", 1, "error of the equivalent rectangle's second moment"),
    q("TMOMA", "N.cm", 1, "moment about the centre of the contact area, mould's plane"),
    q("TMOM", "N.cm", 1, "moment about the centre of the contact area, final evaluation"),
    q("DIFMOM", "N.cm", 1, "TMOMA - TMOM"),
    q("DEVREC", "%", 1, "edge bending stress of the equivalent rectangle"),
    q("DEVIBA", "%", 1, "edge bending stress on the mould's plane"),
    q("DEVIB", "%", 1, "edge bending stress of the final evaluation"),
    q("DEVIBT", "%", 1, "edge bending stress, load line at its computed position"),
    q("DEVRPT", "%", 1, "edge bending stress, load line through the rotated piston point"),
    q("DEVJNR", "%", 1, "edge bending stress, load line through the joint"),
    q("DEVVPI", "%", 1, "edge bending stress, load line through the piston tip"),
    q("DEVNB", "%", 1, "edge bending stress of the simple analysis"),
    q("ERUABS", "mm", 1, "shear displacement on the free plane less UBAR"),
    q("RMV", "N", 1, "resistance of the loading frame"),
    // Table 3
    q("DXABS", "mm", 1, "X gauge movement since the first reading"),
    q("DY1ABS", "mm", 1, "Y gauge movement since the first reading"),
    q("DTMLP2", "mm", 1, "top-cap gauge movement less the initial piston penetration"),
    q("DRPB", "mm", 1, "piston gauge movement since the first reading"),
    q("SLATLD", "N", 0, "lateral load on the specimen"),
    q("HTFYKS", "mm", 0, "level of the lateral-load yoke"),
    q("GRSBAL", "der", 2, "inclination of the spring balances' line"),
    q("GRDQC", "der", 2, "inclination of the yoke"),
    q("ANGLQ", "der", 1, "direction of the lateral load from the X axis"),
    q("WQNC", "N", 1, "weight of the yoke carried"),
    q("DECLYK", "mm", 1, "offset of the yoke"),
    q("TNSAVP", "kPa", 1, "mean normal stress on the average plane"),
    q("SSAVP", "kPa", 1, "mean shear stress on the average plane"),
    q("AVPRST", "kPa", 1, "mean principal stress"),
    q("DVOVDU", "oran", 2, "dilatancy rate dVBAR / dUBAR"),
    q("ALPHA", "der", 1, "inclination of the shear plane"),
    q("ALPHAR", "der", 1, "inclination of the free plane less the rotation"),
    q("XFC", "N", 0, "resultant force on the upper part along X"),
    // summary table
    q("YFORCE", "N", 0, "resultant force on the upper part along Y"),

    // general values of a constants block
    q("WLP1", "kg", 2, "mass of loading part 1"),
    q("WLP2", "kg", 2, "mass of loading part 2"),
    q("WBC", "kg", 2, "mass added to every vertical load"),
    q("WDM", "kg", 2, "frame mass"),
    q("WHJ", "kg", 2, "frame mass"),
    q("WPR", "kg", 2, "frame mass"),
    q("DENSTL", "g/ml", 2, "density of the mould's steel"),
    q("DENSWD", "g/ml", 2, "density of the wooden disc"),
    q("FRCOEF", "", 5, "friction coefficient"),
    q("RMLC", "kg", 2, "reference mass of the frame at a low working height"),
    q("RMPR", "kg", 2, "reference mass of the frame at a high working height"),
    q("VPTI", "cm", 2, "length of the piston tip"),
    q("TMOMDM", "kg.cm", 2, "moment added to the moment balance"),
    q("TLP1MN", "cm", 2, "length of loading part 1"),
    q("DIASTB", "cm", 2, "length added to the working height for the load line"),
    q("CONDX", "cm", 5, "X gauge constant, per division"),
    q("CONDY", "cm", 5, "Y gauge constant, per division"),
    q("DVPR", "cm", 6, "loss of working height per load-gauge division"),
    q("CONYMP", "cm", 5, "top-cap gauge constant, per division"),
    q("CONRPB", "cm", 5, "piston gauge constant, per division"),
    q("POISNR", "", 2, "Poisson's ratio"),

    // set-up values: the flags of the constants block and the specimen echo
    q("PAROUT", "", 0, "tables written"),
    q("PARREG", "", 0, "envelopes of the strength analysis"),
    q("TYPFRA", "", 0, "frame type flag"),
    q("PARLAT", "", 0, "lateral-load flag"),
    q("PDATCH", "", 0, "readings check only"),
    q("ALFN", "der", 1, "angle of the mould"),
    q("HTLOWR", "cm", 2, "height of the top mould's straight wall"),
    q("GRINL", "", 0, "load-gauge reading without load, divisions"),
    q("ALFA", "der", "deg", 1, "inclination of the shear plane used"),
    q("DIAIN", "cm", 2, "specimen diameter"),
    q("HTLOWS", "cm", 2, "height of the straight soil above the shear plane"),
    q("D1", "cm", 2, "dimension D1 of the loading parts"),
    q("WTM", "kg", 2, "mass of the top mould"),
    q("WS", "kg", 2, "mass of the soil wedge"),
    q("GRSLO", "", 5, "load per load-gauge division, kg"),
    q("VPI", "cm", 2, "initial piston penetration"),
    q("DIAOUT", "cm", 2, "outer diameter of the mould"),
    q("HDISC", "cm", 2, "thickness of the wooden disc"),
    q("D2", "cm", 2, "dimension D2 of the loading parts"),
    q("XBARTM", "cm", 2, "centre of gravity of the top mould, X"),
    q("XBARS", "cm", 2, "centre of gravity of the soil wedge, X"),
    q("WD", "kg", 2, "mass of the wooden disc"),
    q("DENSOL", "g/cc", 3, "wet density of the specimen"),
    q("CLRNCE", "cm", 2, "clearance between the mould halves"),
    q("DH", "cm", 2, "shift of the shear plane from the mould joint"),
    q("H2", "cm", 2, "working height of the frame"),
    q("YBARTM", "cm", 2, "centre of gravity of the top mould, Y"),
    q("YBARS", "cm", 2, "centre of gravity of the soil wedge, Y"),
    q("RM", "kg", 2, "reference mass of the frame used"),
    q("WADDTM", "kg", 2, "mass added to the top mould"),
    q("TMOMAV", "kg.cm", 2, "moment of the added mass, vertical"),
    q("TMOMAH", "kg.cm", 2, "moment of the added mass, horizontal"),
    q("WTMC", "kg", 2, "mass of the top mould with the added mass"),
    q("XBRTMC", "cm", 2, "centre of gravity of the top mould with the added mass, X"),
    q("YBRTMC", "cm", 2, "centre of gravity of the top mould with the added mass, Y"),
    q("SW", "kg", 2, "total of WTM, WS, WD, WDM and WADDTM"),
    q("PARINC", "", 0, "frame type in use"),
    q("XBARQT", "cm", 2, "lateral-load point on the top mould, along the plane"),
    q("YBARQT", "cm", 2, "lateral-load point on the top mould, across the plane"),
    q("D3", "cm", 2, "dimension D3 of the loading parts"),
    q("DOITRM", "cm", 2, "distance from the centre of the plane to loading part 1"),
    q("WCINL", "", 3, "initial water content"),
    q("PFIXDR", "", 0, "mould record and next test"),
    q("LYOK", "cm", 1, "length of the lateral-load yoke"),
    q("DCLPSB", "cm", 1, "horizontal distance of the spring balances' fixed point"),
    q("HTFPSB", "cm", 1, "height of the spring balances' fixed point"),
    q("HTFSB", "cm", 1, "height entering the height of the lateral load"),
    q("PSPBDL", "", 0, "both spring balances read"),
    q("ASPBL1", "", 4, "spring balance 1: load at reading 0, kg"),
    q("DSPBL1", "", 4, "spring balance 1: load per division, kg"),
    q("ASPBL2", "", 4, "spring balance 2: load at reading 0, kg"),
    q("DSPBL2", "", 4, "spring balance 2: load per division, kg"),
    q("WYK", "kg", 2, "mass of the yoke"),
    q("GS", "", 2, "specific gravity of the grains"),
    q("PARFPL", "", 0, "flag of the free shear plane"),
    q("XTMO1", "cm", 2, "centre of gravity of the moving assembly from the joint, X"),
    q("YTMO1", "cm", 2, "centre of gravity of the moving assembly from the joint, Y"),
    q("X1C", "cm", 2, "centre of gravity of the moving assembly, X"),
    q("Y1C", "cm", 2, "centre of gravity of the moving assembly, Y"),
    q("W", "kg", 2, "mass of the moving assembly"),
    q("WSPPTM", "kg", 3, "mass of the specimen in its mould"),
    q("HEMPTY", "cm", 2, "empty height above the specimen"),
    q("HTMOLD", "cm", 1, "height of the mould"),
    q("WTMEMP", "kg", 3, "mass of the empty mould"),
    q("SATINL", "", 3, "initial degree of saturation"),
    q("DDENSL", "g/ml", 3, "dry density"),
    q("VOIDR", "", 3, "void ratio"),
    q("DH1", "cm", 2, "shift of the plane at the leading end of the wedge"),
    q("DH2", "cm", 2, "shift of the plane at the trailing end of the wedge"),

    // the readings check of a check-only test: gauge movements of the converted readings
    q("TIMACT", "saat.dakika", "", 2, "clock time of the reading, hours.minutes"),
    q("HIGHDX", "cm", "", 2, "X gauge read too high"),
    q("TLOWDX", "cm", "", 2, "X gauge read too low"),
    q("HIGHDY", "cm", "", 2, "Y gauge read too high"),
    q("TLOWDY", "cm", "", 2, "Y gauge read too low"),
    q("HIGHTL", "cm", "", 2, "top-cap gauge read too high"),
    q("TLOWTL", "cm", "", 2, "top-cap gauge read too low"),

    // the strength analysis: the per-test record, the envelopes and the triaxial table
    q("DVDUPK", "oran", "", 3, "dilatancy rate at the peak"),
    q("FIPK", "der", 3, "friction angle at the peak"),
    q("DVDUEN", "oran", "", 3, "dilatancy rate at the end reading"),
    q("FIEN", "der", 3, "friction angle at the end reading"),
    q("SIGA", "kPa", "", 1, "normal stress of a case"),
    q("TAUA", "kPa", "", 1, "shear stress of a case"),
    q("CORZRO", "", 6, "correlation of the envelope through the origin"),
    q("PHIORG", "der", 3, "friction angle of the envelope through the origin"),
    q("COFCOR", "", 6, "correlation of the envelope with cohesion"),
    q("COHESN", "kPa", 3, "cohesion of the envelope with cohesion"),
    q("PHILRG", "der", 3, "friction angle of the envelope with cohesion"),
    q("COFLOG", "", 6, "correlation of the power law"),
    q("ACONST", "", 4, "factor A of the power law"),
    q("BEXPNT", "", 4, "exponent B of the power law"),
    q("SIGLST", "kPa", "", 1, "normal stresses of the power-law line"),
    q("TAULST", "kPa", "", 1, "shear strengths of case 1 at SIGLST"),
    q("CENORG", "kPa", "", 1, "normal stress on the envelope through the origin"),
    q("AVPORG", "kPa", 1, "mean principal stress, envelope through the origin"),
    q("CELORG", "kPa", 1, "equivalent cell pressure, envelope through the origin"),
    q("CENCOH", "kPa", "", 1, "normal stress on the envelope with cohesion"),
    q("AVPCOH", "kPa", 1, "mean principal stress, envelope with cohesion"),
    q("CELCOH", "kPa", 1, "equivalent cell pressure, envelope with cohesion"),

    // how sure the envelopes are: figures in double precision that the page and the strength
    // CSV show and the report does not; decimals as the page shows them
    q("NFIT", "", "", 0, "points of the envelope's fit"),
    q("CFIT", "kPa", "", 1, "cohesion: intercept of the least-squares line"),
    q("TANFIT", "", "", 4, "tan phi: slope of the least-squares line"),
    q("PHIFIT", "der", "", 1, "friction angle of the least-squares line"),
    q("SFIT", "kPa", "", 2, "residual standard deviation of the least-squares line"),
    q("RSQFIT", "", "", 4, "coefficient of determination of the least-squares line"),
    q("SECFIT", "kPa", "", 1, "standard error of the cohesion CFIT"),
    q("SETAN", "", "", 4, "standard error of TANFIT"),
    q("SEPHI", "der", "", 1, "standard error of the friction angle PHIFIT"),
    q("COVFIT", "kPa", "", 5, "covariance of CFIT and TANFIT"),
    q("SIGMIN", "kPa", "", 1, "lowest normal stress tested"),
    q("SIGMAX", "kPa", "", 1, "highest normal stress tested"),
    q("TANZRO", "", "", 4, "tan phi of the least-squares line through the origin"),
    q("SETANZ", "", "", 4, "standard error of TANZRO"),
    q("PHIZRO", "der", "", 1, "friction angle of the least-squares line through the origin"),
    q("RSQZRO", "", "", 4, "uncentred coefficient of determination of the line through the origin"),
    q("TSTUD", "", "", 3, "0.95 quantile of Student's t on NFIT - 2 degrees of freedom"),
    q("CK", "kPa", "", 1, "characteristic cohesion"),
    q("TANK", "", "", 4, "characteristic tan phi"),
    q("PHIK", "der", "", 1, "characteristic friction angle"),
    // the page's summary of an envelope, to the precision a laboratory reports it
    q("CREP", "kPa", "", 1, "cohesion of an envelope as reported"),
    q("PHIREP", "der", "", 1, "friction angle of an envelope as reported"),
    // the page's specimen data: the mean rate of shearing
    q("DUDT", "mm/dak", "", 3, "mean rate of shear displacement, UBAR over T at the last reading"),
    q("RESID", "kPa", "", 2, "shear stress of a point less the least-squares line"),
    q("TAULOW", "kPa", "", 1, "95 % lower bound of the mean line at a point's normal stress"),
});

struct OtherDecimals {
  Table table;
  std::string_view name;
  int decimals;
};

constexpr auto kOtherDecimals = std::to_array<OtherDecimals>({
    {Table::Table2WithRmv, "TMOMA", 0},
    {Table::Table2WithRmv, "TMOM", 0},
    {Table::Table3WithoutLateralLoad, "SLATLD", 1},
    {Table::Summary, "VBAR", 2},
    {Table::Summary, "AC", 1},
    {Table::SummaryWithoutLateralLoad, "VBAR", 2},
    {Table::SummaryWithoutLateralLoad, "AC", 1},
});
// clang-format on

}  // namespace

std::span<const Entry> entries() {
  return kEntries;
}

const Entry& entry(std::string_view name) {
  for (const Entry& e : kEntries) {
    if (e.name == name) return e;
  }
  throw std::out_of_range("no quantity " + std::string(name) + " in the catalogue");
}

int decimals_in(Table table, std::string_view name) {
  for (const OtherDecimals& o : kOtherDecimals) {
    if (o.table == table && o.name == name) return o.decimals;
  }
  return entry(name).decimals;
}

}  // namespace ostrevik::catalogue
