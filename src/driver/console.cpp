#include "driver/console.h"

#include <clocale>
#include <cstring>

#include "codec/cp857.h"

#ifdef _WIN32
#include <io.h>
#else
#include <langinfo.h>
#include <unistd.h>
#endif

namespace ostrevik::driver {

void ConsoleSink::record(std::string_view bytes) {
  line_ = utf8_ ? codec::cp857_to_utf8(bytes) : std::string(bytes);
  line_ += "\r\n";
  std::fwrite(line_.data(), 1, line_.size(), out_);
}

bool console_wants_utf8() {
#ifdef _WIN32
  return false;
#else
  if (isatty(STDOUT_FILENO) == 0) return false;
  if (std::setlocale(LC_CTYPE, "") == nullptr) return false;
  const char* codeset = nl_langinfo(CODESET);
  return codeset != nullptr &&
         (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
#endif
}

}  // namespace ostrevik::driver
