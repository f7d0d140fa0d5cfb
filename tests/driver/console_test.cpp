// The console in the user's terminal: UTF-8 on a UTF-8 terminal, CP857 bytes otherwise; and the
// data-file guide's example, which must stay a file the program evaluates.
#include "driver/console.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "codec/cp857.h"
#include "driver/run_program.h"

namespace ostrevik::testing {
namespace {

using driver::ConsoleSink;

const std::string kBanner = "KESME DENEYİ DEĞERLENDİRME";
const std::string kPrompt = "LÜTFEN VERİ KÜTÜĞÜ ADINI BELİRTİNİZ";

// Sets LC_ALL, LC_CTYPE and LANG for one test ("" leaves a variable unset) and puts the old
// values back afterwards.
class LocaleEnvironment {
 public:
  LocaleEnvironment(const char* lc_all, const char* lc_ctype, const char* lang) {
    const char* values[] = {lc_all, lc_ctype, lang};
    for (int k = 0; k < 3; ++k) {
      const char* old = std::getenv(kNames[k]);
      saved_[k] = old != nullptr ? std::optional<std::string>(old) : std::nullopt;
      set(kNames[k], values[k]);
    }
  }
  ~LocaleEnvironment() {
    for (int k = 0; k < 3; ++k) set(kNames[k], saved_[k] ? saved_[k]->c_str() : "");
  }
  LocaleEnvironment(const LocaleEnvironment&) = delete;
  LocaleEnvironment& operator=(const LocaleEnvironment&) = delete;

