#include "export/notes.h"

#include <gtest/gtest.h>

#include <charconv>
#include <filesystem>
#include <functional>
#include <string>

#include "common/files.h"
#include "export/sample_snapshot.h"

namespace ostrevik::exports {
namespace {

using testing::sample_snapshot;

ReadingSnapshot& reading(TestSnapshot& t, int i) {
  return t.readings.at(static_cast<std::size_t>(i - 1));
}

float& at(TestSnapshot& t, int i, Quantity q) {
  return reading(t, i).value[static_cast<std::size_t>(q)];
}

void set_setup(TestSnapshot& t, std::string_view name, float value) {
  const auto infos = setup_infos();
  for (std::size_t k = 0; k < infos.size(); ++k) {
    if (infos[k].name == name) t.setup.at(k) = value;
  }
}

// Every sample data file is a sound test series: it gets no note.
TEST(Notes, SampleFilesGetNone) {
  for (const char* sample : {"CHECK", "FREEPL", "FULL1", "LATERAL", "PFIXDR", "SERIES3", "SERIES5",
                             "TENSION1", "TYPFRA1"}) {
    for (const Note& note : file_notes(sample_snapshot(sample).snapshot)) {
      ADD_FAILURE() << sample << ": " << note_line(note);
    }
  }
}

// One value changed in a sound test gives exactly the one note on it, at its reading.
TEST(Notes, EachSuspectValueGetsItsNote) {
  struct Case {
    const char* what;
    std::function<void(TestSnapshot&)> change;
    int reading;
    const char* says;
  };
  const Case cases[] = {
      {"thin mould wall", [](TestSnapshot& t) { set_setup(t, "DIAIN", 8.6F); }, 0, "Kalıp duvarı"},
      {"thick mould wall", [](TestSnapshot& t) { set_setup(t, "DIAIN", 4.0F); }, 0, "Kalıp duvarı"},
      {"light specimen", [](TestSnapshot& t) { set_setup(t, "DENSOL", 1.1F); }, 0, "DENSOL"},
      {"heavy specimen", [](TestSnapshot& t) { set_setup(t, "DENSOL", 2.7F); }, 0, "DENSOL"},
      {"oversaturated", [](TestSnapshot& t) { set_setup(t, "SATINL", 1.2F); }, 0, "SATINL"},
      {"void ratio", [](TestSnapshot& t) { set_setup(t, "VOIDR", 3.4F); }, 0, "VOIDR"},
      {"readings check", [](TestSnapshot& t) { t.flagged.push_back({.reading = 7, .HIGHDY = 1}); },
       7, "DY1ABS"},
      {"clock backwards", [](TestSnapshot& t) { at(t, 12, Quantity::T) = -3.0F; }, 12, "24, 25"},
      {"load slip", [](TestSnapshot& t) { at(t, 15, Quantity::P) /= 10.0F; }, 15, "P = "},
      {"peak at the end", [](TestSnapshot& t) { t.IMAXP = t.NREAD; }, 24, "son okumada"},
      {"no shear", [](TestSnapshot& t) { at(t, t.IMAXP, Quantity::SS) = 0.4F; }, 9, "SS = 0.4"},
  };
  const TestSnapshot sound = sample_snapshot("FULL1").snapshot.tests.at(0);
  ASSERT_EQ(sound.IMAXP, 9);
  for (const Case& c : cases) {
    TestSnapshot t = sound;
    c.change(t);
    const std::vector<Note> notes = test_notes(t);
    ASSERT_EQ(notes.size(), 1U) << c.what;
    EXPECT_EQ(notes[0].test, 1) << c.what;
    EXPECT_EQ(notes[0].reading, c.reading) << c.what;
    EXPECT_NE(notes[0].text.find(c.says), std::string::npos) << c.what << ": " << notes[0].text;
  }
}

// The inputs the fuzzers found are no typing slips of a gauge either: none of them gets a
// gauge-slip note (the samples get none at all, above).
TEST(Notes, FuzzInputsGetNoGaugeSlipNote) {
  const std::filesystem::path folder =
      std::filesystem::path(OSTREVIK_SOURCE_DIR) / "tests" / "fuzz-regressions" / "run";
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    const auto run = testing::snapshot_of_bytes(ostrevik::testing::read_input(entry.path()), name);
    for (const Note& note : file_notes(run.snapshot)) {
      EXPECT_FALSE(note.text.starts_with("Gösterge okuması")) << name << ": " << note_line(note);
    }
  }
}

// The sample's bytes with one gauge of one readings record (`line` from 1) changed by `slip`.
std::string with_slip(const std::string& bytes, int line, int gauge,
                      const std::function<float(float)>& slip) {
  std::vector<std::string> records = ostrevik::testing::records_of(bytes);
  std::string& record = records.at(static_cast<std::size_t>(line - 1));
  const std::size_t column = 8 + 8 * static_cast<std::size_t>(gauge);
  const std::string field = record.substr(column, 8);
  const std::size_t start = field.find_first_not_of(' ');
  float typed = 0;
  std::from_chars(field.data() + start, field.data() + field.size(), typed);
  char text[16];
  const auto end = std::to_chars(text, text + sizeof text, slip(typed)).ptr;
  const std::string value(text, end);
  record.replace(column, 8, std::string(8 - value.size(), ' ') + value);
  std::string result;
  for (const std::string& r : records) result += r + "\r\n";
  return result;
}

// A gauge typed with a digit added, lost or shifted, or 100 divisions off, in an evaluated or a
// check-only test, gets one gauge-slip note naming test, reading, gauge, the value typed and the
// value of its neighbours' line; no other reading gets one.
TEST(Notes, GaugeSlipsAreNamed) {
  enum Gauge { X, Y, TOP };
  struct Case {
    const char* what;
    const char* sample;
    int line;  // of the readings record in the file
    Gauge gauge;
    std::function<float(float)> slip;
    int test;
    int reading;
    const char* says;
  };
  const auto times10 = [](float v) { return v * 10.0F; };
  const auto plus100 = [](float v) { return v + 100.0F; };
  const Case cases[] = {
      {"X digit added at the peak", "SERIES5", 16, X, times10, 1, 7,
       "yatay kayma göstergesi (DXABS) 5225.0 bölüm okunmuş, komşu okumalar 522.0"},
      {"Y digit added at the peak", "SERIES5", 16, Y, times10, 1, 7, "(DY1ABS) 8635.0"},
      {"Y 100 divisions more", "SERIES5", 16, Y, plus100, 1, 7, "(DY1ABS) 963.5"},
      {"top cap 100 divisions more", "SERIES5", 16, TOP, plus100, 1, 7, "(DTMLP2) 727.5"},
      {"X 100 divisions more", "SERIES5", 40, X, plus100, 2, 8, "(DXABS) 775.0"},
      {"X 100 divisions more at the peak", "SERIES5", 16, X, plus100, 1, 7, "(DXABS) 622.5"},
      {"Y digit lost, test 3", "SERIES5", 70, Y, [](float) { return 94.0F; }, 3, 13,
       "(DY1ABS) 94.0"},
      {"check only: X decimal slip", "CHECK", 13, X, [](float v) { return v / 10.0F; }, 1, 5,
       "(DXABS) 65.7"},
      {"check only: Y digit added", "CHECK", 17, Y, times10, 1, 9, "(DY1ABS) 9715.0"},
      {"check only: top cap 100 divisions more", "CHECK", 20, TOP, plus100, 1, 12,
       "(DTMLP2) 580.0"},
  };
  for (const Case& c : cases) {
    const std::filesystem::path path =
        std::filesystem::path(OSTREVIK_SHARED_DIR) / "data" / (std::string(c.sample) + ".DAT");
    const std::string bytes =
        with_slip(ostrevik::testing::read_input(path), c.line, c.gauge, c.slip);
    std::vector<Note> slips;
    for (const Note& note : file_notes(testing::snapshot_of_bytes(bytes, "SLIP.DAT").snapshot)) {
      if (note.text.starts_with("Gösterge okuması")) slips.push_back(note);
    }
    ASSERT_EQ(slips.size(), 1U) << c.what;
    EXPECT_EQ(slips[0].test, c.test) << c.what;
    EXPECT_EQ(slips[0].reading, c.reading) << c.what;
    EXPECT_NE(slips[0].text.find(c.says), std::string::npos) << c.what << ": " << slips[0].text;
  }
}

TEST(Notes, AnalysisNotes) {
  struct Case {
    const char* what;
    std::function<void(StrengthSnapshot&)> change;
    const char* says;
  };
  const auto number = [](float v) { return AnalysisValue{AnalysisValue::State::Number, v}; };
  const Case cases[] = {
      {"two tests", [](StrengthSnapshot& s) { s.NTESTS = 2; }, "yalnızca 2 deney"},
      {"negative cohesion", [&](StrengthSnapshot& s) { s.cases[0].COHESN = number(-4.0F); },
       "Durum 1 (gerçek kesme düzlemi, en yüksek dayanım): kohezyon COHESN = -4.000 kPa"},
      {"steep envelope", [&](StrengthSnapshot& s) { s.cases[4].PHILRG = number(63.0F); },
       "Durum 5"},
      {"poor fit", [&](StrengthSnapshot& s) { s.cases[2].COFCOR = number(0.9F); }, "COFCOR"},
      {"poor fit through the origin, the one envelope",
       [&](StrengthSnapshot& s) {
         s.cases[3].COFCOR = {};
         s.cases[3].CORZRO = number(0.9F);
       },
       "CORZRO"},
  };
  const StrengthSnapshot sound = sample_snapshot("SERIES3").snapshot.strength;
  ASSERT_TRUE(sound.ran);
  for (const Case& c : cases) {
    StrengthSnapshot s = sound;
    c.change(s);
    const std::vector<Note> notes = analysis_notes(s);
    ASSERT_EQ(notes.size(), 1U) << c.what;
    EXPECT_NE(notes[0].text.find(c.says), std::string::npos) << c.what << ": " << notes[0].text;
  }
}

}  // namespace
}  // namespace ostrevik::exports
