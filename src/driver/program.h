#pragma once
// The run driver: the console dialogue, the two files, the test loop, the end of the run.

namespace ostrevik::driver {

// The whole program: the dialogue without arguments, the command line with them. A command line
// run in a console window of its own (a data file dropped on the program on Windows) ends by
// waiting for Enter, and a dropped file also gets its HTML page. Returns the exit status (0
// normal end, 1 evaluation ended early, 2 fatal error).
int program_main(int argc, char** argv);

// The dialogue on the process's console; returns the exit status.
int dialogue_main();

}  // namespace ostrevik::driver
