#pragma once
// A strict reader of well-formed XML for the tests of the exported pages: elements, attributes,
// character data, the five predefined entities and numeric references, comments and one
// DOCTYPE. Anything else is an error with its offset.
#include <cctype>
#include <cstddef>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ostrevik::testing {

struct XmlElement {
  std::string name;
  std::map<std::string, std::string> attributes;
  std::vector<std::unique_ptr<XmlElement>> children;
  std::string text;  // the character data directly inside, references resolved

  std::string attribute(const std::string& key) const {
    const auto it = attributes.find(key);
    return it == attributes.end() ? std::string() : it->second;
  }
  // Every element below this one (at any depth) with the name, and the class when given.
  std::vector<const XmlElement*> find_all(std::string_view element,
                                          std::string_view css_class = {}) const {
    std::vector<const XmlElement*> found;
    collect(element, css_class, found);
    return found;
  }

 private:
  void collect(std::string_view element, std::string_view css_class,
               std::vector<const XmlElement*>& found) const {
    for (const auto& child : children) {
      if (child->name == element && (css_class.empty() || child->attribute("class") == css_class)) {
        found.push_back(child.get());
      }
      child->collect(element, css_class, found);
    }
  }
};

class XmlReader {
 public:
  explicit XmlReader(std::string_view text) : text_(text) {}

  std::unique_ptr<XmlElement> document() {
    skip_space_and_comments();
    if (starts("<!DOCTYPE")) {
      pos_ = text_.find('>', pos_);
      if (pos_ == std::string_view::npos) fail("unterminated DOCTYPE");
      ++pos_;
    }
    skip_space_and_comments();
    auto root = element();
    skip_space_and_comments();
    if (pos_ != text_.size()) fail("content after the root element");
    return root;
  }

 private:
  [[noreturn]] void fail(const std::string& why) const {
    throw std::runtime_error(why + " at offset " + std::to_string(pos_) + ": " +
                             std::string(text_.substr(pos_, 40)));
  }
  bool starts(std::string_view s) const { return text_.substr(pos_, s.size()) == s; }
  void skip_space() {
    while (pos_ < text_.size() &&
           std::string_view(" \t\r\n").find(text_[pos_]) != std::string_view::npos) {
      ++pos_;
    }
  }
  void skip_comment() {
    const auto end = text_.find("-->", pos_);
    if (end == std::string_view::npos) fail("unterminated comment");
    pos_ = end + 3;
  }
  void skip_space_and_comments() {
    for (skip_space(); starts("<!--"); skip_space()) skip_comment();
  }
  std::string name() {
    const std::size_t start = pos_;
    while (pos_ < text_.size() &&
           (std::isalnum(static_cast<unsigned char>(text_[pos_])) ||
            std::string_view("-_:.").find(text_[pos_]) != std::string_view::npos)) {
      ++pos_;
    }
    if (pos_ == start) fail("name expected");
    return std::string(text_.substr(start, pos_ - start));
  }
  static void append_utf8(std::string& out, unsigned long code) {
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  void reference(std::string& out) {
    const auto end = text_.find(';', pos_);
    if (end == std::string_view::npos) fail("unterminated reference");
    const std::string_view ref = text_.substr(pos_ + 1, end - pos_ - 1);
    static const std::map<std::string_view, char> kNamed{
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    if (const auto it = kNamed.find(ref); it != kNamed.end()) {
      out += it->second;
    } else if (ref.size() > 1 && ref[0] == '#') {
      const bool hex = ref[1] == 'x';
      const std::string digits(ref.substr(hex ? 2 : 1));
      std::size_t used = 0;
      const unsigned long code = std::stoul(digits, &used, hex ? 16 : 10);
      if (used != digits.size() || digits.empty()) fail("bad character reference");
      append_utf8(out, code);
    } else {
      fail("unknown entity");
    }
    pos_ = end + 1;
  }
  void check_character(char c) const {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 && c != '\t' && c != '\n' && c != '\r') fail("control character");
  }
  std::string attribute_value() {
    if (pos_ >= text_.size() || (text_[pos_] != '"' && text_[pos_] != '\'')) fail("quote expected");
    const char quote = text_[pos_++];
    std::string value;
    while (pos_ < text_.size() && text_[pos_] != quote) {
      if (text_[pos_] == '<') fail("'<' in an attribute");
      if (text_[pos_] == '&') {
        reference(value);
      } else {
        check_character(text_[pos_]);
        value += text_[pos_++];
      }
    }
    if (pos_ >= text_.size()) fail("unterminated attribute");
    ++pos_;
    return value;
  }
  std::unique_ptr<XmlElement> element() {
    if (!starts("<")) fail("element expected");
    ++pos_;
    auto e = std::make_unique<XmlElement>();
    e->name = name();
    for (;;) {
      skip_space();
      if (starts("/>")) {
        pos_ += 2;
        return e;
      }
      if (starts(">")) {
        ++pos_;
        break;
      }
      const std::string key = name();
      skip_space();
      if (!starts("=")) fail("'=' expected");
      ++pos_;
      skip_space();
      if (!e->attributes.emplace(key, attribute_value()).second) fail("repeated attribute");
    }
    for (;;) {
      if (pos_ >= text_.size()) fail("unterminated element " + e->name);
      if (starts("</")) {
        pos_ += 2;
        if (name() != e->name) fail("end tag does not match " + e->name);
        skip_space();
        if (!starts(">")) fail("'>' expected");
        ++pos_;
        return e;
      }
      if (starts("<!--")) {
        skip_comment();
      } else if (starts("<")) {
        e->children.push_back(element());
      } else if (starts("&")) {
        reference(e->text);
      } else {
        check_character(text_[pos_]);
        e->text += text_[pos_++];
      }
    }
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

inline std::unique_ptr<XmlElement> parse_xml(std::string_view text) {
  return XmlReader(text).document();
}

}  // namespace ostrevik::testing
