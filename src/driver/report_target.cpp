#include "driver/report_target.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "codec/cp857.h"

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif

namespace ostrevik::driver {
namespace {

// The name the report file is opened under; a stale temporary file, left by a run that was
// killed before its end, is removed first: it never holds a complete report of its own.
std::string opened_name(const std::string& path, bool replace) {
  if (!replace) return path;
  const std::string temporary = ReportTarget::temporary_name(path);
  std::remove(temporary.c_str());
  return temporary;
}

// Renames `from` to `to` in one step, replacing a file named `to`; an error message on failure.
std::optional<std::string> rename_over(const std::string& from, const std::string& to) {
#ifdef _WIN32
  if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return std::nullopt;
  return "cannot rename " + from + " to " + to + ": error " + std::to_string(GetLastError());
#else
  if (std::rename(from.c_str(), to.c_str()) == 0) return std::nullopt;
  return "cannot rename " + from + " to " + to + ": " + std::strerror(errno);
#endif
}

}  // namespace

void Utf8Sink::record(std::string_view bytes) {
  out_.record(codec::cp857_to_utf8(bytes));
}

ReportTarget::ReportTarget(const std::string& path, bool replace, ReportEncoding encoding)
    : path_(path), replace_(replace), file_(opened_name(path, replace)) {
  if (encoding == ReportEncoding::Utf8) utf8_.emplace(file_);
}

codec::Sink& ReportTarget::sink() {
  if (utf8_) return *utf8_;
  return file_;
}

std::string ReportTarget::temporary_name(const std::string& path) {
  return path + ".new";
}

std::string ReportTarget::partial_name(const std::string& path) {
  return path + ".partial";
}

void ReportTarget::complete() {
  if (!replace_) {
    file_.close();
    return;
  }
  file_.close_on_disk();
  if (const auto error = rename_over(temporary_name(path_), path_)) throw ReportFileError(*error);
}

std::string ReportTarget::keep_partial() {
  try {
    file_.close();
  } catch (const ReportFileError&) {
    // What could be written is kept all the same; the error that stopped the run matters more.
  }
  if (!replace_) return path_;
  const std::string partial = partial_name(path_);
  if (rename_over(temporary_name(path_), partial)) return temporary_name(path_);
  return partial;
}

void write_whole_file(const std::string& path, std::string_view bytes) {
  const std::string temporary = ReportTarget::temporary_name(path);
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) {
    throw ReportFileError("cannot create file " + temporary + ": " + std::strerror(errno));
  }
  const bool written =
      std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
  if (std::fclose(file) != 0 || !written) {
    std::remove(temporary.c_str());
    throw ReportFileError("write error, file " + temporary);
  }
  if (const auto error = rename_over(temporary, path)) throw ReportFileError(*error);
}

}  // namespace ostrevik::driver