 private:
  static void set(const char* name, const char* value) {
    if (*value == '\0') {
      ::unsetenv(name);
    } else {
      ::setenv(name, value, 1);
    }
  }
  static constexpr const char* kNames[3] = {"LC_ALL", "LC_CTYPE", "LANG"};
  std::optional<std::string> saved_[3];
};

TEST(Console, LocaleCharacterSetIsFoundHoweverItIsNamed) {
  struct Case {
    const char* lc_all;
    const char* lc_ctype;
    const char* lang;
    bool utf8;
  };
  const Case cases[] = {
      {"", "", "C.UTF-8", true},            // installed
      {"", "", "C.utf8", true},             // the same, spelt as locale -a lists it
      {"", "", "C", false},                 //
      {"", "", "", false},                  // nothing set: the C locale
      {"C", "", "C.UTF-8", false},          // LC_ALL overrides LANG
      {"", "C.UTF-8", "C", true},           // LC_CTYPE overrides LANG
      {"", "POSIX", "C.UTF-8", false},      //
      {"", "", "xx_YY.UTF-8", true},        // not installed: judged by its name
      {"", "", "xx_YY.utf8@euro", true},    //
      {"", "", "xx_YY.ISO-8859-9", false},  //
      {"", "UTF-8", "", true},              // a bare character set as LC_CTYPE
      {"xx_YY.UTF-8", "", "C", true},       //
  };
  const std::string before = std::setlocale(LC_CTYPE, nullptr);
  for (const Case& c : cases) {
    LocaleEnvironment env(c.lc_all, c.lc_ctype, c.lang);
    EXPECT_EQ(driver::locale_wants_utf8(), c.utf8)
        << "LC_ALL=" << c.lc_all << " LC_CTYPE=" << c.lc_ctype << " LANG=" << c.lang;
    EXPECT_EQ(std::setlocale(LC_CTYPE, nullptr), before) << "the process locale is left alone";
  }
}

TEST(Console, SinkConvertsOnlyForAUtf8TerminalAndFlushesEveryRecord) {
  const std::string cp857 = codec::to_cp857(kBanner);
  for (const bool utf8 : {true, false}) {
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    {
      ConsoleSink sink(file, utf8);
      sink.record(cp857);
      // Read behind the stream's back: the record must already be in the file.
      std::string written(200, '\0');
      const ssize_t n = ::pread(::fileno(file), written.data(), written.size(), 0);
      ASSERT_GE(n, 0);
      written.resize(static_cast<std::size_t>(n));
      EXPECT_EQ(written, (utf8 ? kBanner : cp857) + "\r\n") << "utf8=" << utf8;
    }
    std::fclose(file);
  }
}

// What a run of the program showed on its console, standard error included.
struct AttachedRun {
  std::string output;
  int status = -1;
};

// Runs the program in `dir` under the given locale, its standard input, output and error
// either on a pseudo-terminal or on pipes, and types `input`.
AttachedRun run_attached(const TempDir& dir, const std::string& input, const char* locale,
                         bool terminal) {
  int master = -1;
  int to_child[2] = {-1, -1};
  int from_child[2] = {-1, -1};
  pid_t pid = -1;
  if (terminal) {
    pid = ::forkpty(&master, nullptr, nullptr, nullptr);
  } else if (::pipe(to_child) == 0 && ::pipe(from_child) == 0) {
    pid = ::fork();
  }
  if (pid < 0) return {};
  if (pid == 0) {
    if (!terminal) {
      ::dup2(to_child[0], STDIN_FILENO);
      ::dup2(from_child[1], STDOUT_FILENO);
      ::dup2(from_child[1], STDERR_FILENO);
      for (const int fd : {to_child[0], to_child[1], from_child[0], from_child[1]}) ::close(fd);
    }
    ::setenv("LANG", locale, 1);
    ::setenv("LC_ALL", locale, 1);
    ::unsetenv("LC_CTYPE");
    if (::chdir(dir.path().c_str()) != 0) ::_exit(126);
    ::execl(OSTREVIK_BINARY, OSTREVIK_BINARY, static_cast<char*>(nullptr));
    ::_exit(127);
  }
  int in = master;
  int out = master;
  if (!terminal) {
    ::close(to_child[0]);
    ::close(from_child[1]);
    in = to_child[1];
    out = from_child[0];
  }
  if (::write(in, input.data(), input.size()) != static_cast<ssize_t>(input.size())) {
    ADD_FAILURE() << "input not taken";
  }
  if (!terminal) ::close(in);

  AttachedRun run;
  char buffer[4096];
  pollfd ready{out, POLLIN, 0};
  // A pseudo-terminal reports the end of the child's output as an error (EIO), a pipe as 0.
  while (::poll(&ready, 1, 30000) > 0) {
    const ssize_t n = ::read(out, buffer, sizeof buffer);
    if (n <= 0) break;
    run.output.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(out);
  int wait_status = 0;
  if (::waitpid(pid, &wait_status, WNOHANG) == 0) {
    ::kill(pid, SIGKILL);  // hung: the output check below reports it
    ::waitpid(pid, &wait_status, 0);
  }
  run.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : -1;
  return run;
}

TEST(Console, Utf8TerminalShowsTheTurkishLettersAsUtf8) {
  TempDir dir;
  const AttachedRun run = run_attached(dir, answers("YOK.DAT", "YOK.OUT"), "C.UTF-8", true);
  EXPECT_NE(run.output.find(kBanner), std::string::npos) << run.output;
  EXPECT_NE(run.output.find(kPrompt), std::string::npos);
  EXPECT_EQ(run.output.find(codec::to_cp857(kBanner)), std::string::npos);
  EXPECT_NE(run.output.find("file not found, unit 5, file YOK.DAT"), std::string::npos);
  EXPECT_EQ(run.status, 2);
}

TEST(Console, RedirectedOutputOrOtherLocaleKeepsCp857) {
  struct Case {
    const char* locale;
    bool terminal;
  };
  for (const Case c : {Case{"C.UTF-8", false}, Case{"C", true}, Case{"POSIX", false}}) {
    TempDir dir;
    const AttachedRun run = run_attached(dir, answers("YOK.DAT", "YOK.OUT"), c.locale, c.terminal);
    const std::string where = std::string(c.locale) + (c.terminal ? " terminal" : " pipe");
    EXPECT_NE(run.output.find(codec::to_cp857(kBanner)), std::string::npos) << where;
    EXPECT_EQ(run.output.find(kBanner), std::string::npos) << where;
    // The console records reach the pipe before the fatal message on standard error.
    const std::size_t prompt = run.output.rfind(codec::to_cp857("ÇIKTI KÜTÜĞÜ"));
    const std::size_t fatal = run.output.find("file not found, unit 5, file YOK.DAT");
    ASSERT_NE(fatal, std::string::npos) << where;
    EXPECT_LT(prompt, fatal) << where;
    EXPECT_EQ(run.status, 2) << where;
  }
}

// The complete example of the guide, with its ruler line left off, as a data file.
std::string guide_example() {
  const std::string guide = read_bytes(std::string(OSTREVIK_SOURCE_DIR) + "/docs/data-file.md");
  const std::size_t section = guide.find("## 4. A complete small example");
  const std::size_t open = guide.find("```\n", section);
  const std::size_t close = guide.find("```\n", open + 4);
  if (section == std::string::npos || open == std::string::npos || close == std::string::npos) {
    return {};
  }
  std::string bytes;
  std::size_t line = guide.find('\n', open + 4) + 1;  // after the ruler
  while (line < close) {
    const std::size_t end = guide.find('\n', line);
    bytes += guide.substr(line, end - line) + "\r\n";
    line = end + 1;
  }
  return bytes;
}

TEST(Console, GuideExampleIsEvaluatedInFull) {
  TempDir dir;
  const std::string example = guide_example();
  ASSERT_FALSE(example.empty());
  write_bytes(dir / "ORNEK.DAT", example);
  const ProgramRun run = run_program(dir, answers("ORNEK.DAT", "ORNEK.OUT"));
  EXPECT_EQ(run.status, 0) << run.errors;
  const std::string report = read_bytes(dir / "ORNEK.OUT");
  EXPECT_NE(report.find("SHEAR TEST 1  -  SANDY CLAY"), std::string::npos);
  EXPECT_NE(report.find(codec::to_cp857("ÇİZELGE 4")), std::string::npos);
}

// Every field-name line under a ruler in the guide ("|  WLP1||  WLP2|...") marks whole
// eight-column fields, so that the names stand over the columns they describe.
bool is_bar_line(const std::string& line) {
  return line.size() >= 2 && line.front() == '|' && line.back() == '|';
}

bool is_field_name_line(const std::string& line) {
  if (line.empty() || line.size() % 8 != 0) return false;
  for (std::size_t field = 0; field < line.size(); field += 8) {
    if (line[field] != '|' || line[field + 7] != '|') return false;
    for (std::size_t k = field + 1; k < field + 7; ++k) {
      const char c = line[k];
      if (c != ' ' && (c < 'A' || c > 'Z') && (c < '0' || c > '9')) return false;
    }
  }
  return true;
}

TEST(Console, GuideFieldNamesStandOverTheirColumns) {
  const std::string guide = read_bytes(std::string(OSTREVIK_SOURCE_DIR) + "/docs/data-file.md");
  std::size_t start = 0;
  int lines = 0;
  while (start < guide.size()) {
    std::size_t end = guide.find('\n', start);
    if (end == std::string::npos) end = guide.size();
    const std::string line = guide.substr(start, end - start);
    if (is_bar_line(line) && line.find("---") == std::string::npos &&
        line.find(" | ") == std::string::npos) {
      ++lines;
      EXPECT_TRUE(is_field_name_line(line)) << line;
    }
    start = end + 1;
  }
  EXPECT_GE(lines, 7);
}

}  // namespace
}  // namespace ostrevik::testing
