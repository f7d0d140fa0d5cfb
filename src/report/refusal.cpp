#include "report/refusal.h"

#include <charconv>
#include <cmath>

#include "codec/cp857.h"

namespace ostrevik::report {
namespace {

// An integer as it is; a real in its shortest exact decimal form, or as the asterisks of a
// report field when it could not be computed.
std::string value_text(const RefusedValue& value) {
  if (const int* integer = std::get_if<int>(&value)) return std::to_string(*integer);
  const float real = std::get<float>(value);
  if (!std::isfinite(real)) return "********";
  char buf[32];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, real);
  return std::string(buf, end);
}

// " (SATIR 9, SÜTUN 65-72)": where the data typed the value, or nothing.
std::string place_text(const std::optional<FieldPlace>& place) {
  if (!place) return {};
  return " (SATIR " + std::to_string(place->line) + ", SÜTUN " +
         std::to_string(place->first_column) + "-" + std::to_string(place->last_column) + ")";
}

}  // namespace

std::string_view rule_text(Rule rule) {
  switch (rule) {
    case Rule::Between0And90:
      return "0 İLE 90 DERECE ARASINDA OLMALIDIR.";
    case Rule::Positive:
      return "SIFIRDAN BÜYÜK OLMALIDIR.";
    case Rule::NonZero:
      return "SIFIR OLMAMALIDIR.";
    case Rule::NotMinusOne:
      return "-1 OLMAMALIDIR.";
    case Rule::NotWetDensityOfGrains:
      return "(WCINL+1)*GS DEĞERİNE EŞİT OLMAMALIDIR.";
    case Rule::BelowDiaout:
      return "DIAOUT DEĞERİNDEN KÜÇÜK OLMALIDIR.";
    case Rule::NotMinusHcotd:
      return "-HCOTD OLMAMALIDIR.";
    case Rule::NotMinusHcota:
      return "-HCOTA OLMAMALIDIR.";
    case Rule::Between2And40:
      return "2 İLE 40 ARASINDA OLMALIDIR.";
    case Rule::AtMost40Tests:
      return "BİR VERİ KÜTÜĞÜ EN ÇOK 40 DENEY İÇEREBİLİR.";
  }
  return "";
}

std::string refusal_record(const Refusal& refusal) {
  std::string record = " *** DENEY NO. " + std::to_string(refusal.test) + ": " + refusal.name +
                       " = " + value_text(refusal.value);
  record += codec::to_cp857(place_text(refusal.place) + " ; ");
  record += codec::to_cp857(rule_text(refusal.rule));
  record += codec::to_cp857(" DENEY DEĞERLENDİRİLMEDİ.");
  return record;
}

}  // namespace ostrevik::report
