#include "driver/cli.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "codec/errors.h"
#include "codec/layout.h"
#include "driver/console.h"
#include "driver/files.h"
#include "driver/program.h"
#include "driver/report_target.h"
#include "strength/analysis.h"

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
  std::optional<ReportTarget> report;
  try {
    codec::Source data = read_data_file(data_path);
    if (options.force) refuse_report_over_data(data_path, report_path);
    report.emplace(report_path, options.force, options.encoding);
    write_title_line(report->sink(), title_name(report_path), title_name(data_path));
    outcome.status = evaluate_data(run, data, report->sink(), console, outcome.tally);
    report->complete();
    return outcome;
  } catch (...) {
    report_error(message_of_current_exception());
  }
  outcome.status = kFatal;
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

// A report value as the report writes it, without its blanks: the same digits.
std::string fixed_3(float value) {
  static const codec::Layout kField("(F15.3)");
  codec::StringSink sink;
  codec::write(sink, kField, {value});
  std::string_view text = sink.bytes;
  text = text.substr(0, text.find('\r'));
  return std::string(text.substr(std::min(text.find_first_not_of(' '), text.size())));
}

// The peak envelope with cohesion on the true shear plane (case 1), when it was fitted.
std::string envelope_text(const Tally& tally, const Run& run) {
  if (!tally.strength_analysed) return "";
  if (!strength::fits_envelope_with_cohesion(run.c.IPARRG)) {
    std::string text = "; no envelope with cohesion (PARREG ";
    text += std::to_string(run.c.IPARRG);
    text += ')';
    return text;
  }
  const float c = run.st.COHESN[0];
  const float phi = run.st.PHILRG[0];
  if (!std::isfinite(c) || !std::isfinite(phi)) return "; peak envelope not computable";
  return "; peak envelope c = " + fixed_3(c) + " kPa, phi = " + fixed_3(phi) + " deg";
}

std::string counts_text(const Tally& tally) {
  return std::to_string(tally.evaluated) + " evaluated, " + std::to_string(tally.checked_only) +
         " checked only, " + std::to_string(tally.refused) + " refused, " +
         std::to_string(tally.iteration_limit) + " at the iteration limit";
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
    write_file_outputs(outcome, *run, options);
    status = std::max(status, outcome.status);
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

std::string summary_line(const FileOutcome& outcome, const Run& run) {
  if (outcome.status == kFatal) {
    if (outcome.kept_partial.empty()) return outcome.data_path + ": fatal error, no report written";
    return outcome.data_path + " -> " + outcome.kept_partial +
           " (incomplete): " + counts_text(outcome.tally) + "; fatal error";
  }
  return outcome.data_path + " -> " + outcome.report_path + ": " + counts_text(outcome.tally) +
         envelope_text(outcome.tally, run);
}

void write_file_outputs(const FileOutcome& outcome, const Run& run, const Options& options) {
  if (!options.quiet) {
    // Written as it is, not through the console's conversion: file names are in the system's
    // own encoding. The line ends in CR LF like every console record.
    const std::string line = summary_line(outcome, run) + "\r\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
  }
}

int command_line_main(std::span<const std::string_view> args) {
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
