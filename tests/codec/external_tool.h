#pragma once
// Running a tool of the machine (a Fortran compiler, iconv) from a test, in a scratch folder.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "common/files.h"

namespace ostrevik::codec::testing {

inline bool tool_available(const std::string& name) {
  return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

inline bool run(const std::string& command) {
  return std::system(command.c_str()) == 0;
}

using ostrevik::testing::read_bytes;
using ostrevik::testing::TempDir;
using ostrevik::testing::write_bytes;

// A path quoted for the shell.
inline std::string quoted(const std::filesystem::path& path) {
  return "'" + path.string() + "'";
}

}  // namespace ostrevik::codec::testing
