#include "driver/program.h"

int main(int argc, char** argv) {
  return ostrevik::driver::program_main(argc, argv);
}
