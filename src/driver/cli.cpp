#include "driver/cli.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "codec/cp857.h"
#include "codec/errors.h"
#include "driver/console.h"
#include "driver/data_input.h"
#include "driver/file_system.h"
#include "driver/files.h"
#include "driver/output_set.h"
#include "driver/series_commands.h"
#include "driver/test_loop.h"
#include "export/ags.h"
#include "export/csv.h"
#include "export/html.h"
#include "export/markup.h"
#include "export/notes.h"
#include "input/series_file.h"

namespace ostrevik::driver {
namespace {

constexpr int kFatal = 2;

// The message of what stopped the evaluation of a file, in the form the dialogue gives it.
std::string message_of_current_exception() {
  try {
    throw;
  } catch (const codec::FatalError& e) {
    return codec::message_of(e);
  } catch (const FileError& e) {
    return e.what();
  } catch (const input::SeriesError& e) {
    return e.what();
  } catch (const std::exception& e) {
    return std::string("internal error: ") + e.what();
  }
}

bool same_file(const std::string& a, const std::string& b) {
  std::error_code unknown;
  return a == b || std::filesystem::equivalent(a, b, unknown);
}

// The names of a data file's output set, and the name each export takes.
struct FilePlan {
  OutputNames names;
  std::string page;                                // the page's name; empty without --html
  std::string ags;                                 // the AGS file's name; empty without --ags
  std::map<std::string, std::string> csv_name_of;  // name csv_files gives → name it takes
};

// An export is named after the report without its extension: NAME.html. Where that name is
// the data file, the report or another file of the set, which it must never replace, it is
// named after the whole report instead: NAME.OUT.html.
std::string export_name(const std::string& own, const std::string& suffix,
                        const std::string& report_path, std::vector<std::string>& taken) {
  const auto is_taken = [&taken](const std::string& name) {
    return std::any_of(taken.begin(), taken.end(),
                       [&name](const std::string& t) { return same_file(name, t); });
  };
  std::string name = is_taken(own) ? report_path + suffix : own;
  if (is_taken(name)) {
    throw ReportFileError("file " + name + " would replace the data file or another output");
  }
  taken.push_back(name);
  return name;
}

FilePlan plan_of(const std::string& data_path, const std::string& report_path,
                 const Options& options) {
  if (same_file(data_path, report_path)) {
    throw ReportFileError("the report would replace its own data file, unit 6, file " +
                          report_path);
  }
  FilePlan plan;
  plan.names.report = report_path;
  std::vector<std::string> taken = {data_path, report_path};
  const std::filesystem::path report(report_path);
  const std::string stem = (report.parent_path() / report.stem()).string();
  if (options.html) {
    plan.page = export_name(stem + ".html", ".html", report_path, taken);
    plan.names.exports.push_back(plan.page);
  }
  if (options.ags) {
    plan.ags = export_name(stem + ".ags", ".ags", report_path, taken);
    plan.names.exports.push_back(plan.ags);
  }
  if (options.csv) {
    for (const std::string& own : exports::csv_file_names(report_path)) {
      const std::string name = export_name(own, own.substr(stem.size()), report_path, taken);
      plan.csv_name_of[own] = name;
      plan.names.exports.push_back(name);
    }
  }
  return plan;
}

std::string html_page_of(const exports::FileSnapshot& snapshot) {
  std::string version = version_text();
  version.erase(version.find_last_not_of('\n') + 1);
  return exports::html_page(snapshot, {version, exports::run_time_now()});
}

// The exports asked for, written into the set beside the report.
void write_exports(OutputSet& set, const FilePlan& plan, const exports::FileSnapshot& snapshot) {
  if (!plan.csv_name_of.empty()) {
    for (const auto& [own, bytes] : exports::csv_files(snapshot)) {
      set.add_export(plan.csv_name_of.at(own), bytes);
    }
  }
  if (!plan.page.empty()) set.add_export(plan.page, html_page_of(snapshot));
  if (!plan.ags.empty())
    set.add_export(plan.ags, exports::ags_file(snapshot, exports::run_time_now()));
}

// Reads the data file, evaluates the tests and writes the file's output set; a fatal error is
// reported on standard error and ends only this file.
FileOutcome evaluate_file(const std::string& data_path, const std::string& report_path,
                          const Options& options, codec::Sink& console, Run& run) {
  FileOutcome outcome;
  outcome.data_path = data_path;
  outcome.report_path = report_path;
  outcome.snapshot.data_file = data_path;
  outcome.snapshot.report_file = report_path;
  outcome.snapshot.regional = options.regional;
  std::optional<OutputSet> set;
  try {
    DataInput data = DataInput::read(data_path);
    const FilePlan plan = plan_of(data_path, report_path, options);
    set.emplace(plan.names, options.force, options.encoding);
    write_title_line(set->report(), title_name(report_path), title_name(data_path));
    outcome.status = data.evaluate(run, set->report(), console, &outcome.snapshot);
    set->close_report();
    write_exports(*set, plan, outcome.snapshot);
    set->complete();
    return outcome;
  } catch (...) {
    write_error_line(message_of_current_exception());
  }
  outcome.status = kFatal;
  outcome.snapshot.exit_status = kFatal;
  if (set) outcome.kept_partial = set->keep_partial();
  if (!outcome.kept_partial.empty()) {
    const bool old_report = entry_kind(report_path) != EntryKind::None;
    write_error_line("what was written before the error is kept in " + outcome.kept_partial + "; " +
                     report_path + (old_report ? " was left as it was" : " was not written"));
  }
  return outcome;
}

// The peak envelope with cohesion on the true shear plane (case 1), when it was fitted.
std::string envelope_text(const exports::StrengthSnapshot& strength) {
  using State = exports::AnalysisValue::State;
  if (!strength.ran) return "";
  const exports::CaseSnapshot& peak = strength.cases[0];
  if (peak.COFCOR.state == State::NotComputed) {
    return "; no envelope with cohesion (PARREG " + std::to_string(strength.IPARRG) + ")";
  }
  if (peak.COHESN.state != State::Number || peak.PHILRG.state != State::Number) {
    return "; peak envelope not computable";
  }
  return "; peak envelope c = " + exports::fixed(peak.COHESN.value, 3) +
         " kPa, phi = " + exports::fixed(peak.PHILRG.value, 3) + " deg";
}

std::string counts_text(const exports::FileSnapshot& snapshot) {
  const auto count = [&snapshot](exports::TestKind kind) {
    return std::to_string(std::count_if(snapshot.tests.begin(), snapshot.tests.end(),
                                        [kind](const auto& t) { return t.kind == kind; }));
  };
  using exports::TestKind;
  return count(TestKind::Evaluated) + " evaluated, " + count(TestKind::CheckOnly) +
         " checked only, " + count(TestKind::Refused) + " refused, " +
         count(TestKind::IterationLimit) + " at the iteration limit";
}

// Written as it is, not through the console's conversion: file names are in the system's own
// encoding. The line ends in CR LF like every console record.
void write_summary_line(const FileOutcome& outcome, ConsoleSink& console) {
  console.write_as_is(summary_line(outcome) + "\r\n");
}

// The notes in the console's encoding, like the messages of the evaluation.
void write_notes(const exports::FileSnapshot& snapshot, codec::Sink& console) {
  for (const exports::Note& note : exports::file_notes(snapshot)) {
    console.record(codec::to_cp857("  " + exports::note_line(note)));
  }
}

// The AGS file's note that its keys are derived, when the data file came without an identity.
void write_ags_note(const exports::FileSnapshot& snapshot, codec::Sink& console) {
  const std::string note = exports::ags_identity_note(snapshot);
  if (!note.empty()) console.record(codec::to_cp857("  " + note));
}

int evaluate_batch(const Options& options) {
  ConsoleSink console(stdout, console_wants_utf8());
  int status = 0;
  for (const std::string& data_path : options.data_files) {
    const std::string report_path =
        options.report_file.empty() ? report_path_for(data_path) : options.report_file;
    // Each file gets a fresh run state, freed before the next.
    auto run = std::make_unique<Run>();
    const FileOutcome outcome = evaluate_file(data_path, report_path, options, console, *run);
    run.reset();
    write_file_summary(outcome, options, console);
    status = std::max(status, outcome.status);
  }
  return std::max(status, console_status(console));
}

}  // namespace

std::string report_path_for(const std::string& data_path) {
  const std::filesystem::path path(data_path);
  const std::string extension = path.extension().string();
  const bool lower_case =
      std::any_of(extension.begin(), extension.end(),
                  [](char c) { return c >= 'a' && c <= 'z'; }) &&
      std::none_of(extension.begin(), extension.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
  return data_path.substr(0, data_path.size() - extension.size()) + (lower_case ? ".out" : ".OUT");
}

FileName title_name(const std::string& path) {
  const std::string base = std::filesystem::path(path).filename().string();
  FileName name;
  name.fill(' ');
  std::copy_n(base.begin(), std::min(base.size(), name.size()), name.begin());
  return name;
}

std::string summary_line(const FileOutcome& outcome) {
  if (outcome.status == kFatal) {
    if (outcome.kept_partial.empty()) return outcome.data_path + ": fatal error, no report written";
    return outcome.data_path + " -> " + outcome.kept_partial +
           " (incomplete): " + counts_text(outcome.snapshot) + "; fatal error";
  }
  return outcome.data_path + " -> " + outcome.report_path + ": " + counts_text(outcome.snapshot) +
         envelope_text(outcome.snapshot.strength);
}

void write_file_summary(const FileOutcome& outcome, const Options& options, ConsoleSink& console) {
  if (options.quiet) return;
  write_summary_line(outcome, console);
  write_notes(outcome.snapshot, console);
  if (options.ags && outcome.status != kFatal) write_ags_note(outcome.snapshot, console);
}

int command_line_main(std::span<const std::string_view> args) {
  if (args.front() == "convert") return convert_main(args.subspan(1));
  if (args.front() == "template") return template_main(args.subspan(1));
  Options options;
  try {
    options = parse_options(args);
  } catch (const UsageError& e) {
    write_error_line(std::string("ostrevik: ") + e.what() + " (see ostrevik --help)");
    return kFatal;
  }
  if (options.help || options.version) {
    ConsoleSink console(stdout, false);
    console.write_as_is(options.help ? help_text() : version_text());
    return console_status(console);
  }
  return evaluate_batch(options);
}

}  // namespace ostrevik::driver
