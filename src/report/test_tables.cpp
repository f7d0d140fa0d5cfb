#include "report/test_tables.h"

#include <vector>

#include "report/table_form.h"

namespace ostrevik::report {

namespace {

using codec::Layout;
using R = Readings;
using O = Results;

struct Tables {
  TableForm table1, table2_with_rmv, table2, table3, summary, table4;
  Layout dh_note;
};

// Layout texts are kept whole, one per line, to read as the report shows them.
// clang-format off
const Tables& tables() {
  static const Tables t{
      .table1 =
          {.headers =
               {Layout("(/,/,62X,'ÇİZELGE 1')"),
                Layout("(62X,9('-'),/,5X,'1',6X,'2',6X,'3',5X,'4',5X,'5',5X,'6',5X,'7',6X,'8',6X,'9',6X,'10',5X,'11',6X,'12',6X,'13',6X,'14',5X,'15',4X,'16',5X,'17',4X,'18',3X,'19')"),
                Layout("(/,5X,'T',4X,'BETABC  UBAR   U',4X,'VBAR   V',5X,'SS',4X,'SSNB  TNSAVE  TNNB  SOVERN  SOVRNB  TNSMAX  TNSMIN  VPIT  VPITT INDEX IPARFL  P')"),
                Layout("(3X,'(dak)  (der)  (mm)  (mm)  (mm)  (mm)  (kPa)  (kPa)  (kPa)  (kPa)  (oran)  (oran)  (kPa)   (kPa)  (mm)   (mm) (sayı) (sayı) (N)',/,3X,126('-'))")},
           .row = {Layout("(F8.1,F7.2,F7.1,4F6.1,3F7.1,2F8.3,F7.1,F8.1,F7.1,F7.2,I4,I6,F7.0)"),
                   {&R::T, &O::BETABC, &O::UBAR, &O::U, &O::VBAR, &O::V, &O::SS, &O::SSNB,
                    &O::TNSAVE, &O::TNNB, &O::SOVERN, &O::SOVRNB, &O::TNSMAX, &O::TNSMIN, &O::VPIT,
                    &O::VPITT, &R::INDEX, &R::IPARFL, &O::P}}},
      .table2_with_rmv =
          {.headers =
               {Layout("(/,/,62X,'ÇİZELGE 2',/,62X,9('-'),/,2X,'20',4X,'21',4X,'22',6X,'23',5X,'24',5X,'25',5X,'26',5X,'27',4X,'28',4X,'29',5X,'30',5X,'31',5X,'32',4X,'33',5X,'34',5X,'35',5X,'36',5X,'37',4X,'38',3X,'39',/)"),
                Layout("(3X,'T   USTRN VSTRN',4X,'AC',4X,'ACNB  SECMOM PERSMA TMOMA TMOM DIFMOM DEVREC DEVIBA DEVIB DEVIBT DEVRPT DEVJNR DEVVPI DEVNB ERUABS RMV')"),
                Layout("(1X,'(dak)  (%)   (%)   (cm 2) (cm 2) (cm 4)  (%)   (N.cm)(N.cm)(N.cm)   (%)    (%)   (%)',4X,'(%)',4X,'(%)',4X,'(%)',4X,'(%)',3X,'(%)   (mm)  (N)',/,1X,130('-'))")},
           .row = {Layout("(F6.1,2F6.2,F8.2,F7.2,F7.1,F6.1,F7.0,F6.0,F6.1,F7.1,F7.1,F7.1,F6.1,4F7.1,F6.1,F5.1)"),
                   {&R::T,      &O::USTRN,  &O::VSTRN, &O::AC,     &O::ACNB,
                    &O::SECMOM, &O::PERSMA, &O::TMOMA, &O::TMOM,   &O::DIFMOM,
                    &O::DEVREC, &O::DEVIBA, &O::DEVIB, &O::DEVIBT, &O::DEVRPT,
                    &O::DEVJNR, &O::DEVVPI, &O::DEVNB, &O::ERUABS, &O::RMV}}},
      .table2 =
          {.headers =
               {Layout("(/,/,62X,'ÇİZELGE 2',/,62X,9('-'),/,5X,'20',4X,'21',4X,'22',6X,'23',5X,'24',5X,'25',5X,'26',5X,'27',4X,'28',5X,'29',5X,'30',5X,'31',4X,'32',5X,'33',5X,'34',5X,'35',5X,'36',4X,'37',5X,'38',/)"),
                Layout("(6X,'T   USTRN VSTRN',4X,'AC',4X,'ACNB  SECMOM PERSMA TMOMA  TMOM  DIFMOM DEVREC DEVIBA DEVIB DEVIBT DEVRPT DEVJNR DEVVPI DEVNB ERUABS')"),
                Layout("(4X,'(dak)  (%)   (%)   (cm 2) (cm 2) (cm 4)  (%)  (N.cm) (N.cm) (N.cm)  (%)    (%)    (%)',4X,'(%)',4X,'(%)',4X,'(%)',4X,'(%)',3X,'(%)',3X,'(mm)',/,4X,127('-'))")},
           .row =
               {Layout("(F9.1,2F6.2,F8.2,F7.2,F7.1,F6.1,F7.1,2F7.1,F6.1,F7.1,F6.1,4F7.1,F6.1,F8.1)"),
                {&R::T, &O::USTRN, &O::VSTRN, &O::AC, &O::ACNB, &O::SECMOM, &O::PERSMA, &O::TMOMA,
                 &O::TMOM, &O::DIFMOM, &O::DEVREC, &O::DEVIBA, &O::DEVIB, &O::DEVIBT, &O::DEVRPT,
                 &O::DEVJNR, &O::DEVVPI, &O::DEVNB, &O::ERUABS}}},
      .table3 =
          {.headers =
               {Layout("(/,/,62X,'ÇİZELGE 3',/,62X,9('-'),/,2X,'40 ',3X,'41',5X,'42',5X,'43',4X,'44',5X,'45',5X,'46',4X,'47',5X,'48',5X,'49',5X,'50',4X,'51',5X,'52',4X,'53',5X,'54',5X,'55',4X,'56',5X,'57',4X,'58',/)"),
                Layout("(10X,'ÖLÇÜLEN DEĞERLER ',17X,'      YANAL YÜKLE İLGİLİ DEĞERLER      ',/,10X,16('-'),24X,27('-'),/,3X,'T   DXABS DY1ABS DTMLP2 DRPB  SLATLD HTFYKS GRSBAL GRDQC  ANGLQ  WQNC DECLYK TNSAVP SSAVP AVPRST DVOVDU ALPHA ALPHAR  XFC',/,1X,'(dak) (mm)   (mm)   (mm)  (mm)   (N)    (mm)  (der)  (der)  (der)  (N)   (mm)   (kPa) (kPa)  (kPa)  oran  (der)  (der)  (N)',/,1X,124('-'))")},
           .row = {Layout("(F6.1,2F6.1,F7.1,F6.1,2F7.0,2F7.2,F7.1,2F6.1,3F7.1,F6.2,F7.1,F6.1,F7.0)"),
                   {&R::T, &O::DXABS, &O::DY1ABS, &O::DTMLP2, &O::DRPB, &O::SLATLD, &O::HTFYKS,
                    &O::GRSBAL, &O::GRDQC, &O::ANGLQ, &O::WQNC, &O::DECLYK, &O::TNSAVP, &O::SSAVP,
                    &O::AVPRST, &O::DVOVDU, &O::ALPHA, &O::ALPHAR, &O::XFC}},
           .without_lateral_load =
               RowForm{Layout("(1X,F5.1,2F6.1,F7.1,2F6.1,42X,F6.1,2F7.1,F6.2,F7.1,F6.1,F7.0)"),
                       {&R::T, &O::DXABS, &O::DY1ABS, &O::DTMLP2, &O::DRPB, &O::SLATLD, &O::TNSAVP,
                        &O::SSAVP, &O::AVPRST, &O::DVOVDU, &O::ALPHA, &O::ALPHAR, &O::XFC}}},
      .summary = {.headers = {Layout("(/,/,59X,' ÖZET ÇİZELGE ',/,60X,12('-'),/,3X,'1',4X,'2',6X,'3',6X,'4',7X,'5',7X,'6',7X,'7',7X,'8',6X,'9',7X,'10',6X,'11',5X,'12',6X,'13',6X,'14',5X,'15',5X,'16',5X,'17',5X,'18',/,/,3X,'T',3X,'UBAR',3X,'VBAR',2X,'BETABC',2X,'TNSAVE',4X,'SS',4X,'SOVERN',4X,'P',6X,'Q',5X,'XFORCE',2X,'YFORCE',3X,'AC',5X,'TMOM',3X,'DEVIB',2X,'ALPHAR  GRDQC AVPRST DVOVDU',/,1X,'(dak) (mm)   (mm)   (der)   (kPa)   (kPa) (oran)   (N)',4X,'(N)',5X,'(N)',5X,'(N)    (cm2)  (N.cm)   (%)',4X,'(der)  (der) (kPa)  (oran)',/,1X,131('-'))")},
                  .row = {Layout("(F6.1,F5.1,2F7.2,2F8.1,F8.3,F8.0,F7.0,F8.0,F8.0,F8.1,F8.1,2F7.1,F7.2,F7.1,F6.2)"),
                          {&R::T, &O::UBAR, &O::VBAR, &O::BETABC, &O::TNSAVE, &O::SS, &O::SOVERN,
                           &O::P, &O::SLATLD, &O::XFC, &O::YFORCE, &O::AC, &O::TMOM, &O::DEVIB,
                           &O::ALPHAR, &O::GRDQC, &O::AVPRST, &O::DVOVDU}},
                  .without_lateral_load =
                      RowForm{Layout("(F6.1,F5.1,2F7.2,2F8.1,F8.3,F8.0,F7.0,F8.0,F8.0,F8.1,F8.1,2F7.1,7X,F7.1,F6.2)"),
                              {&R::T, &O::UBAR, &O::VBAR, &O::BETABC, &O::TNSAVE, &O::SS,
                               &O::SOVERN, &O::P, &O::SLATLD, &O::XFC, &O::YFORCE, &O::AC, &O::TMOM,
                               &O::DEVIB, &O::ALPHAR, &O::AVPRST, &O::DVOVDU}}},
      .table4 =
          {.headers =
               {Layout("(/,/,62X,'ÇİZELGE 4',/,62X,9('-'),/,3X,'59',5X,'60',5X,'61',6X,'62',5X,'63',6X,'64',6X,'65',6X,'66',6X,'67',6X,'68',5X,'69',4X,'70',7X,'71',5X,'72',5X,'73',5X,'74',8X,'75',/)"),
                Layout("(37X,'EN YÜKSEK DAYANIMDAKİ VE DENEY SONUNDAKİ GERİLMELER (kPa)',/,37X,57('-'),/,7X,'ORTALAMA KES.DÜZ',12X,'GERÇEK KESME DÜZLEMİ',14X,'BETA, MOM. İHMAL',11X,'ORT.ASAL GER. & DV/DU',/,7X,16('-'),12X,20('-'),14X,16('-'),11X,21('-'),/,5X,'EN Y',9X,'DENEY SN',9X,'EN Y',9X,'DENEY SN',11X,'EN Y',8X,'DENEY SN',9X,'EN Y',9X,'DENEY SN',4X,'T (IMAXP)',/,5X,4('-'),9X,8('-'),9X,4('-'),9X,8('-'),11X,4('-'),8X,8('-'),9X,4('-'),9X,8('-'),4X,9('-'),/,1X,'TNSAVP',2X,'SSAVP TNSAVP',2X,'SSAVP',2X,'TNSAVE    SS    TNSAVE    SS',5X,'TNNB    SSNB   TNNB  SSNB    AVPRST DVOVDU AVPRST DVOVDU   (dakika)',/,1X,129('-'))")},
           .row = {Layout("(F6.1,F8.1,F6.1,F8.1,F7.1,5F8.1,F7.1,F6.1,F9.1,F7.2,F7.1,F7.2,F10.1)"),
                   {{&O::TNSAVP, At::Peak}, {&O::SSAVP, At::Peak}, {&O::TNSAVP, At::End}, {&O::SSAVP, At::End},
                    {&O::TNSAVE, At::Peak}, {&O::SS, At::Peak}, {&O::TNSAVE, At::End}, {&O::SS, At::End},
                    {&O::TNNB, At::Peak}, {&O::SSNB, At::Peak}, {&O::TNNB, At::End}, {&O::SSNB, At::End},
                    {&O::AVPRST, At::Peak}, {&O::DVOVDU, At::Peak}, {&O::AVPRST, At::End}, {&O::DVOVDU, At::End},
                    {&R::T, At::Peak}}},
           .rows = Rows::PeakAndEnd},
      .dh_note = Layout("(/,/,1X,'***NOT: BU ÇIKTIDA, DH=88., ZEMİN KAMASININ ÖNDE GİDEN UCUNDA -DH=DH1, GERİDEN GELEN UCUNDA, YAKL. OLARAK, DH=DH2 DEMEKTİR.')"),
  };
  return t;
}
// clang-format on

// The tables of a test in the order PAROUT selects; the DH note is not among them.
std::vector<const TableForm*> tables_in_order(float PAROUT, float PARINC) {
  const Tables& t = tables();
  if (PAROUT == 8.0F) {
    return {};
  }
  if (PAROUT == 6.0F) {
    return {&t.summary, &t.table4};
  }
  if (PAROUT == 7.0F) {
    return {&t.summary};
  }
  const TableForm* table2 = PARINC == 1.0F ? &t.table2_with_rmv : &t.table2;
  return {&t.table1, table2, &t.table3, &t.table4};
}

}  // namespace

std::vector<RowLayout> row_layouts() {
  using catalogue::Table;
  const Tables& t = tables();
  return {{Table::Table1, &t.table1.row.layout},
          {Table::Table2, &t.table2.row.layout},
          {Table::Table2WithRmv, &t.table2_with_rmv.row.layout},
          {Table::Table3, &t.table3.row.layout},
          {Table::Table3WithoutLateralLoad, &t.table3.without_lateral_load->layout},
          {Table::Summary, &t.summary.row.layout},
          {Table::SummaryWithoutLateralLoad, &t.summary.without_lateral_load->layout},
          {Table::Table4, &t.table4.row.layout}};
}

void write_test_tables(const Run& run, codec::Sink& report) {
  for (const TableForm* table : tables_in_order(run.c.PAROUT, run.c.PARINC)) {
    write_table(run, report, *table);
  }
  // The note on DH = 88 closes every selection except the silent one.
  if (run.c.PAROUT != 8.0F && run.u.DHPLAN > 16.0F) {
    codec::write(report, tables().dh_note);
  }
}

}  // namespace ostrevik::report
