#include "input/series_fields.h"

#include <array>

namespace ostrevik::input {
namespace {

using Flags = RealField<RawFlags>;
using Frame = RealField<RawFrame>;
using Lateral = RealField<RawLateralLoad>;
using Spec = RealField<RawSpecimen>;
using Soil = RealField<RawSoil>;
using Mould = RealField<RawMould>;

constexpr std::string_view kNone = "-";

constexpr std::array kFlags{
    Flags{"PDATCH", &RawFlags::PDATCH, kNone}, Flags{"PAROUT", &RawFlags::PAROUT, kNone},
    Flags{"PARREG", &RawFlags::PARREG, kNone}, Flags{"TYPFRA", &RawFlags::TYPFRA, kNone},
    Flags{"PARLAT", &RawFlags::PARLAT, kNone}, Flags{"POISNR", &RawFlags::POISNR, kNone},
};

constexpr std::array kFrame{
    Frame{"WLP1", &RawFrame::WLP1, "kg", true},
    Frame{"WLP2", &RawFrame::WLP2, "kg", true},
    Frame{"WBC", &RawFrame::WBC, "kg"},
    Frame{"DIASTB", &RawFrame::DIASTB, "cm"},
    Frame{"FRCOEF", &RawFrame::FRCOEF, kNone},
    Frame{"TLP1MN", &RawFrame::TLP1MN, "cm", true},
    Frame{"GRINL", &RawFrame::GRINL, "divisions"},
    Frame{"GRSLO", &RawFrame::GRSLO, "kg per division", true},
    Frame{"DVPR", &RawFrame::DVPR, "cm per division"},
    Frame{"WPR", &RawFrame::WPR, "kg", true},
    Frame{"WHJ", &RawFrame::WHJ, "kg", true},
    Frame{"H2", &RawFrame::H2, "cm", true},
    Frame{"WDM", &RawFrame::WDM, "kg", true},
    Frame{"TMOMDM", &RawFrame::TMOMDM, "kg·cm"},
    Frame{"CONDX", &RawFrame::CONDX, "cm per division"},
    Frame{"CONDY", &RawFrame::CONDY, "cm per division"},
    Frame{"CONYMP", &RawFrame::CONYMP, "cm per division"},
    Frame{"CONRPB", &RawFrame::CONRPB, "cm per division"},
};

constexpr std::array kLateral{
    Lateral{"DCLPSB", &RawLateralLoad::DCLPSB, "cm", true},
    Lateral{"HTFPSB", &RawLateralLoad::HTFPSB, "cm", true},
    Lateral{"HTFSB", &RawLateralLoad::HTFSB, "cm"},
    Lateral{"LYOK", &RawLateralLoad::LYOK, "cm", true},
    Lateral{"WYK", &RawLateralLoad::WYK, "kg", true},
    Lateral{"ASPBL1", &RawLateralLoad::ASPBL1, "kg"},
    Lateral{"DSPBL1", &RawLateralLoad::DSPBL1, "kg per division", true},
    Lateral{"ASPBL2", &RawLateralLoad::ASPBL2, "kg"},
    Lateral{"DSPBL2", &RawLateralLoad::DSPBL2, "kg per division"},
};

constexpr std::array kSpecimen{
    Spec{"ALFN", &RawSpecimen::ALFN, "degrees", true},
    Spec{"DIAIN", &RawSpecimen::DIAIN, "cm", true},
    Spec{"ANGSEL", &RawSpecimen::ANGSEL, "degrees"},
    Spec{"APPSEL", &RawSpecimen::APPSEL, kNone},
    Spec{"WSPPTM", &RawSpecimen::WSPPTM, "kg", true},
    Spec{"HEMPTY", &RawSpecimen::HEMPTY, "cm"},
    Spec{"HDISC", &RawSpecimen::HDISC, "cm"},
    Spec{"D1", &RawSpecimen::D1, "cm"},
    Spec{"D2", &RawSpecimen::D2, "cm"},
    Spec{"D3", &RawSpecimen::D3, "cm"},
    Spec{"CLRNCE", &RawSpecimen::CLRNCE, "cm"},
    Spec{"VPI", &RawSpecimen::VPI, "cm"},
    Spec{"DH", &RawSpecimen::DH, "cm"},
    Spec{"DH2", &RawSpecimen::DH2, "cm"},
    Spec{"PARFPL", &RawSpecimen::PARFPL, kNone},
    Spec{"PFIXDR", &RawSpecimen::PFIXDR, kNone},
    Spec{"PSPBDL", &RawSpecimen::PSPBDL, kNone},
    Spec{"RNREAD", &RawSpecimen::RNREAD, kNone},
};

constexpr std::array kSoil{
    Soil{"RNREAD", &RawSoil::RNREAD, kNone},
    Soil{"GS", &RawSoil::GS, kNone, true},
    Soil{"WCINL", &RawSoil::WCINL, "fraction", true},
};

constexpr std::array kMould{
    Mould{"DIAOUT", &RawMould::DIAOUT, "cm", true}, Mould{"HTLOWR", &RawMould::HTLOWR, "cm", true},
    Mould{"XBARQT", &RawMould::XBARQT, "cm"},       Mould{"YBARQT", &RawMould::YBARQT, "cm"},
    Mould{"HTMOLD", &RawMould::HTMOLD, "cm", true}, Mould{"WTMEMP", &RawMould::WTMEMP, "kg", true},
    Mould{"WADDTM", &RawMould::WADDTM, "kg"},       Mould{"TMOMAV", &RawMould::TMOMAV, "kg·cm"},
    Mould{"TMOMAH", &RawMould::TMOMAH, "kg·cm"},
};

constexpr std::array kReading{
    ReadingField{"TIMHR", &RawReading::TIMHR, nullptr, 4, "h"},
    ReadingField{"TIMMN", &RawReading::TIMMN, nullptr, 4, "min"},
    ReadingField{"DXABS", &RawReading::DXABS, nullptr, 8, "divisions"},
    ReadingField{"DY1ABS", &RawReading::DY1ABS, nullptr, 8, "divisions"},
    ReadingField{"DTMLP2", &RawReading::DTMLP2, nullptr, 8, "divisions"},
    ReadingField{"DRPB", &RawReading::DRPB, nullptr, 8, "divisions"},
    ReadingField{"GRREAD", &RawReading::GRREAD, nullptr, 7, "divisions"},
    ReadingField{"IPARFL", nullptr, &RawReading::IPARFL, 1, kNone},
    ReadingField{"SPBRD1", &RawReading::SPBRD1, nullptr, 8, "divisions"},
    ReadingField{"HTFYKS", &RawReading::HTFYKS, nullptr, 8, "cm"},
    ReadingField{"DECLYK", &RawReading::DECLYK, nullptr, 4, "cm"},
    ReadingField{"SPBRD2", &RawReading::SPBRD2, nullptr, 4, "divisions"},
};

}  // namespace

std::span<const RealField<RawFlags>> flag_fields() {
  return kFlags;
}
std::span<const RealField<RawFrame>> frame_fields() {
  return kFrame;
}
std::span<const RealField<RawLateralLoad>> lateral_fields() {
  return kLateral;
}
std::span<const RealField<RawSpecimen>> specimen_fields() {
  return kSpecimen;
}
std::span<const RealField<RawSoil>> soil_fields() {
  return kSoil;
}
std::span<const RealField<RawMould>> mould_fields() {
  return kMould;
}
std::span<const ReadingField> reading_fields() {
  return kReading;
}

float value_of(const RawReading& reading, const ReadingField& field) {
  return field.real != nullptr ? reading.*field.real : static_cast<float>(reading.*field.integer);
}

}  // namespace ostrevik::input
