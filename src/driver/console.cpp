#include "driver/console.h"

#include <cctype>
#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
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
  write(line_);
}

void ConsoleSink::write_as_is(std::string_view line) {
  write(line);
}

void ConsoleSink::write(std::string_view bytes) {
  if (reader_gone_) return;
  errno = 0;
  if (std::fwrite(bytes.data(), 1, bytes.size(), out_) == bytes.size() && std::fflush(out_) == 0) {
    return;
  }
  if (errno == EPIPE) {
    reader_gone_ = true;
  } else if (error_ == 0) {
    error_ = errno != 0 ? errno : EIO;
  }
  std::clearerr(out_);
}

std::string printable(std::string_view message) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (const char c : message) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\t') {
      text += "<TAB>";
    } else if (byte < 0x20 || byte == 0x7F) {
      text += "\\x";
      text += kDigits[byte >> 4];
      text += kDigits[byte & 0xF];
    } else {
      text += c;
    }
  }
  return text;
}

void write_error_line(std::string_view message) {
  std::fflush(stdout);
  const std::string line = printable(message) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

int console_status(const ConsoleSink& console) {
  if (console.write_error() == 0) return 0;
  write_error_line("cannot write the console (standard output): " +
                   std::string(std::strerror(console.write_error())));
  return 2;
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
