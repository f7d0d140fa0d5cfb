#pragma once
// What the driver's files need of the operating system, one POSIX and one Windows
// implementation: exclusive creation that never follows a link, renames that replace or never
// replace, the kind of a file, whether a process still runs, the system's reason for an error.
#include <cstdio>
#include <optional>
#include <string>

namespace ostrevik::driver {

// A system error number (errno, or a Windows error mapped to the nearest errno).
using SystemError = int;

// The system's text for an error: "No space left on device".
std::string reason_of(SystemError error);

// Opens a new file for writing in binary mode. Fails, with the error in `error`, when any file,
// link or folder of that name exists: an existing file, or what a link points to, is never
// opened. The file is closed on exec.
std::FILE* create_new_file(const std::string& path, SystemError& error);

// Waits until the file's written bytes are on the disk; false when that failed.
bool flush_to_disk(std::FILE* file);

// Renames `from` to `to` only where no file of the name `to` exists, in one step where the
// file system allows it; EEXIST when one does. Nothing, or the error.
std::optional<SystemError> rename_no_replace(const std::string& from, const std::string& to);

// Renames `from` to `to` in one step, replacing a file or link of that name (never what a link
// points to). Nothing, or the error.
std::optional<SystemError> rename_replacing(const std::string& from, const std::string& to);

// Removes a file, or a link itself; false when it could not be removed.
bool remove_file(const std::string& path);

// What a name stands for, without following a link.
enum class EntryKind { None, File, Folder, Other };
EntryKind entry_kind(const std::string& path);

// The identity of this process, as other processes see it.
long current_process_id();

// True when a process of that identity runs; false only when the system says there is none.
bool process_running(long id);

// Seconds since 1970 of a file's last change, without following a link; nothing when it has none.
std::optional<double> modification_time(const std::string& path);

// Seconds since 1970 now, as the file system's clock gives them.
double time_now();

// Serialises the final renames of the runs that write into one folder: held from construction
// to destruction (a lock of the folder, or on Windows a mutex named after it; when neither can
// be had, the renames still never replace without --force).
class FolderLock {
 public:
  explicit FolderLock(const std::string& folder);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
#ifdef _WIN32
  void* mutex_ = nullptr;  // the held mutex of the folder; null when not held
#else
  int descriptor_ = -1;  // the folder opened for its lock; -1 when not locked
#endif
};

// Opens standard input, output and error on the null device where they are closed, so that no
// file the program opens later takes their numbers.
void open_closed_standard_streams();

// A write to a pipe whose reader has gone returns EPIPE instead of ending the program.
void ignore_broken_pipes();

}  // namespace ostrevik::driver
