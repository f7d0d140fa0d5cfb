#include "fuzz/harness.h"

#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "codec/cp857.h"
#include "codec/errors.h"
#include "codec/record.h"
#include "driver/test_loop.h"
#include "export/ags.h"
#include "export/ags_rows.h"
#include "export/csv.h"
#include "export/html.h"
#include "export/xml_tree.h"
#include "input/fixed_column_source.h"
#include "input/prepare.h"
#include "input/series_file.h"
#include "input/series_source.h"

namespace ostrevik::fuzz {

namespace {

bool has_letters_for_numbers(std::string_view bytes) {
  return bytes.find("nan") != std::string_view::npos || bytes.find("inf") != std::string_view::npos;
}

}  // namespace

void evaluate_data_bytes(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  auto run = std::make_unique<Run>();
  codec::Source source{std::string(bytes), 5, "FUZZ.DAT"};
  codec::StringSink report;
  codec::StringSink console;
  exports::FileSnapshot snapshot;
  snapshot.data_file = "FUZZ.DAT";
  snapshot.report_file = "FUZZ.OUT";
  bool fatal = false;
  try {
    const int status = driver::evaluate_data(*run, source, report, console, &snapshot);
    if (status != 0 && status != 1) std::abort();
  } catch (const codec::FatalError&) {
    fatal = true;  // a fatal read error is a proper end of the run
  }
  // A value that could not be computed is written as asterisks, never as letters (titles are
  // echoed as read, so only data without such letters can tell), and the run warns of it.
  if (!has_letters_for_numbers(bytes) &&
      (has_letters_for_numbers(report.bytes) || has_letters_for_numbers(console.bytes))) {
    std::abort();
  }
  // The exports of whatever was evaluated, also after a fatal error.
  for (const auto& [name, csv] : exports::csv_files(snapshot)) {
    if (!has_letters_for_numbers(bytes) && has_letters_for_numbers(csv)) std::abort();
  }
  const std::string page = exports::html_page(snapshot, {"fuzz", 0});
  if (!has_letters_for_numbers(bytes) && has_letters_for_numbers(page)) std::abort();
  try {
    testing::parse_xml(page);
  } catch (const std::runtime_error&) {
    std::abort();  // the page must be well-formed XML whatever the data
  }
  try {
    testing::parse_ags(exports::ags_file(snapshot, 0));
  } catch (const std::runtime_error&) {
    std::abort();  // ASCII, CR LF, every field quoted, as many fields as headings
  }
  static const std::string warning = codec::to_cp857("HESAPLANAMAYAN DEĞERLER");
  if (!fatal && report.nonfinite_fields > 0 && report.bytes.find(warning) == std::string::npos) {
    std::abort();
  }
}

void read_tests_bytes(const std::uint8_t* data, std::size_t size) {
  codec::Source source{std::string(reinterpret_cast<const char*>(data), size), 5, "FUZZ.DAT"};
  input::FixedColumnSource tests(source);
  auto run = std::make_unique<Run>();
  for (int test = 1; test <= MAXTS + 1; ++test) {
    const input::SourcedTest sourced = tests.next();
    if (sourced.test.readings.size() > static_cast<std::size_t>(MAXRD)) std::abort();
    if (sourced.error || sourced.ends_input) return;
    if (sourced.test.constants) input::prepare_constants(*run, *sourced.test.constants);
    input::prepare_titles(*run, sourced.titles());
    input::prepare_specimen(*run, sourced.test);
    run->u.NREAD = truncate_to_int(run->s.RNREAD);
    const bool counted = run->u.NREAD >= 2 && run->u.NREAD <= MAXRD;
    if (sourced.test.readings.size() != (counted ? static_cast<std::size_t>(run->u.NREAD) : 0U)) {
      std::abort();
    }
    if (!counted) return;  // the test is refused
    input::prepare_readings(*run, sourced.test.readings);
  }
}

void read_series_bytes(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto no_readings_file = [](const std::string& name) -> std::string {
    throw input::SeriesError("the readings file " + name + " cannot be read");
  };
  input::SeriesFile series;
  try {
    series = input::read_series(text, "FUZZ.toml", no_readings_file);
  } catch (const input::SeriesError&) {
    return;  // a series file that does not parse is refused with its message
  }
  if (series.tests.empty()) return;
  auto run = std::make_unique<Run>();
  codec::StringSink report;
  codec::StringSink console;
  input::ListSource tests(series.tests);
  try {
    const int status = driver::evaluate_tests(*run, tests, report, console);
    if (status != 0 && status != 1) std::abort();
  } catch (const codec::FatalError&) {
    std::abort();  // a series file read whole holds no record that can fail to read
  }
  // What was read is written back whole, and reads again as the same tests.
  try {
    const input::WrittenSeries written = input::series_text(series.tests);
    const input::SeriesFile again =
        input::read_series(written.toml, "AGAIN.toml", no_readings_file);
    if (again.tests.size() != series.tests.size()) std::abort();
  } catch (const input::SeriesError&) {
    std::abort();
  }
}

}  // namespace ostrevik::fuzz
