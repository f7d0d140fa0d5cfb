#pragma once
// Text and numbers for the XML of the exported pages, appended to the page as it grows.
#include <string>
#include <string_view>

namespace ostrevik::exports {

// UTF-8 text made safe for XML character data and attribute values: & < > " ' escaped, and
// every control character but line feed and tab (a title may hold any byte) shown as U+FFFD.
void append_xml_text(std::string& out, std::string_view utf8);
std::string xml_text(std::string_view utf8);

// A value rounded to `decimals` decimals as the report's F edit rounds it, without the
// report's padding or trailing point; a negative zero without sign. "—" when not finite.
void append_fixed(std::string& out, float value, int decimals);
std::string fixed(float value, int decimals);

// Appends markup to a page: literal markup, escaped text, and attributes whose numbers are
// coordinates in pixels with one decimal.
class Markup {
 public:
  explicit Markup(std::string& out) : out_(out) {}

  Markup& raw(std::string_view markup) {
    out_ += markup;
    return *this;
  }
  Markup& text(std::string_view utf8) {
    append_xml_text(out_, utf8);
    return *this;
  }
  Markup& number(float value, int decimals) {
    append_fixed(out_, value, decimals);
    return *this;
  }
  Markup& pixels(float value) { return number(value, 1); }
  // ` name="value"`
  Markup& attr(std::string_view name, float value) {
    return raw(" ").raw(name).raw("=\"").pixels(value).raw("\"");
  }
  Markup& attr(std::string_view name, std::string_view text_value) {
    return raw(" ").raw(name).raw("=\"").text(text_value).raw("\"");
  }
  // `<name>text</name>`, with a class when given.
  Markup& element(std::string_view name, std::string_view text_value,
                  std::string_view css_class = {}) {
    raw("<").raw(name);
    if (!css_class.empty()) attr("class", css_class);
    return raw(">").text(text_value).raw("</").raw(name).raw(">");
  }

 private:
  std::string& out_;
};

}  // namespace ostrevik::exports
