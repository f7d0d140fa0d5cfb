// The echo blocks and readings checks of every sample data file against the reference reports.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "data_text.h"
#include "input/constants_block.h"
#include "input/readings_records.h"
#include "input/specimen_records.h"
#include "input/title_block.h"

namespace ostrevik::input {
namespace {

using testing::records_of;

const std::filesystem::path kData = std::filesystem::path(OSTREVIK_SHARED_DIR) / "data";

std::string file_bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> split_records(const std::string& bytes) {
  codec::StringSink sink;
  sink.bytes = bytes;
  return records_of(sink);
}

// The tests of a data file taken through the input steps in the order of a run. The records
// written from one evaluated test's readings to the next are another subsystem's: each block
// closes there.
std::vector<std::vector<std::string>> input_blocks(const std::string& name) {
  codec::Source data(file_bytes(kData / name), 5, name);
  Run run;
  std::vector<std::vector<std::string>> blocks;
  codec::StringSink sink;
  bool with_constants = true;
  while (true) {
    if (with_constants) {
      if (run.n.NTEST > 0 && data.at_end()) break;
      read_constants_block(run, data, sink);
    }
    if (!read_title_block(run, data, sink)) break;
    read_specimen_records(run, data);
    set_up_and_echo(run, sink);
    read_readings(run, data);
    if (run.c.PDATCH > 0.0F) {
      check_readings(run, sink);
    } else {
      blocks.push_back(records_of(sink));
      sink.bytes.clear();
    }
    with_constants = run.s.PFIXDR == 1.0F || run.s.PFIXDR == 3.0F;
  }
  blocks.push_back(records_of(sink));
  return blocks;
}

class SampleFile : public ::testing::TestWithParam<const char*> {};

TEST_P(SampleFile, EchoAndCheckBlocksStandInTheReferenceInOrder) {
  const std::string name = GetParam();
  const std::string stem = name.substr(0, name.find('.'));
  const std::vector<std::string> reference =
      split_records(file_bytes(kData / "reference" / (stem + ".OUT")));
  auto from = reference.begin();
  for (const std::vector<std::string>& block : input_blocks(name)) {
    const auto at = std::search(from, reference.end(), block.begin(), block.end());
    ASSERT_NE(at, reference.end()) << name << ": block not in the reference after line "
                                   << (from - reference.begin()) << ", first line\n"
                                   << block.front() << "\nblock of " << block.size() << " lines";
    from = at + static_cast<std::ptrdiff_t>(block.size());
  }
}

INSTANTIATE_TEST_SUITE_P(Data, SampleFile,
                         ::testing::Values("CHECK.DAT", "FREEPL.DAT", "FULL1.DAT", "LATERAL.DAT",
                                           "PFIXDR.DAT", "SERIES3.DAT", "SERIES5.DAT",
                                           "TENSION1.DAT", "TYPFRA1.DAT"),
                         [](const auto& info) {
                           std::string n = info.param;
                           return n.substr(0, n.find('.'));
                         });

// A file of check-only tests is written by the input steps alone, after the report's title.
TEST(CheckOnlyFile, WholeReportBelowTheTitleLines) {
  const std::vector<std::vector<std::string>> blocks = input_blocks("CHECK.DAT");
  ASSERT_EQ(blocks.size(), 1U);
  std::vector<std::string> reference = split_records(file_bytes(kData / "reference" / "CHECK.OUT"));
  reference.erase(reference.begin(), reference.begin() + 3);
  EXPECT_EQ(blocks.front(), reference);
}

}  // namespace
}  // namespace ostrevik::input
