#pragma once
// Runs the program in a fresh temporary directory with the given console input, and reads
// back what it wrote: console, standard error, exit status and files.
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "common/files.h"

namespace ostrevik::testing {

struct ProgramRun {
  int status = -1;
  std::string console;
  std::string errors;
};

// The program run in `dir` with `args` and standard input from the file `input`; what it wrote
// on standard output and error is read back and removed.
inline ProgramRun run_in(const TempDir& dir, const std::vector<std::string>& args,
                         const std::string& input) {
  std::ostringstream command;
  command << "cd '" << dir.path().string() << "' && '" << OSTREVIK_BINARY << "'";
  for (const std::string& arg : args) command << " '" << arg << "'";
  command << " <" << input << " >stdout.txt 2>stderr.txt";
  const int wait_status = std::system(command.str().c_str());
  ProgramRun run;
  run.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : -1;
  run.console = read_bytes(dir / "stdout.txt");
  run.errors = read_bytes(dir / "stderr.txt");
  std::filesystem::remove(dir / "stdout.txt");
  std::filesystem::remove(dir / "stderr.txt");
  return run;
}

// The program, run in `dir` with `input` on standard input (and standard output not a
// terminal, so the console is written in CP857).
inline ProgramRun run_program(const TempDir& dir, const std::string& input) {
  write_bytes(dir / "stdin.txt", input);
  ProgramRun run = run_in(dir, {}, "stdin.txt");
  std::filesystem::remove(dir / "stdin.txt");
  return run;
}

// The program run in `dir` with arguments and standard input empty; what it wrote on standard
// output and error is read back and removed.
inline ProgramRun run_with_arguments(const TempDir& dir, const std::vector<std::string>& args) {
  return run_in(dir, args, "/dev/null");
}

// The answers to the two prompts.
inline std::string answers(const std::string& data_name, const std::string& report_name) {
  return data_name + "\n" + report_name + "\n";
}

}  // namespace ostrevik::testing
