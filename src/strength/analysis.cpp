#include "strength/analysis.h"

#include <array>
#include <vector>

#include "strength/regression.h"
#include "strength/value_rows.h"

namespace ostrevik::strength {
namespace {

// Table of peak and end stresses of the stored tests.
void write_stress_table(codec::Sink& report, const Points& p, const PerTest& pt) {
  static const codec::Layout kHeader(
      "(/,12X,'GERÇEK KES.DZ',21X,'EN YÜKSEK DAYANIMDAKİ DEĞ.',16X,'   DENEYİN SONUNDAKİ "
      "DEĞERLER    ',/,3X,'EN YÜK. DAY.',4X,'DENEY SONUNDA  GERÇEK KES.DZ  ORTALAMA KES.DZ  "
      "BASİT ANALİZ    GERÇEK KES.DZ  ORTALAMA K.DZ    BASİT ANALİZ',/,3X,'DV/DU  FI(der)  "
      "DV/DU  FI(der)  SIG    TAU      SIG    TAU      SIG    TAU      SIG    TAU      SIG    "
      "TAU      SIG    TAU',/,3X,124('-'))");
  static const codec::Layout kRow("(4F8.3,6(2F7.1,2X))");
  codec::write(report, kHeader);
  for (int t = 1; t <= p.NTESTS; ++t) {
    const int test = p.TEST(t);
    std::vector<codec::Value> items{pt.DVDUPK(test), pt.FIPK(test), pt.DVDUEN(test), pt.FIEN(test)};
    for (int c = 1; c <= NCASE; ++c) {
      items.emplace_back(p.x(t, c));
      items.emplace_back(p.y(t, c));
    }
    codec::write(report, kRow, items);
  }
}

// Correlation and friction angle of the envelopes through the origin.
void write_origin_rows(codec::Sink& report, const Strength& st) {
  static const codec::Layout kCORZRO("(/,' C = 0 İÇİN KORELASYON KATSAYISI  :',2X,F8.6,5F16.6)");
  static const codec::Layout kCORZRONote(
      "(' YOK: KESME GERİLMELERİNİN HEPSİ EŞİT, NORMAL GERİLMELERİN HEPSİ SIFIR YA DA "
      "ORİJİNDEN GEÇEN ÇİZGİ ORTALAMADAN DAHA KÖTÜ UYUYOR; KATSAYI HESAPLANAMAZ.')");
  static const codec::Layout kPHIORG(
      "(/,' ORİJİNDEN GEÇEN KIR.ÇİZ.PHI (der):',3X,F7.3,5(1X,F15.3))");
  static const codec::Layout kPHIORGNote(
      "(' YOK: NORMAL GERİLMELERİN HEPSİ SIFIR; AÇI HESAPLANAMAZ.')");
  write_values(report, {kCORZRO, &kCORZRONote}, st.CORZRO);
  write_values(report, {kPHIORG, &kPHIORGNote}, st.PHIORG);
}

const codec::Layout& straight_line_note() {
  static const codec::Layout kNote("(' YOK: NORMAL GERİLMELERİN HEPSİ EŞİT; DOĞRU HESAPLANAMAZ.')");
  return kNote;
}

const codec::Layout& correlation_note() {
  static const codec::Layout kNote(
      "(' YOK: NORMAL YA DA KESME GERİLMELERİNİN HEPSİ EŞİT; KATSAYI HESAPLANAMAZ.')");
  return kNote;
}

void write_correlation_row(codec::Sink& report, const Strength& st) {
  static const codec::Layout kCOFCOR("(/,' C, Fİ İÇİN KORELASYON K.S, COFCOR:',2X,F8.6,5F16.6)");
  write_values(report, {kCOFCOR, &correlation_note()}, st.COFCOR);
}

void write_cohesion_row(codec::Sink& report, const Strength& st) {
  static const codec::Layout kCOHESN(
      "(/,' NORMAL DOĞRUSAL REGR,COHESN (kPa):',3X,F7.3,5(1X,F15.3))");
  write_values(report, {kCOHESN, &straight_line_note()}, st.COHESN);
}

void write_friction_row(codec::Sink& report, const Strength& st) {
  static const codec::Layout kPHILRG("(22X,'PHILRG (der):',3X,F7.3,5(1X,F15.3))");
  write_values(report, {kPHILRG, &straight_line_note()}, st.PHILRG);
}

// Power law between the logarithms, and the line of shear strengths of case 1.
void write_power_law_rows(codec::Sink& report, const Strength& st) {
  static const codec::Layout kCOFCOR("(/,' ÜSLÜ KIRIL.ÇİZ.: KOREL. KATSAYISI:',2X,F8.6,5F16.6)");
  static const codec::Layout kACONST("(28X,'ACONST:',3X,F7.4,5(1X,F15.4))");
  static const codec::Layout kBEXPNT("(28X,'BEXPNT:',3X,F7.4,5(1X,F15.4))");
  static const codec::Layout kPowerNote(
      "(' YOK: NORMAL GERİLMELERİN HEPSİ EŞİT; ÜSLÜ KIRILMA ÇİZGİSİ HESAPLANAMAZ.')");
  static const codec::Layout kSIGLST("(/,' SIG NIN YANDAKİ DEĞ. İÇİN  :',2X,10(F6.1,4X))");
  static const codec::Layout kTAUF("(3X,'TAUF = ',F6.4,'*SIG**',F6.4,':  ',10(F6.1,4X))");

  write_values(report, {kCOFCOR, &correlation_note()}, st.COFLOG);
  write_values(report, {kACONST, &kPowerNote}, st.ACONST);
  write_values(report, {kBEXPNT, &kPowerNote}, st.BEXPNT);

  const std::vector<codec::Value> stresses(st.SIGLST.begin(), st.SIGLST.end());
  codec::write(report, kSIGLST, stresses);

  std::vector<float> strengths{st.ACONST[0], st.BEXPNT[0]};
  strengths.insert(strengths.end(), st.TAULST.begin(), st.TAULST.end());
  write_values(report, {kTAUF, &kPowerNote}, strengths);
}

// Replaces the power-law rows when some stress has no logarithm.
void write_no_logarithm_line(codec::Sink& report, const std::vector<int>& tests) {
  static const codec::Layout kLine(
      "(/,' ÜSLÜ KIRIL.ÇİZ. HESAPLANMADI: SIFIR YA DA EKSİ GERİLMESİ OLDUĞUNDAN LOGARİTMASI "
      "ALINAMAYAN DENEY NO.:',40I4)");
  const std::vector<codec::Value> items(tests.begin(), tests.end());
  codec::write(report, kLine, items);
}

// Equivalent triaxial cell pressures of the stored tests.
void write_triaxial_table(codec::Sink& report, int NTESTS, int IPARRG, const Strength& st) {
  static const codec::Layout kHeader(
      "(/,/,' ÜÇ EKSENLİ DENEYDE, VTRM-DEKİNE YAKIN ORTALAMA ASAL GERİL. VEREN ÇEVRE BASINCI "
      "',/,1X,78('-'),/,8X,'ORİJİNDEN GEÇEN KIR. ÇİZGİSİNE GÖRE',4X,'İÇYAPIŞKANLIK DA "
      "VARSAYARAK',/,8X,35('-'),4X,27('-'),/,13X,'ORT.AS.GERİL.',4X,'ÇEV.BAS.',11X,'ORT.AS."
      "GERİL.   ÇEV.BAS.',/,17X,'(kPa)',10X,'(kPa)',15X,'(kPa)',9X,'(kPa)',/,13X,13('-'),4X,"
      "8('-'),11X,13('-'),3X,8('-'))");
  static const codec::Layout kOrigin("(16X,F6.1,9X,F6.1)");
  static const codec::Layout kCohesion("(51X,F6.1,8X,F6.1)");
  static const codec::Layout kBoth("(16X,F6.1,9X,F6.1,14X,F6.1,8X,F6.1)");
  static const codec::Layout kNote(
      "(' YOK: KIRILMA ÇİZGİSİ HESAPLANAMADIĞINDAN ÇEVRE BASINCI DA HESAPLANAMAZ.')");

  codec::write(report, kHeader);
  bool marked = false;
  for (int t = 1; t <= NTESTS; ++t) {
    if (IPARRG == 1 || IPARRG == 4) {
      const std::array<float, 2> v{st.AVPORG(t), st.CELORG(t)};
      marked |= write_values(report, {kOrigin, nullptr}, v);
    } else if (IPARRG == 2) {
      const std::array<float, 2> v{st.AVPCOH(t), st.CELCOH(t)};
      marked |= write_values(report, {kCohesion, nullptr}, v);
    } else {
      const std::array<float, 4> v{st.AVPORG(t), st.CELORG(t), st.AVPCOH(t), st.CELCOH(t)};
      marked |= write_values(report, {kBoth, nullptr}, v);
    }
  }
  if (marked) codec::write(report, kNote);
}

bool triaxial_table_wanted(const Run& run) {
  return !(run.c.POISNR > 0.5F);
}

void first_pass(Run& run, const Points& p, codec::Sink& report) {
  Strength& st = run.st;
  const int IPARRG = run.c.IPARRG;
  for (int c = 1; c <= NCASE; ++c) {
    regress_case(p, c, IPARRG, Pass::Linear, st);
  }
  write_stress_table(report, p, run.pt);
  if (IPARRG > 5) return;
  if (IPARRG != 2) {
    write_origin_rows(report, st);
    origin_columns(p, run.c.POISNR, st);
  }
  if (IPARRG == 2 || IPARRG == 3 || IPARRG == 5) {
    write_correlation_row(report, st);
    write_cohesion_row(report, st);
    cohesion_columns(p, run.c.POISNR, st);
    write_friction_row(report, st);
  }
  if (IPARRG <= 3 && triaxial_table_wanted(run)) {
    write_triaxial_table(report, p.NTESTS, IPARRG, st);
  }
}

void second_pass(Run& run, const Points& p, codec::Sink& report) {
  Strength& st = run.st;
  const std::vector<int> unfit = nonpositive_tests(p);
  if (unfit.empty()) {
    const Points LN = logarithms(p);
    for (int c = 1; c <= NCASE; ++c) {
      regress_case(LN, c, run.c.IPARRG, Pass::Logarithmic, st);
    }
    power_law_line(st);
    write_power_law_rows(report, st);
  } else {
    write_no_logarithm_line(report, unfit);
  }
  if (triaxial_table_wanted(run)) {
    write_triaxial_table(report, p.NTESTS, run.c.IPARRG, st);
  }
}

}  // namespace

bool analysis_runs(const Run& run) {
  return stored_points(run).NTESTS >= 2 && run.c.IPARRG > 0 && run.c.PDATCH == 0.0F;
}

void analyse_end_of_input(Run& run, codec::Sink& report) {
  const Points p = stored_points(run);
  const int IPARRG = run.c.IPARRG;
  if (!analysis_runs(run)) return;
  first_pass(run, p, report);
  if (IPARRG != 4 && IPARRG != 5) return;
  run.st.SIGHI = p.x(p.NTESTS, 1);
  second_pass(run, p, report);
}

}  // namespace ostrevik::strength
