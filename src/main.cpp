#include "driver/program.h"

int main() {
  return ostrevik::driver::program_main();
}
