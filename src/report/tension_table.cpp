#include "report/test_tables.h"

namespace ostrevik::report {

void write_tension_table(const Run& run, codec::Sink& report) {
  static const codec::Layout kHeader(
      "(/,/,48X,'ÇİZELGE 1A. KESME DÜZL.DE ÇEKME GER.',/,12X,'T',6X,'BETA',5X,'VPI',4X,'DRPB',"
      "6X,'DCOMCL',4X,'DCOMPU',4X,'PCOMTL',4X,'INXDU',5X,'SHS',5X,'TNS',5X,'PERSHS',4X,"
      "'SIGMAX',/,10X,'(dak)',4X,'(der)',3X,'(cm)',4X,'(cm)',7X,'(cm)',6X,'(cm)',6X,'(%) ',4X,"
      "'(sayı)',4X,'(kPa)   (kPa)',5X,'(%)',6X,'(kPa)',4X,'JJ',/,10X,112('-'))");
  static const codec::Layout kRow("(F15.1,3F8.2,F11.2,2F10.2,I8,F11.1,F8.1,F9.1,F10.1,I6)");
  if (run.o.NT1A == 0) return;
  codec::write(report, kHeader);
  for (int k = 1; k <= run.o.NT1A; ++k) {
    const TensionRow& row = run.o.T1A(k);
    codec::write(report, kRow,
                 {row.T, row.BETA, row.VPIARG, row.DRPARG, row.DCOMCL, row.DCOMPU, row.PCOMTL,
                  row.INXDU, row.SHS, row.TNS, row.PERSHS, row.SIGMAX, row.JJ});
  }
}

}  // namespace ostrevik::report
