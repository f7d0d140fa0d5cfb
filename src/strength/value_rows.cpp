#include "strength/value_rows.h"

#include <algorithm>
#include <string>
#include <vector>

#include "strength/regression.h"

namespace ostrevik::strength {
namespace {

constexpr std::string_view MARKER = "YOK";

int field_width(const codec::Layout& field) {
  const auto& items = field.items();
  const auto real = std::find_if(items.begin(), items.end(), [](const codec::LayoutItem& i) {
    return i.kind == codec::LayoutItem::Kind::Real;
  });
  return real->width;
}

// The columns of one field: the value as the real field prints it, or the marker
// right-justified in the field's width.
std::string field_text(float v, const codec::Layout& field) {
  if (has_value(v)) {
    codec::StringSink one;
    codec::write(one, field, {v});
    one.bytes.resize(one.bytes.size() - 2);  // CR LF
    return one.bytes;
  }
  const auto width = static_cast<std::size_t>(field_width(field));
  std::string text(width - std::min(width, MARKER.size()), ' ');
  return text.append(MARKER.substr(0, width));
}

}  // namespace

bool write_values(codec::Sink& sink, const ValueRow& row, std::span<const float> values) {
  if (std::all_of(values.begin(), values.end(), has_value)) {
    const std::vector<codec::Value> numbers(values.begin(), values.end());
    codec::write(sink, row.numbers, numbers);
    return false;
  }
  std::vector<std::string> texts;
  texts.reserve(values.size());
  for (std::size_t i = 0; i < values.size(); ++i) {
    texts.push_back(field_text(values[i], *row.fields[i]));
  }
  const std::vector<codec::Value> items(texts.begin(), texts.end());
  codec::write(sink, row.texts, items);
  if (row.note != nullptr) codec::write(sink, *row.note);
  return true;
}

}  // namespace ostrevik::strength
