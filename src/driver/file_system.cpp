#include "driver/file_system.h"

#include <cerrno>
#include <cstring>
#include <cwctype>
#include <functional>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#endif

namespace ostrevik::driver {

std::string reason_of(SystemError error) {
  return std::strerror(error);
}

#ifdef _WIN32
namespace {

// Names are in the system's ANSI code page, as the C runtime's narrow functions take them.
std::wstring wide(const std::string& path) {
  const int size =
      MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
  std::wstring text(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), text.data(), size);
  return text;
}

SystemError errno_of(DWORD error) {
  switch (error) {
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return EEXIST;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
      return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    default:
      return EIO;
  }
}

double seconds_of(const FILETIME& time) {
  const ULONGLONG ticks = (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  constexpr double kTicksPerSecond = 1e7;
  constexpr double kSecondsFrom1601To1970 = 11644473600.0;
  return static_cast<double>(ticks) / kTicksPerSecond - kSecondsFrom1601To1970;
}

std::optional<SystemError> move_file(const std::string& from, const std::string& to, DWORD flags) {
  if (MoveFileExW(wide(from).c_str(), wide(to).c_str(), flags | MOVEFILE_WRITE_THROUGH)) {
    return std::nullopt;
  }
  return errno_of(GetLastError());
}

}  // namespace

std::FILE* create_new_file(const std::string& path, SystemError& error) {
  // CREATE_NEW fails on any existing name, a link included, and never opens what it points to.
  const HANDLE handle = CreateFileW(wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    error = errno_of(GetLastError());
    return nullptr;
  }
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
  if (fd < 0) {
    CloseHandle(handle);
    error = EIO;
    return nullptr;
  }
  std::FILE* file = _fdopen(fd, "wb");
  if (file == nullptr) {
    error = errno;
    _close(fd);
  }
  return file;
}

bool flush_to_disk(std::FILE* file) {
  return _commit(_fileno(file)) == 0;
}

std::optional<SystemError> rename_no_replace(const std::string& from, const std::string& to) {
  return move_file(from, to, 0);
}

std::optional<SystemError> rename_replacing(const std::string& from, const std::string& to) {
  return move_file(from, to, MOVEFILE_REPLACE_EXISTING);
}

bool remove_file(const std::string& path) {
  return DeleteFileW(wide(path).c_str()) != 0;
}

EntryKind entry_kind(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(wide(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return EntryKind::None;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return EntryKind::Folder;
  if ((attributes & FILE_ATTRIBUTE_DEVICE) != 0) return EntryKind::Other;
  return EntryKind::File;
}

long current_process_id() {
  return static_cast<long>(GetCurrentProcessId());
}

bool process_running(long id) {
  const HANDLE process =
      OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(id));
  if (process == nullptr) return GetLastError() == ERROR_ACCESS_DENIED;
  DWORD code = 0;
  const bool running = GetExitCodeProcess(process, &code) != 0 && code == STILL_ACTIVE;
  CloseHandle(process);
  return running;
}

std::optional<double> modification_time(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(wide(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return seconds_of(data.ftLastWriteTime);
}

double time_now() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return seconds_of(now);
}

// The mutex of a folder is named after its full path in lower case, so that every run that
// names the folder in another way still meets the same mutex.
std::wstring mutex_name(const std::string& folder) {
  const std::wstring path = wide(folder.empty() ? "." : folder);
  std::wstring full(MAX_PATH, L'\0');
  const DWORD length =
      GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  full.resize(length > 0 && length < full.size() ? length : 0);
  if (full.empty()) full = path;
  for (wchar_t& c : full) c = static_cast<wchar_t>(towlower(c));
  return L"Local\\ostrevik-set-" + std::to_wstring(std::hash<std::wstring>{}(full));
}

FolderLock::FolderLock(const std::string& folder) {
  HANDLE mutex = CreateMutexW(nullptr, FALSE, mutex_name(folder).c_str());
  if (mutex == nullptr) return;
  const DWORD waited = WaitForSingleObject(mutex, INFINITE);
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
    CloseHandle(mutex);
    return;
  }
  mutex_ = mutex;
}

FolderLock::~FolderLock() {
  if (mutex_ == nullptr) return;
  ReleaseMutex(static_cast<HANDLE>(mutex_));
  CloseHandle(static_cast<HANDLE>(mutex_));
}

void open_closed_standard_streams() {}

void ignore_broken_pipes() {}

#else

std::FILE* create_new_file(const std::string& path, SystemError& error) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) {
    error = errno;
    return nullptr;
  }
  std::FILE* file = ::fdopen(fd, "wb");
  if (file == nullptr) {
    error = errno;
    ::close(fd);
  }
  return file;
}

bool flush_to_disk(std::FILE* file) {
  return ::fsync(::fileno(file)) == 0;
}

std::optional<SystemError> rename_no_replace(const std::string& from, const std::string& to) {
#ifdef RENAME_NOREPLACE
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
    return std::nullopt;
  }
  if (errno != EINVAL && errno != ENOSYS) return errno;
#endif
  // A file system without the no-replace rename: a second name made in one step (which fails
  // where the name exists), then the temporary name removed.
  if (::link(from.c_str(), to.c_str()) == 0) {
    ::unlink(from.c_str());
    return std::nullopt;
  }
  return errno;
}

std::optional<SystemError> rename_replacing(const std::string& from, const std::string& to) {
  if (std::rename(from.c_str(), to.c_str()) == 0) return std::nullopt;
  return errno;
}

bool remove_file(const std::string& path) {
  return ::unlink(path.c_str()) == 0;
}

EntryKind entry_kind(const std::string& path) {
  struct stat entry;
  if (::lstat(path.c_str(), &entry) != 0) return EntryKind::None;
  if (S_ISDIR(entry.st_mode)) return EntryKind::Folder;
  if (S_ISREG(entry.st_mode) || S_ISLNK(entry.st_mode)) return EntryKind::File;
  return EntryKind::Other;
}

long current_process_id() {
  return static_cast<long>(::getpid());
}

bool process_running(long id) {
  if (id <= 0) return true;
  return ::kill(static_cast<pid_t>(id), 0) == 0 || errno != ESRCH;
}

std::optional<double> modification_time(const std::string& path) {
  struct stat entry;
  if (::lstat(path.c_str(), &entry) != 0) return std::nullopt;
  return static_cast<double>(entry.st_mtim.tv_sec) +
         1e-9 * static_cast<double>(entry.st_mtim.tv_nsec);
}

double time_now() {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

FolderLock::FolderLock(const std::string& folder) {
  descriptor_ = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor_ >= 0 && ::flock(descriptor_, LOCK_EX) != 0) {
    ::close(descriptor_);
    descriptor_ = -1;
  }
}

FolderLock::~FolderLock() {
  if (descriptor_ >= 0) ::close(descriptor_);
}

void open_closed_standard_streams() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    // The lowest free number is taken: the closed one.
    const int opened = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
    if (opened >= 0 && opened != fd) ::close(opened);
  }
}

void ignore_broken_pipes() {
  ::signal(SIGPIPE, SIG_IGN);
}

#endif

}  // namespace ostrevik::driver
