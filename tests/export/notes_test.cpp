#include "export/notes.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

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
