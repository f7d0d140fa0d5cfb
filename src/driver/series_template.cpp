#include "driver/series_commands.h"

namespace ostrevik::driver {

TemplateFiles template_files(const std::string& csv_name) {
  return {"readings = \"" + csv_name + "\"\n", ""};
}

}  // namespace ostrevik::driver
