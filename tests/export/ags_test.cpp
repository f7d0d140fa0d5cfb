// The AGS4 file of every sample data file, with and without an identity, and of tests that end
// otherwise than evaluated: its structure, the AGS4 rule checker, and its values against the
// CSV files (which the end-to-end tests read back against the report).
#include "export/ags.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "ags_rows.h"
#include "export/csv.h"
#include "export/csv_rows.h"
#include "sample_snapshot.h"

namespace ostrevik::exports {
namespace {

using testing::AgsGroup;
using testing::parse_ags;
using testing::SnapshotRun;

const std::vector<std::string> kSamples{"CHECK",   "FREEPL",  "FULL1",    "LATERAL", "PFIXDR",
                                        "SERIES3", "SERIES5", "TENSION1", "TYPFRA1"};

TEST(Ags, NumbersAndTextsTakeTheirHeadingsType) {
  const struct {
    float value;
    const char* type;
    const char* text;
  } numbers[] = {
      {35.66F, "1DP", "35.7"},
      {-0.125F, "2DP", "-0.12"},
      {156.5F, "0DP", "156"},
      {0.4567F, "3DP", "0.457"},
      {24.716F, "2SF", "25"},
      {0.02449F, "2SF", "0.024"},
      {9.96F, "2SF", "10"},
      {134.0F, "2SF", "130"},
      {-5.14F, "2SF", "-5.1"},
      {0.0F, "2SF", "0"},
      {995.0F, "2SF", "1000"},
      {1.0F, "X", ""},
      {std::numeric_limits<float>::infinity(), "2DP", ""},
      {std::numeric_limits<float>::quiet_NaN(), "2SF", ""},
  };
  for (const auto& n : numbers) {
    EXPECT_EQ(ags_number(n.value, n.type), n.text) << n.value << " " << n.type;
  }
  const struct {
    const char* utf8;
    const char* ascii;
  } texts[] = {
      {"ÇAKILLI KİL, ağır", "CAKILLI KIL, agir"},
      {"Işık Öğüt Şişli Ünye", "Isik Ogut Sisli Unye"},
      {"çğıöşü ÇĞİÖŞÜ", "cgiosu CGIOSU"},
      {"½ inç\t2\"", "? inc 2\""},
      {"\xC3", "?"},
  };
  for (const auto& t : texts) EXPECT_EQ(ags_text(t.utf8), t.ascii) << t.utf8;
}

// An identity as a series file would give it, with Turkish letters and quotes in its texts.
Identity series_identity(std::size_t tests) {
  Identity id;
  id.project = {"P-2026/17", "Şişli İstasyonu", "İstanbul", "Belediye", "Zemin A.Ş.", "Müşavir"};
  id.location = {"SK-9", "CP+RC", 41.5, 412345.25, 4551234.5};
  id.sample = {"3", "U", "SK9-3", 2.0, 2.5, "Kahverengi \"siltli\" kil"};
  id.laboratory = "Ostrevik Zemin Laboratuvarı";
  id.method = "Eğik düzlemde kesme";
  for (std::size_t k = 0; k < tests; ++k) {
    id.specimens.push_back({"3" + std::string(1, static_cast<char>('a' + k)), 2.1, "ayni",
                            "sıkıştırılmış", "2026-03-1" + std::to_string(k), 0.5});
  }
  return id;
}

// SERIES3 with one field of one record replaced, as the CSV tests edit it.
SnapshotRun edited_series3(std::size_t record, int field, const std::string& value) {
  return testing::snapshot_of_bytes(testing::edited_series3(record, field, value), "S.DAT");
}

struct Written {
  std::string name;  // file name
  FileSnapshot snapshot;
};

// Every sample file without and with an identity, a refused test and an iteration limit.
std::vector<Written> every_kind_of_file() {
  std::vector<Written> files;
  for (const std::string& sample : kSamples) {
    FileSnapshot snapshot = testing::sample_snapshot(sample).snapshot;
    files.push_back({sample + ".ags", snapshot});
    snapshot.identity = series_identity(snapshot.tests.size());
    files.push_back({sample + "-series.ags", snapshot});
  }
  files.push_back({"refused.ags", edited_series3(31, 1, "90.0").snapshot});
  files.push_back({"stopped.ags", edited_series3(11, 2, "50000").snapshot});
  return files;
}

// The structure of every file, its keys, and the rule checker over all of them.
TEST(Ags, EveryFileIsStructuredAndPassesTheRuleChecker) {
  const testing::TempDir dir;
  for (const Written& w : every_kind_of_file()) {
    SCOPED_TRACE(w.name);
    const std::string bytes = ags_file(w.snapshot, 1773446400);
    testing::write_bytes(dir / w.name, bytes);
    std::map<std::string, AgsGroup> groups;
    ASSERT_NO_THROW(groups = parse_ags(bytes));
    const AgsGroup& shbt = groups.at("SHBT");
    ASSERT_EQ(shbt.rows.size(), w.snapshot.tests.size()) << "one row per test";
    const AgsGroup& shbg = groups.at("SHBG");
    const std::string remark = shbg.rows.at(0).at(shbg.column("SHBG_REM"));
    const bool given = w.snapshot.identity.given();
    EXPECT_EQ(remark.find("no series file") == std::string::npos, given) << remark;
    EXPECT_EQ(groups.at("TRAN").rows.at(0).at(1), "2026-03-14");
    for (std::size_t k = 0; k < shbt.rows.size(); ++k) {
      const auto& row = shbt.rows[k];
      EXPECT_EQ(row[shbt.column("SHBT_TESN")], std::to_string(k + 1));
      EXPECT_EQ(row[shbt.column("LOCA_ID")],
                given ? "SK-9" : std::filesystem::path(w.snapshot.data_file).stem().string());
      EXPECT_EQ(row[shbt.column("SPEC_REF")],
                given ? "3" + std::string(1, static_cast<char>('a' + k)) : std::to_string(k + 1));
      EXPECT_EQ(row[shbt.column("SHBT_DATE")], given ? "2026-03-1" + std::to_string(k) : "");
    }
    if (given) {
      EXPECT_EQ(groups.at("PROJ").rows.at(0).at(1), "Sisli Istasyonu");
      EXPECT_EQ(groups.at("SAMP").rows.at(0).at(groups.at("SAMP").column("SAMP_DESC")),
                "Kahverengi \"siltli\" kil");
    }
  }
  // The checker runs under /usr/bin/python3.
  if (std::system("/usr/bin/python3 -c 'import pandas' >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "python3-pandas is not installed: the AGS4 rule checker cannot run "
                    "(apt-get install -y python3-pandas)";
  }
  const std::string log = (dir / "checker.log").string();
  const std::string command = std::string(OSTREVIK_SHARED_DIR) + "/tools/ags4check/ags4check " +
                              (dir.path() / "*.ags").string() + " > " + log + " 2>&1";
  EXPECT_EQ(std::system(command.c_str()), 0) << testing::read_bytes(log);
}

// The value of a CSV cell; NaN when it is empty.
float cell_value(const std::string& cell) {
  float value = std::numeric_limits<float>::quiet_NaN();
  std::from_chars(cell.data(), cell.data() + cell.size(), value);
  return value;
}

// An AGS field against the CSV value it must round from: within half a unit of its last digit.
void expect_rounded(const std::string& field, float value, const std::string& what) {
  if (std::isnan(value)) {
    EXPECT_EQ(field, "") << what;
    return;
  }
  const std::size_t point = field.find('.');
  const int decimals = point == std::string::npos ? 0 : static_cast<int>(field.size() - point - 1);
  const float tolerance = 0.5F * std::pow(10.0F, -static_cast<float>(decimals)) * 1.0001F;
  EXPECT_LE(std::fabs(cell_value(field) - value), tolerance) << what << ": AGS " << field;
}

// SHBT and SHBG of every sample file against the tests, readings and strength CSV files.
TEST(Ags, ShearBoxValuesAreThoseTheReportPrints) {
  const struct {
    const char* heading;
    const char* csv;  // column of the tests file, or "UBAR@peak" of the readings file
    float scale;
  } columns[] = {
      {"SHBT_BDEN", "DENSOL [g/cc]", 1}, {"SHBT_DDEN", "DDENSL [g/ml]", 1},
      {"SHBT_PEAK", "SS peak [kPa]", 1}, {"SHBT_PVST", "TNSAVE peak [kPa]", 1},
      {"SHBT_ESHR", "SS end [kPa]", 1},  {"SHBT_ENRM", "TNSAVE end [kPa]", 1},
      {"SHBT_IVR", "VOIDR", 1},          {"SHBT_PDEN", "GS", 1},
      {"SHBT_MCI", "WCINL", 100},        {"SHBT_DIAM", "DIAIN [cm]", 10},
      {"SHBT_PDIS", "UBAR@IMAXP", 1},    {"SHBT_PDIN", "VBAR@IMAXP", 1},
      {"SHBT_EDIS", "UBAR@IEND", 1},     {"SHBT_EDIN", "VBAR@IEND", 1},
  };
  int compared = 0;
  for (const std::string& sample : kSamples) {
    SCOPED_TRACE(sample);
    const SnapshotRun run = testing::sample_snapshot(sample);
    const CsvFiles csv = csv_files(run.snapshot);
    const testing::Rows tests = testing::parse_csv(csv.at(sample + ".tests.csv"));
    const testing::Rows readings = testing::parse_csv(csv.at(sample + ".readings.csv"));
    const auto groups = parse_ags(ags_file(run.snapshot, 0));
    const AgsGroup& shbt = groups.at("SHBT");
    const auto tests_column = [&tests](const std::string& name) {
      return static_cast<std::size_t>(std::find(tests[0].begin(), tests[0].end(), name) -
                                      tests[0].begin());
    };
    const auto reading_cell = [&](const std::string& test, const std::string& reading,
                                  const std::string& name) {
      const auto at = static_cast<std::size_t>(
          std::find(readings[0].begin(), readings[0].end(), name + " [mm]") - readings[0].begin());
      for (const auto& row : readings) {
        if (row[0] == test && row[1] == reading) return row.at(at);
      }
      return std::string();
    };
    for (std::size_t k = 0; k < shbt.rows.size(); ++k) {
      const auto& row = tests.at(k + 1);
      for (const auto& c : columns) {
        const std::string csv_name = c.csv;
        const std::size_t at = csv_name.find('@');
        const std::string cell =
            at == std::string::npos
                ? row.at(tests_column(csv_name))
                : reading_cell(row[0], row.at(tests_column(csv_name.substr(at + 1))),
                               csv_name.substr(0, at));
        const std::string field = shbt.rows[k][shbt.column(c.heading)];
        expect_rounded(field, cell_value(cell) * c.scale, "test " + row[0] + " " + c.heading);
        compared += field.empty() ? 0 : 1;
      }
    }
    const AgsGroup& shbg = groups.at("SHBG");
    if (!run.snapshot.strength.ran) {
      EXPECT_EQ(shbg.rows.at(0).at(shbg.column("SHBG_PHI")), "");
      continue;
    }
    const testing::Rows strength = testing::parse_csv(csv.at(sample + ".strength.csv"));
    for (const auto& [heading, csv_column, csv_row] :
         {std::tuple{"SHBG_PHI", 8, 1}, std::tuple{"SHBG_EPHI", 8, 4}}) {
      expect_rounded(shbg.rows.at(0).at(shbg.column(heading)),
                     cell_value(strength.at(csv_row).at(csv_column)), heading);
      ++compared;
    }
    for (const auto& [heading, csv_row] : {std::pair{"SHBG_PCOH", 1}, std::pair{"SHBG_ECOH", 4}}) {
      const float c = cell_value(strength.at(csv_row).at(7));
      const float written = cell_value(shbg.rows.at(0).at(shbg.column(heading)));
      EXPECT_LE(std::fabs(written - c), 0.05F * std::fabs(c)) << heading << " 2SF";
      ++compared;
    }
  }
  EXPECT_GT(compared, 150);
}

}  // namespace
}  // namespace ostrevik::exports
