#include "driver/console.h"

#include <cctype>
#include <clocale>
#include <cstdlib>
#include <optional>

#include "codec/cp857.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <langinfo.h>
#include <unistd.h>
#endif

namespace ostrevik::driver {
namespace {

#ifdef _WIN32
// The DOS Turkish code page, the one every console record is written in.
constexpr UINT kCodePage857 = 857;

// Shows CP857 bytes as the Turkish letters they are when `out` is a console window; returns the
// code page to put back afterwards, or 0 when nothing was changed.
unsigned int select_code_page_857(std::FILE* out) {
  const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(out)));
  DWORD mode = 0;
  if (handle == INVALID_HANDLE_VALUE || GetConsoleMode(handle, &mode) == 0) return 0;
  const UINT previous = GetConsoleOutputCP();
  if (previous == kCodePage857 || SetConsoleOutputCP(kCodePage857) == 0) return 0;
  return previous;
}
#endif

// First non-empty of LC_ALL, LC_CTYPE and LANG: the locale name that governs character handling.
std::string_view ctype_locale_name() {
  for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return value;
  }
  return {};
}

// "tr_TR.UTF-8@euro" names the character set "UTF-8"; a name without a point ("UTF-8", as some
// systems set LC_CTYPE) is taken whole.
std::string_view charset_of_locale_name(std::string_view name) {
  name = name.substr(0, name.find('@'));
  const auto point = name.find('.');
  return point == std::string_view::npos ? name : name.substr(point + 1);
}

#ifndef _WIN32
// Asks the C library, which knows the installed locales and their aliases, and leaves the
// process locale as it was; no answer when the named locale is not installed.
std::optional<bool> installed_locale_is_utf8() {
  const char* current = std::setlocale(LC_CTYPE, nullptr);
  const std::string saved = current != nullptr ? current : "C";
  if (std::setlocale(LC_CTYPE, "") == nullptr) return std::nullopt;
  const bool utf8 = is_utf8_charset(nl_langinfo(CODESET));
  std::setlocale(LC_CTYPE, saved.c_str());
  return utf8;
}
#endif

}  // namespace

ConsoleSink::ConsoleSink(std::FILE* out, bool utf8) : out_(out), utf8_(utf8) {
#ifdef _WIN32
  // The records carry their own CR LF; text mode would add a second CR.
  _setmode(_fileno(out_), _O_BINARY);
  restore_code_page_ = select_code_page_857(out_);
#endif
}

ConsoleSink::~ConsoleSink() {
#ifdef _WIN32
  if (restore_code_page_ != 0) SetConsoleOutputCP(restore_code_page_);
#endif
}

void ConsoleSink::record(std::string_view bytes) {
  line_ = utf8_ ? codec::cp857_to_utf8(bytes) : std::string(bytes);
  line_ += "\r\n";
  std::fwrite(line_.data(), 1, line_.size(), out_);
  std::fflush(out_);
}

bool is_utf8_charset(std::string_view name) {
  std::string folded;
  for (const char c : name) {
    if (c != '-' && c != '_')
      folded += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return folded == "utf8";
}

bool locale_wants_utf8() {
#ifndef _WIN32
  if (const auto utf8 = installed_locale_is_utf8()) return *utf8;
#endif
  return is_utf8_charset(charset_of_locale_name(ctype_locale_name()));
}

bool console_wants_utf8() {
#ifdef _WIN32
  // A console window shows the CP857 bytes themselves once its code page is 857.
  return false;
#else
  return isatty(STDOUT_FILENO) != 0 && locale_wants_utf8();
#endif
}

}  // namespace ostrevik::driver
