#include "driver/cli.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "codec/cp857.h"
#include "codec/errors.h"
#include "driver/console.h"
#include "driver/data_input.h"
#include "driver/files.h"
#include "driver/report_target.h"
#include "driver/series_commands.h"
#include "driver/test_loop.h"
#include "export/csv.h"
#include "export/html.h"
#include "export/markup.h"
#include "export/notes.h"
#include "input/series_file.h"

namespace ostrevik::driver {
namespace {

constexpr int kFatal = 2;

void report_error(const std::string& message) {
  std::fflush(stdout);
  std::fprintf(stderr, "%s\n", message.c_str());
}

// The message of what stopped the evaluation of a file, in the form the dialogue gives it.
std::string message_of_current_exception() {
  try {
    throw;
  } catch (const codec::FatalError& e) {
    return codec::message_of(e);
  } catch (const ReportFileError& e) {
    return e.what();
  } catch (const input::SeriesError& e) {
    return e.what();
  } catch (const std::exception& e) {
    return std::string("internal error: ") + e.what();
  }
}

// With --force a data file whose report name is its own would be replaced by its report.
void refuse_report_over_data(const std::string& data_path, const std::string& report_path) {
  std::error_code unknown;
  if (std::filesystem::equivalent(data_path, report_path, unknown)) {
    throw ReportFileError("the report would replace its own data file, unit 6, file " +
                          report_path);
  }
}

// Reads the data file, writes the report and evaluates the tests; a fatal error is reported on
// standard error and ends only this file.
FileOutcome evaluate_file(const std::string& data_path, const std::string& report_path,
                          const Options& options, codec::Sink& console, Run& run) {
  FileOutcome outcome;
  outcome.data_path = data_path;
  outcome.report_path = report_path;
  outcome.snapshot.data_file = data_path;
  outcome.snapshot.report_file = report_path;
  std::optional<ReportTarget> report;
  try {
    DataInput data = DataInput::read(data_path);
    if (options.force) refuse_report_over_data(data_path, report_path);
    report.emplace(report_path, options.force, options.encoding);
    write_title_line(report->sink(), title_name(report_path), title_name(data_path));
    outcome.status = data.evaluate(run, report->sink(), console, &outcome.snapshot);
    report->complete();
    return outcome;
  } catch (...) {
    report_error(message_of_current_exception());
  }
  outcome.status = kFatal;
  outcome.snapshot.exit_status = kFatal;
  if (report) {
    outcome.kept_partial = report->keep_partial();
    if (outcome.kept_partial != report_path) {
      const bool old_report = std::filesystem::exists(report_path);
      report_error("what was written before the error is kept in " + outcome.kept_partial + "; " +
                   report_path + (old_report ? " was left as it was" : " was not written"));
    }
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
void write_summary_line(const FileOutcome& outcome) {
  const std::string line = summary_line(outcome) + "\r\n";
  std::fwrite(line.data(), 1, line.size(), stdout);
}

// The notes in the console's encoding, like the messages of the evaluation.
void write_notes(const exports::FileSnapshot& snapshot, codec::Sink& console) {
  for (const exports::Note& note : exports::file_notes(snapshot)) {
    console.record(codec::to_cp857("  " + exports::note_line(note)));
  }
}

// NAME.html beside NAME.OUT; NAME.OUT.html where NAME.html is the data file or the report
// itself, which the page must never replace.
std::string html_path_for(const FileOutcome& outcome) {
  const std::filesystem::path report(outcome.report_path);
  const std::string page = (report.parent_path() / report.stem()).string() + ".html";
  const auto same_file = [&page](const std::string& other) {
    std::error_code unknown;
    return page == other || std::filesystem::equivalent(page, other, unknown);
  };
  return same_file(outcome.data_path) || same_file(outcome.report_path)
             ? outcome.report_path + ".html"
             : page;
}

std::string html_page_of(const exports::FileSnapshot& snapshot) {
  std::string version = version_text();
  version.erase(version.find_last_not_of('\n') + 1);
  return exports::html_page(snapshot, {version, exports::run_time_now()});
}

// The exports asked for, beside the report; a file that cannot be written is reported and
// makes the file's status 2.
int write_exports(const FileOutcome& outcome, const Options& options) {
  exports::CsvFiles files;
  if (options.csv) files = exports::csv_files(outcome.snapshot);
  if (options.html) files[html_path_for(outcome)] = html_page_of(outcome.snapshot);
  int status = outcome.status;
  for (const auto& [path, bytes] : files) {
    try {
      write_whole_file(path, bytes);
    } catch (const ReportFileError& e) {
      report_error(e.what());
      status = kFatal;
    }
  }
  return status;
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
    status = std::max(status, write_file_outputs(outcome, options, console));
  }
  std::fflush(stdout);
  return status;
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

int write_file_outputs(const FileOutcome& outcome, const Options& options, codec::Sink& console) {
  if (!options.quiet) {
    write_summary_line(outcome);
    write_notes(outcome.snapshot, console);
    std::fflush(stdout);
  }
  // After a fatal error there is no complete report for the exports to go with.
  if (outcome.status == kFatal) return outcome.status;
  return write_exports(outcome, options);
}

int command_line_main(std::span<const std::string_view> args) {
  if (args.front() == "convert") return convert_main(args.subspan(1));
  if (args.front() == "template") return template_main(args.subspan(1));
  Options options;
  try {
    options = parse_options(args);
  } catch (const UsageError& e) {
    report_error(std::string("ostrevik: ") + e.what() + " (see ostrevik --help)");
    return kFatal;
  }
  if (options.help) {
    std::fputs(help_text().c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::fputs(version_text().c_str(), stdout);
    return 0;
  }
  return evaluate_batch(options);
}

}  // namespace ostrevik::driver
