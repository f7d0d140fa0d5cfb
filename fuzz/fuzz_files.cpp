// libFuzzer target: the command line and the file layer. Each input chooses what a scratch
// folder holds beforehand (files, links, folders under the names a run uses) and the arguments
// of one run. Aborts when the data file or a file outside the folder changes, when a link is
// followed, when a temporary is left behind, or when a report stands that is not whole.
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "driver/cli.h"

namespace {

namespace fs = std::filesystem;

// The names a run reads or writes, and some it should leave alone.
constexpr std::array<std::string_view, 12> kNames = {
    "A.DAT",          "A.OUT",         "A.html",        "A.tests.csv",
    "A.readings.csv", "A.OUT.partial", "A.OUT.new-1-1", "A.OUT.ready-1-1",
    "A.OUT.html",     "B.OUT",         "sub/A.DAT",     "sub"};

// What an input may place under a name before the run.
enum class Entry { Nothing, OldFile, LinkToData, LinkToOutside, Folder, LinkToNowhere };

std::string read_all(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void write_all(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

struct Scratch {
  fs::path folder;
  fs::path outside;  // a file a link points to: it must never change
  std::string data;  // the data file's bytes
};

Scratch& scratch();

// The scratch folder and the file outside it go when the fuzzer ends.
void remove_scratch() {
  std::error_code ignored;
  fs::remove_all(scratch().folder, ignored);
  fs::remove(scratch().outside, ignored);
}

Scratch& scratch() {
  static Scratch s = [] {
    Scratch made;
    std::string pattern = (fs::temp_directory_path() / "ostrevik-fuzz-XXXXXX").string();
    made.folder = ::mkdtemp(pattern.data());
    made.outside = made.folder.string() + ".outside";
    made.data = read_all(fs::path(OSTREVIK_SHARED_DIR) / "data/FULL1.DAT");
    if (made.data.empty()) std::abort();
    return made;
  }();
  // Registered once the folder exists, so that it runs before the folder's record is destroyed.
  [[maybe_unused]] static const int removed_at_exit = std::atexit(remove_scratch);
  return s;
}

void place(const Scratch& s, std::string_view name, Entry entry) {
  const fs::path path = s.folder / name;
  std::error_code ignored;
  if (fs::exists(fs::symlink_status(path))) return;
  fs::create_directories(path.parent_path(), ignored);
  switch (entry) {
    case Entry::Nothing:
      break;
    case Entry::OldFile:
      write_all(path, "an older file\r\n");
      break;
    case Entry::LinkToData:
      fs::create_symlink(s.folder / "A.DAT", path, ignored);
      break;
    case Entry::LinkToOutside:
      fs::create_symlink(s.outside, path, ignored);
      break;
    case Entry::Folder:
      fs::create_directory(path, ignored);
      break;
    case Entry::LinkToNowhere:
      fs::create_symlink(s.folder / "nowhere", path, ignored);
      break;
  }
}

// The options and names of the run, one argument per byte.
std::vector<std::string> arguments_of(std::string_view bytes) {
  static const std::array<std::string_view, 8> options = {
      "-f", "-q", "--html", "--csv", "-o", "--encoding=utf-8", "--", "-fq"};
  std::vector<std::string> args;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 128) {
      args.emplace_back(options[byte % options.size()]);
    } else {
      args.emplace_back(kNames[byte % kNames.size()]);
    }
  }
  return args;
}

void check_folder(const Scratch& s) {
  if (read_all(s.folder / "A.DAT") != s.data) std::abort();
  if (read_all(s.outside) != "outside\r\n") std::abort();
  for (const auto& entry : fs::recursive_directory_iterator(s.folder)) {
    const std::string name = entry.path().filename().string();
    // Temporaries of this process never outlive its run.
    const std::string own = "-" + std::to_string(::getpid()) + "-";
    if (name.find(".new" + own) != std::string::npos) std::abort();
    if (name.find(".ready" + own) != std::string::npos) std::abort();
    // A report under its own name is whole: it ends in CR LF.
    if (entry.is_regular_file() && !fs::is_symlink(entry.symlink_status()) &&
        name.ends_with(".OUT")) {
      const std::string report = read_all(entry.path());
      if (report != "an older file\r\n" && report != s.data && !report.ends_with("\r\n")) {
        std::abort();
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Scratch& s = scratch();
  std::error_code ignored;
  fs::remove_all(s.folder, ignored);
  fs::create_directory(s.folder);
  write_all(s.folder / "A.DAT", s.data);
  write_all(s.outside, "outside\r\n");
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // The first bytes, two names to a byte, say what is there beforehand; then the arguments.
  const std::size_t layout = std::min<std::size_t>(bytes.empty() ? 0 : bytes[0] % 7, size);
  for (std::size_t k = 1; k < layout && k < size; ++k) {
    const auto byte = static_cast<unsigned char>(bytes[k]);
    place(s, kNames[byte % kNames.size()], static_cast<Entry>((byte / kNames.size()) % 6));
  }
  std::vector<std::string> args = arguments_of(bytes.substr(std::min(layout, size)));
  if (args.size() > 8) args.resize(8);
  std::vector<std::string_view> views(args.begin(), args.end());
  const fs::path back = fs::current_path();
  fs::current_path(s.folder);
  const int status = ostrevik::driver::command_line_main(views);
  fs::current_path(back);
  if (status < 0 || status > 2) std::abort();
  check_folder(s);
  return 0;
}
