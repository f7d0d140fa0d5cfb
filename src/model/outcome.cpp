#include "model/outcome.h"

#include <charconv>
#include <cmath>

#include "codec/cp857.h"

namespace ostrevik {
namespace {

TestRefused refusal(int test, std::string_view name, std::string_view value,
                    std::string_view utf8_rule) {
  std::string record = " *** DENEY NO. " + std::to_string(test) + ": ";
  record += name;
  record += " = ";
  record += value;
  record += " ; ";
  record += codec::to_cp857(utf8_rule);
  record += codec::to_cp857(" DENEY DEĞERLENDİRİLMEDİ.");
  return TestRefused(record);
}

}  // namespace

TestRefused refuse_test(int test, std::string_view name, float value, std::string_view utf8_rule) {
  // A value that could not be computed shows as the asterisks of a report field, not as letters.
  if (!std::isfinite(value)) return refusal(test, name, "********", utf8_rule);
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
  return refusal(test, name, std::string_view(buf, static_cast<std::size_t>(end - buf)), utf8_rule);
}

TestRefused refuse_test(int test, std::string_view name, int value, std::string_view utf8_rule) {
  return refusal(test, name, std::to_string(value), utf8_rule);
}

}  // namespace ostrevik
