#include "driver/run_end.h"

#include <algorithm>
#include <span>
#include <string>

#include "codec/cp857.h"
#include "codec/layout.h"
#include "driver/dialogue.h"

namespace ostrevik::driver {
namespace {

const codec::Layout& iteration_limit_message() {
  static const codec::Layout kMessage(
      "(/,/,1X,'İTERASYON SAYISI 16 YI GEÇİYOR.  LÜTFEN VERİLERİ EKSİK NOKTA (.) V.S. "
      "YÖNÜNDEN DENETLEYİNİZ !')");
  return kMessage;
}

const codec::Layout& whole_record() {
  static const codec::Layout kRecord("(A)");
  return kRecord;
}

void write_negative_displacement_lines(const Counters& n, codec::Sink& sink) {
  static const codec::Layout kHeading("(/,/,28X,'******** UYARI ********',/,4X,' DENEY NO.')");
  static const codec::Layout kCounts("(4X,' SONUÇLARINDA, 0.4 MM DEN BÜYÜK, SIRASIYLA,')");
  static const codec::Layout kAdvice(
      "(4X,' EKSİ KESME ÖTELENMESİ VAR.  ÇIKTILARI İNCELEYİP VERİLERİ DENETLEYİNİZ !!!')");
  const auto count = static_cast<std::size_t>(std::min(n.NNEG, MAXTS));
  codec::write(sink, kHeading);
  codec::write_list(sink, std::span<const int>(n.NEGTST.v.data(), count));
  codec::write(sink, kCounts);
  codec::write_list(sink, std::span<const int>(n.NEGCNT.v.data(), count));
  codec::write(sink, kAdvice);
}

}  // namespace

void write_to_both(std::string_view record, codec::Sink& report, codec::Sink& console) {
  codec::write(report, whole_record(), {record});
  codec::write(console, whole_record(), {record});
}

void write_iteration_limit_message(codec::Sink& report, codec::Sink& console) {
  codec::write(report, iteration_limit_message());
  codec::write(console, iteration_limit_message());
}

std::string iteration_limit_record() {
  codec::StringSink sink;
  codec::write(sink, iteration_limit_message());
  // The message is the last record, after the empty ones.
  std::string_view bytes(sink.bytes);
  bytes.remove_suffix(2);
  return std::string(bytes.substr(bytes.rfind("\r\n") + 2));
}

void write_negative_displacement_warning(const Counters& n, codec::Sink& report,
                                         codec::Sink& console) {
  if (n.NNEG <= 0) return;
  write_negative_displacement_lines(n, report);
  codec::write(console, box_top());
  write_negative_displacement_lines(n, console);
  codec::write(console, box_bottom());
}

void write_nonfinite_warning(const std::vector<int>& tests, bool in_analysis, codec::Sink& report,
                             codec::Sink& console) {
  if (tests.empty() && !in_analysis) return;
  std::string where;
  if (!tests.empty()) {
    where = "DENEY NO.";
    for (std::size_t k = 0; k < tests.size(); ++k) {
      where += (k == 0 ? " " : ", ") + std::to_string(tests[k]);
    }
    where += in_analysis ? " VE DAYANIM ANALİZİ" : "";
  } else {
    where = "DAYANIM ANALİZİ";
  }
  const std::string record = codec::to_cp857(
      " *** UYARI: " + where +
      " ÇIKTISINDA HESAPLANAMAYAN DEĞERLER VAR (YILDIZLI ALANLAR). VERİLERİ DENETLEYİNİZ !");
  write_to_both(record, report, console);
}

}  // namespace ostrevik::driver
