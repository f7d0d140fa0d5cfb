#include "report/echo.h"

#include <array>
#include <span>
#include <string_view>

namespace ostrevik::report {
namespace {

bool has_soil_record(const Specimen& s) {
  return s.PARSOL == 1.0F;
}

// The items of an echo line whose last `soil_items` come from record 6a: without the record the
// line ends before them, at the layout's ':'.
std::span<const codec::Value> with_soil(std::span<const codec::Value> items, bool soil,
                                        std::size_t soil_items) {
  return soil ? items : items.first(items.size() - soil_items);
}

}  // namespace

void write_general_values(const Constants& c, codec::Sink& report) {
  static const codec::Layout kMasses(
      "(/,52X,'     GENEL DEĞERLER      ',/,/,6X,'WLP1  =',F5.2,'  (kg)  WBC   =',F5.2,' (kg)  "
      "WDM   =',F5.2,' (kg)',6X,'DENSTL=',F5.2,' (g/ml)   FRCOEF=',F9.5,'   RMLC=',F5.2,' "
      "(kg)',/,6X,'WLP2  =',F5.2,'  (kg)  VPTI  =',F5.2,' (cm)  TMOMDM=',F5.2,' (kg.cm)',3X,"
      "'DENSWD=',F5.2,'  (g/ml)   TLP1MN=',F5.2,' (cm)  RMPR=',F5.2,' (kg)')");
  static const codec::Layout kFlags(
      "(6X,'PAROUT=',F3.0,10X,'PARREG=',F3.0,9X,'TYPFRA=',F3.0,13X,'PARLAT=',F3.0,13X,'PDATCH=',"
      "F3.0)");
  static const codec::Layout kGauges(
      "(6X,'DIASTB=',F5.2,'  (cm)  WHJ   =',F5.2,' (kg)  WPR   =',F5.2,' (kg)',6X,'CONDX =',"
      "F8.5,' (cm)',3X,' CONDY=',F7.5,'(cm) DVPR=',F8.6,'(cm)',/,6X,'CONYMP=',F8.5,'(cm) "
      "CONRPB=',F7.5,'(cm) POISNR=',F5.2)");
  codec::write(report, kMasses,
               {c.WLP1, c.WBC, c.WDM, c.DENSTL, c.FRCOEF, c.RMLC, c.WLP2, c.VPTI, c.TMOMDM,
                c.DENSWD, c.TLP1MN, c.RMPR});
  codec::write(report, kFlags, {c.PAROUT, c.PARREG, c.TYPFRA, c.PARLAT, c.PDATCH});
  codec::write(report, kGauges,
               {c.DIASTB, c.WHJ, c.WPR, c.CONDX, c.CONDY, c.DVPR, c.CONYMP, c.CONRPB, c.POISNR});
}

void write_titles(std::span<const TitleRecord> titles, codec::Sink& report) {
  constexpr int kTitleItems = 20;  // four columns each: columns 1 to 80
  static const codec::Layout kFourEmptyLines("(/,/,/)");
  static const codec::Layout kTitleEcho("(27X,20A4)");
  codec::write(report, kFourEmptyLines);
  for (const TitleRecord& title : titles) {
    std::array<codec::Value, kTitleItems> items;
    for (int k = 0; k < kTitleItems; ++k) {
      items.at(static_cast<std::size_t>(k)) = std::string_view(title.data() + 4 * k, 4);
    }
    codec::write(report, kTitleEcho, items);
  }
}

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
  static const codec::Layout kFrame(
      "(' PARINC=',F3.0,10X,'XBARQT=',F6.2,' (cm)  YBARQT=',F5.2,1X,'(cm)  D3  =',F6.2,' (cm)  "
      "DOITRM=',F6.2,' (cm)',:,22X,'WCINL=',F6.3)");
  static const codec::Layout kYoke(
      "(' PFIXDR=',F3.0,49X,'LYOK=',F5.1,'  (cm)  DCLPSB=',F6.1,' (cm)  HTFPSB=',F6.1,' (cm)  "
      "HTFSB=',F5.1,' cm')");
  static const codec::Layout kBalances(
      "(' PSPBDL=',F3.0,10X,'ASPBL1=',F7.4,6X,'DSPBL1=',F7.4,5X,'ASPBL2=',F7.4,4X,'DSPBL2=',F7.4,"
      "6X,'WYK   =',F5.2,' (kg)',:,3X,'GS   =',F5.2)");
  const Constants& c = run.c;
  const Specimen& s = run.s;
  const Setup& u = run.u;
  const bool soil = has_soil_record(s);
  codec::write(report, kGeometry,
               {u.ALFNDG, s.HTLOWR, c.GRINL,  u.ALFA,   s.DIAIN, u.HTLOWS, s.D1,     u.WTM,
                u.WS,     c.GRSLO,  s.VPI,    s.DIAOUT, s.HDISC, s.D2,     u.XBARTM, u.XBARS,
                u.WD,     u.DENSOL, s.CLRNCE, u.DHPLAN, c.H2,    u.YBARTM, u.YBARS,  u.RM});
  codec::write(report, kAdditions,
               {s.WADDTM, s.TMOMAV, s.TMOMAH, u.WTMC, u.XBRTMC, u.YBRTMC, u.SW});
  const std::array<codec::Value, 6> frame{c.PARINC, s.XBARQT, s.YBARQT, s.D3, u.DOITRM, s.WCINL};
  codec::write(report, kFrame, with_soil(frame, soil, 1));
  codec::write(report, kYoke, {s.PFIXDR, c.LYOK, c.DCLPSB, c.HTFPSB, c.HTFSB});
  const std::array<codec::Value, 7> balances{s.PSPBDL, c.ASPBL1, c.DSPBL1, c.ASPBL2,
                                             c.DSPBL2, c.WYK,    s.GS};
  codec::write(report, kBalances, with_soil(balances, soil, 1));
}

void write_assembly_values(const Run& run, codec::Sink& report) {
  static const codec::Layout kAssembly(
      "(' PARFPL=',F3.0,10X,'XTMO1 =',F6.2,' (cm)  YTMO1 =',F5.2,1X,'(cm)',20X,'X1C   =',F6.2,' "
      "(cm)  Y1C   =',F6.2,' (cm)  W    =',F5.2,' kg')");
  static const codec::Layout kSpecimen(
      "(' WSPPTM=',F7.3,' (kg) HEMPTY=',F6.2,' (cm)  HTMOLD=',F5.1,' (cm)  WTMEMP=',F6.3,'(kg)',:,"
      "' SATINL=',F6.3,7X,'DDENSL=',F6.3,'(g/ml) VOIDR=',F6.3)");
  static const codec::Layout kWedgeEnds("(' DH1   =',F5.2,' (cm)   DH2   =',F6.2,' (cm)')");
  const Specimen& s = run.s;
  const Setup& u = run.u;
  codec::write(report, kAssembly, {s.PARFPL, u.XTMO1, u.YTMO1, u.X1C, u.Y1C, u.W});
  const std::array<codec::Value, 7> specimen{s.WSPPTM, s.HEMPTY, s.HTMOLD, s.WTMEMP,
                                             u.SATINL, u.DDENSL, u.VOIDR};
  codec::write(report, kSpecimen, with_soil(specimen, has_soil_record(s), 3));
  if (s.DH2 > 0.0F) codec::write(report, kWedgeEnds, {u.DH1, s.DH2});
}

}  // namespace ostrevik::report
