#include "driver/files.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>

#include "codec/cp857.h"
#include "codec/errors.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <unistd.h>
#endif

namespace ostrevik::driver {
namespace {

constexpr int kDataUnit = 5;
constexpr int kReportUnit = 6;
// Records of the report gathered before they are written: fewer pieces cost more system calls
// than the memory saved, larger ones gain nothing.
constexpr std::size_t kPiece = 16 * 1024;

codec::FatalError not_found(const std::string& path) {
  return codec::FatalError(codec::FatalKind::FileNotFound, kDataUnit, path);
}

// Opens a new file for writing, failing with EEXIST when one of that name exists. The Windows C
// runtime ignores the "x" of fopen and would truncate the existing file.
std::FILE* create_new_file(const std::string& path) {
#ifdef _WIN32
  const int fd =
      _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
  if (fd < 0) return nullptr;
  std::FILE* file = _fdopen(fd, "wb");
  if (file == nullptr) _close(fd);
  return file;
#else
  return std::fopen(path.c_str(), "wbx");
#endif
}

// Waits until the file's written bytes are on the disk; false when that failed.
bool to_disk(std::FILE* file) {
#ifdef _WIN32
  return _commit(_fileno(file)) == 0;
#else
  return fsync(fileno(file)) == 0;
#endif
}

}  // namespace

codec::Source read_data_file(const std::string& path) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                       &std::fclose);
  if (!file) throw not_found(path);
  // The text is read in place into a string of the file's size (one byte more, so that the end
  // of the file is seen at once), without a buffer of the C library in between.
  std::setvbuf(file.get(), nullptr, _IONBF, 0);
  std::error_code size_unknown;
  const std::uintmax_t size = std::filesystem::file_size(path, size_unknown);
  std::string bytes(size_unknown ? 4096 : size + 1, '\0');
  std::size_t used = 0;
  for (;;) {
    used += std::fread(bytes.data() + used, 1, bytes.size() - used, file.get());
    if (used < bytes.size()) break;  // end of file, or an error
    bytes.resize(2 * bytes.size());
  }
  bytes.resize(used);
  // A directory opens on some systems and only fails at the first read.
  if (std::ferror(file.get()) != 0) throw not_found(path);
  // Typed in UTF-8 (a modern editor's default): read as the CP857 text it stands for, so that
  // titles come out right and columns count characters, not bytes.
  if (std::optional<std::string> text = codec::cp857_of_utf8_text(bytes)) bytes = std::move(*text);
  return codec::Source(std::move(bytes), kDataUnit, path);
}

ReportFile::ReportFile(const std::string& path) : path_(path) {
  // "x": exclusive creation, so that an existing report is never truncated.
  file_.reset(create_new_file(path));
  if (file_) {
    // Records are gathered here and handed over in large pieces, written at once.
    std::setvbuf(file_.get(), nullptr, _IONBF, 0);
    pending_.reserve(kPiece);
    return;
  }
  if (errno == EEXIST) throw codec::FatalError(codec::FatalKind::FileExists, kReportUnit, path);
  throw ReportFileError("cannot create file, unit 6, file " + path + ": " + std::strerror(errno));
}

ReportFile::~ReportFile() {
  if (file_) write_pending();
}

void ReportFile::record(std::string_view bytes) {
  if (!file_) return;
  if (pending_.size() + bytes.size() + 2 > kPiece) write_pending();
  pending_.append(bytes);
  pending_.append("\r\n");
}

void ReportFile::write_pending() {
  std::fwrite(pending_.data(), 1, pending_.size(), file_.get());
  pending_.clear();
}

void ReportFile::close() {
  close_file(false);
}

void ReportFile::close_on_disk() {
  close_file(true);
}

void ReportFile::close_file(bool on_disk) {
  if (!file_) return;
  write_pending();
  bool written = std::fflush(file_.get()) == 0 && std::ferror(file_.get()) == 0;
  if (on_disk) written = written && to_disk(file_.get());
  const bool closed = std::fclose(file_.release()) == 0;
  if (!written || !closed) throw ReportFileError("write error, unit 6, file " + path_);
}

}  // namespace ostrevik::driver
