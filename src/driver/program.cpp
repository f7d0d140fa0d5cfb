#include "driver/program.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "codec/errors.h"
#include "driver/cli.h"
#include "driver/console.h"
#include "driver/data_input.h"
#include "driver/dialogue.h"
#include "driver/file_system.h"
#include "driver/files.h"
#include "driver/own_window.h"
#include "driver/test_loop.h"
#include "input/series_file.h"

namespace ostrevik::driver {
namespace {

constexpr int kFatal = 2;

// Reads one file name from the console; nothing when standard input has ended.
std::optional<FileName> ask_file_name(codec::Sink& console, void (*prompt)(codec::Sink&)) {
  prompt(console);
  std::fflush(stdout);
  return read_file_name(stdin);
}

// The files are opened and the tests evaluated; the report is closed on every path.
int evaluate_files(const FileName& data_name, const FileName& report_name, codec::Sink& console) {
  DataInput data = DataInput::read(path_of(data_name));
  ReportFile report(path_of(report_name));
  auto run = std::make_unique<Run>();
  int status = 0;
  try {
    write_title_line(report, report_name, data_name);
    status = data.evaluate(*run, report, console);
  } catch (...) {
    // Whatever stopped the run, the report written so far is kept; a write error met while
    // closing is of less interest than what stopped the run.
    try {
      report.close();
    } catch (const ReportFileError&) {
    }
    throw;
  }
  report.close();
  return status;
}

}  // namespace

int dialogue_main() {
  ConsoleSink console(stdout, console_wants_utf8());
  try {
    write_banner(console);
    const std::optional<FileName> data_name = ask_file_name(console, &write_data_file_prompt);
    if (!data_name) {
      write_error_line("end of standard input: no data file name was given");
      return kFatal;
    }
    const std::optional<FileName> report_name = ask_file_name(console, &write_report_file_prompt);
    if (!report_name) {
      write_error_line("end of standard input: no report file name was given");
      return kFatal;
    }
    const int status = evaluate_files(*data_name, *report_name, console);
    return std::max(status, console_status(console));
  } catch (const codec::FatalError& e) {
    write_error_line(codec::message_of(e));
  } catch (const FileError& e) {
    write_error_line(e.what());
  } catch (const input::SeriesError& e) {
    write_error_line(e.what());
  } catch (const std::exception& e) {
    write_error_line(std::string("internal error: ") + e.what());
  }
  console_status(console);
  return kFatal;
}

int program_main(int argc, char** argv) {
  open_closed_standard_streams();
  ignore_broken_pipes();
  if (argc <= 1) return dialogue_main();
  std::vector<std::string_view> args(argv + 1, argv + argc);
  // A data file dropped on the program on Windows: its window would close before anything on it
  // could be read.
  const bool own_window = runs_in_own_console_window();
  if (own_window) args = arguments_of_own_window(std::move(args));
  const int status = command_line_main(args);
  if (own_window) wait_for_enter();
  return status;
}

}  // namespace ostrevik::driver
