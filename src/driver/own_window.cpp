#include "driver/own_window.h"

#include <cstdio>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif

namespace ostrevik::driver {

bool runs_in_own_console_window() {
#ifdef _WIN32
  DWORD processes[2];
  return GetConsoleProcessList(processes, 2) == 1;
#else
  return false;
#endif
}

std::vector<std::string_view> arguments_of_own_window(std::vector<std::string_view> args) {
  if (args.size() == 1 && !args.front().starts_with('-')) args.insert(args.begin(), "--html");
  return args;
}

void wait_for_enter() {
  std::fputs("Press Enter to close\r\n", stdout);
  std::fflush(stdout);
  for (int c = std::getchar(); c != EOF && c != '\n'; c = std::getchar()) {
  }
}

}  // namespace ostrevik::driver
