#pragma once
// A program started from the desktop: on Windows a data file dropped on the program runs it in a
// console window of its own, which closes as soon as the program ends.
#include <string_view>
#include <vector>

namespace ostrevik::driver {

// True when the program is the only process attached to its console window (Windows only): the
// window was opened for it and closes with it. A run from a shell or a script is never alone.
bool runs_in_own_console_window();

// The arguments of a run in a window of its own: a data file dropped on the program (one
// argument, not an option) also gets its HTML page, since there is no command line to ask for
// it. Any other arguments are taken as they are.
std::vector<std::string_view> arguments_of_own_window(std::vector<std::string_view> args);

// "Press Enter to close" on standard output, then waits for a line of standard input (or its
// end), so that the summary, the notes and any error stay on the screen.
void wait_for_enter();

}  // namespace ostrevik::driver
