#include "driver/own_window.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace ostrevik::driver {
namespace {

using Args = std::vector<std::string_view>;

// Only a file dropped on the program, the one argument and no option, gets the page added.
TEST(OwnWindow, ADroppedFileAlsoGetsItsPage) {
  struct Case {
    Args given;
    Args taken;
  };
  const Case cases[] = {
      {{"C:\\lab\\S1.DAT"}, {"--html", "C:\\lab\\S1.DAT"}},
      {{"S1.DAT", "S2.DAT"}, {"S1.DAT", "S2.DAT"}},
      {{"--help"}, {"--help"}},
      {{"-q", "S1.DAT"}, {"-q", "S1.DAT"}},
  };
  for (const Case& c : cases) EXPECT_EQ(arguments_of_own_window(c.given), c.taken);
}

// A run from a shell or a script never waits for Enter.
TEST(OwnWindow, NeverAloneInAShell) {
  EXPECT_FALSE(runs_in_own_console_window());
}

}  // namespace
}  // namespace ostrevik::driver
