#include "driver/output_set.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "codec/cp857.h"
#include "driver/console.h"
#include "driver/file_system.h"

namespace ostrevik::driver {
namespace {

// Numbers tried for the temporaries of one set before giving up: each is taken only by a
// process that has ended without removing its files.
constexpr int kTokensTried = 100;

const char* const kWriting = ".new-";  // a temporary being written
const char* const kReady = ".ready-";  // the report of a set being put in place

std::string folder_of(const std::string& path) {
  return std::filesystem::path(path).parent_path().string();
}

std::string exists_message(const std::string& path, bool report) {
  return std::string("file already exists, ") + (report ? "unit 6, " : "") + "file " + path +
         " (-f replaces it)";
}

std::string cannot_create(const std::string& path, bool report, SystemError error) {
  return std::string("cannot create file, ") + (report ? "unit 6, " : "") + "file " + path + ": " +
         reason_of(error);
}

// The process that wrote a temporary named after `base`: "S1.OUT.new-4242-1" gives 4242 for
// "S1.OUT" and ".new-"; nothing for a name of another pattern.
std::optional<long> writer_of(std::string_view name, std::string_view base,
                              std::string_view stage) {
  if (!name.starts_with(base) || !name.substr(base.size()).starts_with(stage)) return std::nullopt;
  const std::string_view token = name.substr(base.size() + stage.size());
  long process = 0;
  const auto [dash, error] = std::from_chars(token.data(), token.data() + token.size(), process);
  if (error != std::errc() || dash == token.data() + token.size() || *dash != '-') {
    return std::nullopt;
  }
  int number = 0;
  const auto [end, number_error] = std::from_chars(dash + 1, token.data() + token.size(), number);
  if (number_error != std::errc() || end != token.data() + token.size()) return std::nullopt;
  return process;
}

// The names in a folder; as many as could be read.
std::vector<std::string> names_in(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    names.push_back(it->path().filename().string());
  }
  return names;
}

}  // namespace

void Utf8Sink::record(std::string_view bytes) {
  out_.record(codec::cp857_to_utf8(bytes));
}

OutputSet::OutputSet(OutputNames names, bool replace, ReportEncoding encoding)
    : names_(std::move(names)), replace_(replace), start_(time_now()) {
  report_.path = names_.report;
  // Leftovers first: a set left half in place is named also when its files now clash.
  clean_leftovers();
  check_name(names_.report);
  for (const std::string& path : names_.exports) check_name(path);
  create_report(encoding);
}

OutputSet::~OutputSet() {
  file_.reset();
  remove_temporaries();
}

std::string OutputSet::partial_name(const std::string& path) {
  return path + ".partial";
}

std::string OutputSet::temporary_of(const std::string& path, const char* stage) const {
  return path + stage + token_;
}

// A folder is never replaced; without `replace` no file of the name may be there.
void OutputSet::check_name(const std::string& path) const {
  const bool report = path == names_.report;
  const EntryKind kind = entry_kind(path);
  if (kind == EntryKind::Folder) throw ReportFileError(cannot_create(path, report, EISDIR));
  if (kind != EntryKind::None && !replace_) throw ReportFileError(exists_message(path, report));
}

// Temporaries left by a process that has ended before this set was made: those being written
// of any file named after the report's stem (the exports of every option, NAME.* of NAME.OUT)
// are removed; the report of a set being put in place is named, and removed once this set has
// replaced the files it went with.
void OutputSet::clean_leftovers() {
  const std::filesystem::path report(names_.report);
  const std::string base = report.filename().string();
  const std::string stem = report.stem().string() + ".";
  const std::filesystem::path folder = report.has_parent_path() ? report.parent_path() : ".";
  for (const std::string& name : names_in(folder)) {
    const std::string leftover = (report.parent_path() / name).string();
    const auto dot = name.rfind(kWriting);
    const std::optional<long> writing =
        dot == std::string::npos ? std::nullopt : writer_of(name, name.substr(0, dot), kWriting);
    const std::optional<long> ready = writer_of(name, base, kReady);
    if (!(writing && name.starts_with(stem)) && !ready) continue;
    const long writer = writing ? *writing : *ready;
    if (writer == current_process_id() || process_running(writer)) continue;
    const std::optional<double> changed = modification_time(leftover);
    if (!changed || *changed >= start_) continue;
    if (writing) {
      remove_file(leftover);
      continue;
    }
    write_error_line("an earlier run was stopped while it put its files in place: " +
                     names_.report + " and the files written with it may be from two runs (its " +
                     "complete report is " + leftover + ")");
    half_sets_.push_back(leftover);
  }
}

