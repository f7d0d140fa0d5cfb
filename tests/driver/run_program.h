#pragma once
// Runs the program in a fresh temporary directory with the given console input, and reads
// back what it wrote: console, standard error, exit status and files.
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace ostrevik::testing {

inline std::string read_bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A file the test needs, such as a sample data file or a reference report: a missing one fails
// the test instead of reading as empty.
inline std::string read_input(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void write_bytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// The records of a file, without their CR LF.
inline std::vector<std::string> records_of(const std::string& bytes) {
  std::vector<std::string> records;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) end = bytes.size();
    records.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return records;
}

// A temporary directory removed with its contents at the end of the test.
class TempDir {
 public:
  TempDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "ostrevik-test-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

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
