#include "driver/dialogue.h"

#include <algorithm>

#include "codec/layout.h"

namespace ostrevik::driver {
namespace {

std::string_view text_of(const FileName& name) {
  return {name.data(), name.size()};
}

// A line without its LF, as a name: a CR before the LF dropped, the first 12 characters kept.
FileName file_name_of(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  FileName name;
  name.fill(' ');
  std::copy_n(line.begin(), std::min(line.size(), name.size()), name.begin());
  return name;
}

}  // namespace

const codec::Layout& box_top() {
  static const codec::Layout kTop("(/,/,/,4X,24('*  '),/,4X,'*',68X,'*')");
  return kTop;
}

const codec::Layout& box_bottom() {
  static const codec::Layout kBottom("(4X,24('*  '),/,/,/)");
  return kBottom;
}

void write_banner(codec::Sink& console) {
  static const codec::Layout kName("(4X,'*',20X,'Ostrevik:   DORVANTELIK KUPA',20X,'*')");
  static const codec::Layout kPurpose("(4X,'*',21X,'KESME DENEYİ DEĞERLENDİRME',21X,'*')");
  static const codec::Layout kProgram("(4X,'*',30X,'PROGRAMI',30X,'*')");
  static const codec::Layout kEmpty("(4X,'*',68X,'*')");
  static const codec::Layout kMakers("(4X,'*',22X,'Ostrevik Yazılım Takımı',23X,'*')");
  static const codec::Layout kVersion("(4X,'*',28X,'Sürüm 2026.1',28X,'*')");
  static const codec::Layout kDate("(4X,'*',29X,'Nisan 2007',29X,'*')");
  static const codec::Layout kBlankLines(
      "(' *** UYARI: VERİ KÜT.DEN ÖNCE YA DA SONRA, BOŞ SATIR KALMAMALIDIR !',/,/,/)");
  codec::write(console, box_top());
  codec::write(console, kName);
  codec::write(console, kPurpose);
  codec::write(console, kProgram);
  codec::write(console, kEmpty);
  codec::write(console, kMakers);
  codec::write(console, kVersion);
  codec::write(console, kEmpty);
  codec::write(console, kDate);
  codec::write(console, kEmpty);
  codec::write(console, box_bottom());
  codec::write(console, kBlankLines);
}

void write_data_file_prompt(codec::Sink& console) {
  static const codec::Layout kPrompt(
      "(' LÜTFEN VERİ KÜTÜĞÜ ADINI BELİRTİNİZ (Örnek: --------.DAT):  ')");
  codec::write(console, kPrompt);
}

void write_report_file_prompt(codec::Sink& console) {
  static const codec::Layout kPrompt(
      "(' LÜTFEN ÇIKTI KÜTÜĞÜ ADINI BELİRTİNİZ (Örnek: --------.OUT) :  ')");
  codec::write(console, kPrompt);
}

std::optional<FileName> read_file_name(std::FILE* in) {
  std::string line;
  int c = 0;
  while ((c = std::getc(in)) != EOF && c != '\n') line += static_cast<char>(c);
  if (c == EOF && line.empty()) return std::nullopt;
  return file_name_of(line);
}

std::string path_of(const FileName& name) {
  std::string_view text = text_of(name);
  return std::string(text.substr(0, text.find_last_not_of(' ') + 1));
}

void write_title_line(codec::Sink& report, const FileName& report_name, const FileName& data_name) {
  static const codec::Layout kTitle(
      "(' *** ',A,' :  ',A,' VERİLERİNİN 2 Nisan 2007 TARİHLİ Ostrevik PROGRAMIYLA "
      "DEĞERLENDİRİLEN ÇIKTISI ***',/,5X,106('-'),/)");
  codec::write(report, kTitle, {text_of(report_name), text_of(data_name)});
}

}  // namespace ostrevik::driver
