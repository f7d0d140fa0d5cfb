#include "input/specimen_records.h"

#include "input/data_records.h"
#include "mechanics/setup.h"

namespace ostrevik::input {
namespace {

// Echo of the specimen and mould values up to the lateral-load balances (not with PAROUT 8).
void write_specimen_values(const Run& run, codec::Sink& report) {
  static const codec::Layout kGeometry(
      "(/,' ALFN  =',F5.1,' (der)',22X,'HTLOWR=',F5.2,' (cm)',60X,'GRINL=',F6.0,/,' ALFA  =',F5.1,"
      "' (deg)  DIAIN =',F6.2,' (cm)  HTLOWS=',F5.2,' (cm)  D1  =',F6.2,' (cm)  WTM   =',F6.2,' "
      "(kg)  WS',4X,'=',F6.2,' (kg)  GRSLO=',F8.5,/,' VPI   =',F5.2,' (cm)   DIAOUT=',F6.2,' (cm) "
      " HDISC =',F5.2,' (cm)  D2  =',F6.2,' (cm)  XBARTM=',F6.2,' (cm)  XBARS =',F6.2,' (cm)  WD  "
      " =',F5.2,' kg',/,' DENSOL=',F5.3,' (g/cc) CLRNCE=',F6.2,' (cm)  DH',4X,'=',F5.2,1X,'(cm)  "
      "H2  =',F6.2,' (cm)  YBARTM=',F6.2,' (cm)  YBARS =',F6.2,1X,'(cm)  RM   =',F5.2,' kg')");
  static const codec::Layout kAdditions(
      "(' WADDTM=',F5.2,' (kg)   TMOMAV=',F5.2,' kg.cm  TMOMAH=',F5.2,' kg.cm WTMC=',F6.2,' (kg)  "
      "XBRTMC=',F6.2,' (cm)  YBRTMC=',F6.2,' (cm)  SW   =',F5.2,' kg')");
  static const codec::Layout kFrameWithSoil(
      "(' PARINC=',F3.0,10X,'XBARQT=',F6.2,' (cm)  YBARQT=',F5.2,1X,'(cm)  D3  =',F6.2,' (cm)  "
      "DOITRM=',F6.2,' (cm)',22X,'WCINL=',F6.3)");
  static const codec::Layout kFrame(
      "(' PARINC=',F3.0,10X,'XBARQT=',F6.2,' (cm)  YBARQT=',F5.2,1X,'(cm)  D3  =',F6.2,' (cm)  "
      "DOITRM=',F6.2,' (cm)')");
  static const codec::Layout kYoke(
      "(' PFIXDR=',F3.0,49X,'LYOK=',F5.1,'  (cm)  DCLPSB=',F6.1,' (cm)  HTFPSB=',F6.1,' (cm)  "
      "HTFSB=',F5.1,' cm')");
  static const codec::Layout kBalancesWithSoil(
      "(' PSPBDL=',F3.0,10X,'ASPBL1=',F7.4,6X,'DSPBL1=',F7.4,5X,'ASPBL2=',F7.4,4X,'DSPBL2=',F7.4,"
      "6X,'WYK   =',F5.2,' (kg)',3X,'GS   =',F5.2)");
  static const codec::Layout kBalances(
      "(' PSPBDL=',F3.0,10X,'ASPBL1=',F7.4,6X,'DSPBL1=',F7.4,5X,'ASPBL2=',F7.4,4X,'DSPBL2=',F7.4,"
      "6X,'WYK   =',F5.2,' (kg)')");
  const Constants& c = run.c;
  const Specimen& s = run.s;
  const Setup& u = run.u;
  const bool soil = s.PARSOL == 1.0F;
  codec::write(report, kGeometry,
               {s.ALFN, s.HTLOWR, c.GRINL,  u.ALFA,   s.DIAIN, u.HTLOWS, s.D1,     u.WTM,
                u.WS,   c.GRSLO,  s.VPI,    s.DIAOUT, s.HDISC, s.D2,     u.XBARTM, u.XBARS,
                u.WD,   u.DENSOL, s.CLRNCE, s.DH,     c.H2,    u.YBARTM, u.YBARS,  u.RM});
  codec::write(report, kAdditions,
               {s.WADDTM, s.TMOMAV, s.TMOMAH, u.WTMC, u.XBRTMC, u.YBRTMC, u.SW});
  if (soil) {
    codec::write(report, kFrameWithSoil, {c.PARINC, s.XBARQT, s.YBARQT, s.D3, u.DOITRM, s.WCINL});
  } else {
    codec::write(report, kFrame, {c.PARINC, s.XBARQT, s.YBARQT, s.D3, u.DOITRM});
  }
  codec::write(report, kYoke, {s.PFIXDR, c.LYOK, c.DCLPSB, c.HTFPSB, c.HTFSB});
  if (soil) {
    codec::write(report, kBalancesWithSoil,
                 {s.PSPBDL, c.ASPBL1, c.DSPBL1, c.ASPBL2, c.DSPBL2, c.WYK, s.GS});
  } else {
    codec::write(report, kBalances, {s.PSPBDL, c.ASPBL1, c.DSPBL1, c.ASPBL2, c.DSPBL2, c.WYK});
  }
}

// Echo of the moving assembly, the specimen mass and mould height, and DH1, DH2.
void write_assembly_values(const Run& run, codec::Sink& report) {
  static const codec::Layout kAssembly(
      "(' PARFPL=',F3.0,10X,'XTMO1 =',F6.2,' (cm)  YTMO1 =',F5.2,1X,'(cm)',20X,'X1C   =',F6.2,' "
      "(cm)  Y1C   =',F6.2,' (cm)  W    =',F5.2,' kg')");
  static const codec::Layout kSpecimenWithSoil(
      "(' WSPPTM=',F7.3,' (kg) HEMPTY=',F6.2,' (cm)  HTMOLD=',F5.1,' (cm)  WTMEMP=',F6.3,'(kg) "
      "SATINL=',F6.3,7X,'DDENSL=',F6.3,'(g/ml) VOIDR=',F6.3)");
  static const codec::Layout kSpecimen(
      "(' WSPPTM=',F7.3,' (kg) HEMPTY=',F6.2,' (cm)  HTMOLD=',F5.1,' (cm)  WTMEMP=',F6.3,'(kg)')");
  static const codec::Layout kWedgeEnds("(' DH1   =',F5.2,' (cm)   DH2   =',F6.2,' (cm)')");
  const Specimen& s = run.s;
  const Setup& u = run.u;
  codec::write(report, kAssembly, {s.PARFPL, u.XTMO1, u.YTMO1, u.X1C, u.Y1C, u.W});
  if (s.PARSOL == 1.0F) {
    codec::write(report, kSpecimenWithSoil,
                 {s.WSPPTM, s.HEMPTY, s.HTMOLD, s.WTMEMP, u.SATINL, u.DDENSL, u.VOIDR});
  } else {
    codec::write(report, kSpecimen, {s.WSPPTM, s.HEMPTY, s.HTMOLD, s.WTMEMP});
  }
  if (s.DH2 > 0.0F) codec::write(report, kWedgeEnds, {u.DH1, s.DH2});
}

}  // namespace

void read_specimen_records(Run& run, codec::Source& data) {
  Specimen& s = run.s;
  codec::read(
      data, nine_fields(),
      {&s.ALFN, &s.DIAIN, &s.ANGSEL, &s.APPSEL, &s.WSPPTM, &s.HEMPTY, &s.HDISC, &s.D1, &s.D2, &s.D3,
       &s.CLRNCE, &s.VPI, &s.DH, &s.DH2, &s.PARFPL, &s.PFIXDR, &s.PSPBDL, &s.RNREAD});
  s.DIASP = s.DIAIN;
  if (s.RNREAD > 40.0F) {
    codec::read(data, nine_fields(), {&s.RNREAD, &s.GS, &s.WCINL});
    s.PARSOL = 1.0F;
  }
  if (s.PFIXDR == 2.0F || s.PFIXDR == 3.0F) {
    codec::read(data, nine_fields(),
                {&s.DIAOUT, &s.HTLOWR, &s.XBARQT, &s.YBARQT, &s.HTMOLD, &s.WTMEMP, &s.WADDTM,
                 &s.TMOMAV, &s.TMOMAH});
  } else {
    mechanics::select_standard_mould(run);
  }
}

void set_up_and_echo(Run& run, codec::Sink& report) {
  mechanics::set_up_geometry(run);
  if (run.c.PAROUT != 8.0F) write_specimen_values(run, report);
  mechanics::set_up_moving_assembly(run);
  write_assembly_values(run, report);
  mechanics::set_up_working_values(run);
}

}  // namespace ostrevik::input
