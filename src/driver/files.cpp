#include "driver/files.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>

#include "codec/cp857.h"
#include "codec/errors.h"
#include "driver/file_system.h"

namespace ostrevik::driver {
namespace {

constexpr int kDataUnit = 5;
constexpr int kReportUnit = 6;
// Records of the report gathered before they are written: fewer pieces cost more system calls
// than the memory saved, larger ones gain nothing.
constexpr std::size_t kPiece = 16 * 1024;
// What is read of a data file at a time when its size is not known beforehand (a pipe).
constexpr std::size_t kReadPiece = 64 * 1024;

codec::FatalError not_found(const std::string& path) {
  return codec::FatalError(codec::FatalKind::FileNotFound, kDataUnit, path);
}

DataFileError cannot_read(const std::string& path, const std::string& reason) {
  return DataFileError("cannot read data file, unit 5, file " + path + ": " + reason);
}

// What an open data file is: the kinds a data file may be, and what else it may turn out to be.
enum class DataKind { File, Pipe, Folder, Device };

DataKind kind_of(std::FILE* file) {
#ifdef _WIN32
  struct _stat64 entry;
  if (_fstat64(_fileno(file), &entry) != 0) return DataKind::File;
  const auto type = entry.st_mode & _S_IFMT;
  if (type == _S_IFDIR) return DataKind::Folder;
  if (type == _S_IFIFO) return DataKind::Pipe;
  if (type == _S_IFREG) return DataKind::File;
#else
  struct stat entry;
  if (::fstat(::fileno(file), &entry) != 0) return DataKind::File;
  if (S_ISDIR(entry.st_mode)) return DataKind::Folder;
  if (S_ISFIFO(entry.st_mode)) return DataKind::Pipe;
  if (S_ISREG(entry.st_mode)) return DataKind::File;
#endif
  return DataKind::Device;
}

// A file whose opening failed, named as what it is, with the system's reason.
[[noreturn]] void throw_open_failure(const std::string& path, SystemError error) {
  if (error == ENOENT || error == ENOTDIR) throw not_found(path);
  if (entry_kind(path) == EntryKind::Folder) throw cannot_read(path, reason_of(EISDIR));
  throw cannot_read(path, reason_of(error));
}

// The bytes of an open file or pipe up to kDataFileLimit; throws beyond it and on a read error.
std::string bytes_of(std::FILE* file, DataKind kind, const std::string& path) {
  // The text is read in place into a string of the file's size (one byte more, so that the end
  // of the file is seen at once), without a buffer of the C library in between.
  std::setvbuf(file, nullptr, _IONBF, 0);
  std::error_code size_unknown;
  const std::uintmax_t size =
      kind == DataKind::File ? std::filesystem::file_size(path, size_unknown) : 0;
  std::string bytes(kind == DataKind::File && !size_unknown
                        ? std::min<std::uintmax_t>(size, kDataFileLimit) + 1
                        : kReadPiece,
                    '\0');
  std::size_t used = 0;
  for (;;) {
    used += std::fread(bytes.data() + used, 1, bytes.size() - used, file);
    if (used < bytes.size() || used > kDataFileLimit) break;  // end of file, an error, too long
    bytes.resize(std::min(2 * bytes.size(), kDataFileLimit + 1));
  }
  if (std::ferror(file) != 0) throw cannot_read(path, reason_of(errno));
  if (used > kDataFileLimit) {
    throw cannot_read(path, "larger than 64 MiB, far more than any data file holds");
  }
  bytes.resize(used);
  return bytes;
}

// The name of the Unicode encoding whose byte-order mark begins the bytes, or nothing.
std::optional<std::string_view> wide_encoding_of(std::string_view bytes) {
  using namespace std::string_view_literals;
  if (bytes.starts_with("\xFF\xFE\0\0"sv) || bytes.starts_with("\0\0\xFE\xFF"sv)) return "UTF-32";
  if (bytes.starts_with("\xFF\xFE"sv) || bytes.starts_with("\xFE\xFF"sv)) return "UTF-16";
  return std::nullopt;
}

// The report created new: an existing file is never truncated.
std::FILE* created_report(const std::string& path) {
  SystemError error = 0;
  std::FILE* created = create_new_file(path, error);
  if (created == nullptr && error == EEXIST) {
    throw codec::FatalError(codec::FatalKind::FileExists, kReportUnit, path);
  }
  if (created == nullptr) {
    throw ReportFileError("cannot create file, unit 6, file " + path + ": " + reason_of(error));
  }
  return created;
}

}  // namespace

std::string read_input_file(const std::string& path) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                       &std::fclose);
  if (!file) throw_open_failure(path, errno);
  const DataKind kind = kind_of(file.get());
  // A folder opens on some systems and only fails at the first read.
  if (kind == DataKind::Folder) throw cannot_read(path, reason_of(EISDIR));
  if (kind == DataKind::Device) throw cannot_read(path, "a device, not a file");
  std::string bytes = bytes_of(file.get(), kind, path);
  if (const auto encoding = wide_encoding_of(bytes)) {
    throw cannot_read(path,
                      "the file is in " + std::string(*encoding) + ": save it as UTF-8 or CP857");
  }
  return bytes;
}

codec::Source read_data_file(const std::string& path) {
  std::string bytes = read_input_file(path);
  // Typed in UTF-8 (a modern editor's default): read as the CP857 text it stands for, so that
  // titles come out right and columns count characters, not bytes.
  if (std::optional<std::string> text = codec::cp857_of_utf8_text(bytes)) bytes = std::move(*text);
  return codec::Source(std::move(bytes), kDataUnit, path);
}

ReportFile::ReportFile(const std::string& path) : ReportFile(created_report(path), path) {}

ReportFile::ReportFile(std::FILE* created, std::string name)
    : path_(std::move(name)), file_(created) {
  // Records are gathered here and handed over in large pieces, written at once.
  std::setvbuf(file_.get(), nullptr, _IONBF, 0);
  pending_.reserve(kPiece);
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

void ReportFile::keep_first_error() {
  if (error_ == 0) error_ = errno != 0 ? errno : EIO;
}

void ReportFile::write_pending() {
  if (std::fwrite(pending_.data(), 1, pending_.size(), file_.get()) != pending_.size()) {
    keep_first_error();
  }
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
  if (std::fflush(file_.get()) != 0) keep_first_error();
  if (on_disk && error_ == 0 && !flush_to_disk(file_.get())) keep_first_error();
  if (std::fclose(file_.release()) != 0) keep_first_error();
  if (error_ != 0) {
    throw ReportFileError("write error, unit 6, file " + path_ + ": " + reason_of(error_));
  }
}

}  // namespace ostrevik::driver
