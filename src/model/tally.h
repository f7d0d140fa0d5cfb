#pragma once
// How the tests of one data file ended, counted by the driver as they go by.

namespace ostrevik {

struct Tally {
  int evaluated = 0;               // tests evaluated, with their report tables
  int checked_only = 0;            // tests whose readings were only checked (PDATCH > 0)
  int refused = 0;                 // tests refused for their data, a 41st test included
  int iteration_limit = 0;         // tests stopped because an iteration did not converge
  bool strength_analysed = false;  // the strength analysis ran at the end of the input
};

}  // namespace ostrevik