// The report's temporary, under the first number of this process that is free.
void OutputSet::create_report(ReportEncoding encoding) {
  SystemError error = EEXIST;
  for (int number = 1; number <= kTokensTried && error == EEXIST; ++number) {
    token_ = std::to_string(current_process_id()) + "-" + std::to_string(number);
    const std::string temporary = temporary_of(names_.report, kWriting);
    if (std::FILE* created = create_new_file(temporary, error)) {
      report_.temporary = temporary;
      file_.emplace(created, names_.report);
      if (encoding == ReportEncoding::Utf8) utf8_.emplace(*file_);
      return;
    }
  }
  throw ReportFileError(cannot_create(names_.report, true, error));
}

codec::Sink& OutputSet::report() {
  if (utf8_) return *utf8_;
  return *file_;
}

void OutputSet::add_export(const std::string& path, std::string_view bytes) {
  Member member{path, temporary_of(path, kWriting)};
  SystemError error = 0;
  std::FILE* file = create_new_file(member.temporary, error);
  if (file == nullptr) throw ReportFileError(cannot_create(path, false, error));
  exports_.push_back(member);
  errno = 0;
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() &&
                 std::fflush(file) == 0 && flush_to_disk(file);
  if (!written) error = errno;
  if (std::fclose(file) != 0 && written) {
    written = false;
    error = errno;
  }
  if (!written) {
    throw ReportFileError("write error, file " + path + ": " + reason_of(error != 0 ? error : EIO));
  }
}

void OutputSet::close_report() {
  if (!file_) return;
  file_->close_on_disk();
  file_.reset();
  utf8_.reset();
}

void OutputSet::complete() {
  close_report();
  // From here on a stopped run leaves a complete report under this name: the next run knows
  // that the set was being put in place.
  const std::string ready = temporary_of(names_.report, kReady);
  if (const auto error = rename_no_replace(report_.temporary, ready)) {
    throw ReportFileError(cannot_create(names_.report, true, *error));
  }
  report_.temporary = ready;
  const FolderLock lock(folder_of(names_.report));
  std::vector<Member*> placed;
  try {
    put_in_place(placed);
  } catch (const ReportFileError&) {
    take_back(placed);
    throw;
  }
  for (Member* member : placed) member->temporary.clear();
  remove_file(partial_name(names_.report));
  for (const std::string& half : half_sets_) remove_file(half);
}

// Each export, then the report; with `replace`, an export of the names not written this time
// is removed before the report takes its name.
void OutputSet::put_in_place(std::vector<Member*>& placed) {
  const auto place = [this, &placed](Member& member) {
    const bool report = &member == &report_;
    const auto error = replace_ ? rename_replacing(member.temporary, member.path)
                                : rename_no_replace(member.temporary, member.path);
    if (error && *error == EEXIST) throw ReportFileError(exists_message(member.path, report));
    if (error) throw ReportFileError(cannot_create(member.path, report, *error));
    placed.push_back(&member);
  };
  for (Member& member : exports_) place(member);
  if (replace_) {
    for (const std::string& path : names_.exports) {
      const bool written = std::any_of(exports_.begin(), exports_.end(),
                                       [&path](const Member& m) { return m.path == path; });
      if (!written) remove_file(path);
    }
  }
  place(report_);
}

// A set that could not be put in place whole: the files it put where no file was are taken
// back under their temporary names, so that the names are as they were. Replaced files cannot
// be brought back; they hold the new, complete files.
void OutputSet::take_back(const std::vector<Member*>& placed) {
  for (Member* member : placed) {
    if (replace_ || rename_no_replace(member->path, member->temporary)) member->temporary.clear();
  }
}

std::string OutputSet::keep_partial() {
  if (file_) {
    try {
      file_->close();
    } catch (const ReportFileError&) {
      // What could be written is kept all the same; the error that stopped the run matters more.
    }
    file_.reset();
    utf8_.reset();
  }
  std::string kept = report_.temporary;
  const std::string partial = partial_name(names_.report);
  if (!kept.empty() && !rename_replacing(kept, partial)) kept = partial;
  report_.temporary.clear();
  remove_temporaries();
  return kept;
}

void OutputSet::remove_temporaries() {
  for (Member& member : exports_) {
    if (!member.temporary.empty()) remove_file(member.temporary);
    member.temporary.clear();
  }
  if (!report_.temporary.empty()) remove_file(report_.temporary);
  report_.temporary.clear();
}

}  // namespace ostrevik::driver
