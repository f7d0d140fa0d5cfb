// A read error caused by a line out of place says what the line looks like and what belongs
// there (the refusals with their lines and columns: tests/reliability).
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "codec/cp857.h"
#include "codec/errors.h"
#include "common/files.h"
#include "driver/test_loop.h"

namespace ostrevik::input {
namespace {

using ostrevik::testing::read_input;
using ostrevik::testing::records_of;

std::string sample(const std::string& name) {
  return read_input(std::filesystem::path(OSTREVIK_SHARED_DIR) / "data" / (name + ".DAT"));
}

std::string joined(const std::vector<std::string>& records) {
  std::string bytes;
  for (const std::string& r : records) bytes += r + "\r\n";
  return bytes;
}

// The message of the run's read error, or its console in UTF-8.
std::string message_of_run(const std::string& bytes) {
  auto run = std::make_unique<Run>();
  codec::Source source(bytes, 5, "T.DAT");
  codec::StringSink report;
  codec::StringSink console;
  try {
    driver::evaluate_data(*run, source, report, console, nullptr);
  } catch (const codec::FatalError& error) {
    return codec::message_of(error);
  }
  return codec::cp857_to_utf8(console.bytes);
}

TEST(Messages, ReadErrorsSayWhatBelongsOnTheLine) {
  struct Case {
    const char* what;
    std::string data;
    const char* says;
  };
  std::vector<std::string> four_titles = records_of(sample("SERIES5"));
  four_titles.insert(four_titles.begin() + 7, four_titles[6]);
  std::vector<std::string> no_constants = records_of(sample("SERIES5"));
  no_constants.erase(no_constants.begin(), no_constants.begin() + 4);
  const Case cases[] = {
      {"blank first line", "\r\n" + sample("SERIES5"),
       "line 7, columns 1-8: \"KUYU K-4\"; line 1 is blank: a data file begins with its constants "
       "block"},
      {"title first", joined(no_constants),
       "line 1 looks like a title, where record 1 of the constants block (PDATCH, PAROUT, PARREG, "
       "TYPFRA, PARLAT, POISNR) belongs"},
      {"a fourth title", joined(four_titles),
       "line 8 looks like a title, where records 5 and 6 of test 1 (the specimen, ALFN to RNREAD) "
       "belongs"},
  };
  for (const Case& c : cases) {
    const std::string message = message_of_run(c.data);
    EXPECT_NE(message.find(c.says), std::string::npos) << c.what << ":\n" << message;
  }
}

}  // namespace
}  // namespace ostrevik::input
