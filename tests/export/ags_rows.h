#pragma once
// An AGS4 file read back group by group, as a receiving database would, with the faults of its
// structure named: a byte outside ASCII, a line not ended by CR LF, a field not quoted, a row
// whose field count is not its group's.
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace ostrevik::testing {

struct AgsGroup {
  std::vector<std::string> headings, units, types;
  std::vector<std::vector<std::string>> rows;  // DATA rows without their descriptor

  std::size_t column(const std::string& heading) const {
    for (std::size_t k = 0; k < headings.size(); ++k) {
      if (headings[k] == heading) return k;
    }
    throw std::out_of_range("no heading " + heading);
  }
};

// The fields of one line, every one quoted, quotes inside doubled.
inline std::vector<std::string> ags_fields(const std::string& line, std::size_t number) {
  const auto fault = [number](const char* what) {
    return std::runtime_error("line " + std::to_string(number) + ": " + what);
  };
  std::vector<std::string> fields;
  std::size_t at = 0;
  while (true) {
    if (at >= line.size() || line[at] != '"') throw fault("field not quoted");
    std::string field;
    for (++at;; ++at) {
      if (at >= line.size()) throw fault("quote not closed");
      if (line[at] == '"' && at + 1 < line.size() && line[at + 1] == '"') {
        field += '"';
        ++at;
      } else if (line[at] == '"') {
        break;
      } else {
        field += line[at];
      }
    }
    fields.push_back(std::move(field));
    if (++at == line.size()) return fields;
    if (line[at++] != ',') throw fault("fields not separated by a comma");
  }
}

// Group name -> group. Throws std::runtime_error at the first fault of structure.
inline std::map<std::string, AgsGroup> parse_ags(const std::string& bytes) {
  std::map<std::string, AgsGroup> groups;
  AgsGroup* group = nullptr;
  std::size_t begin = 0;
  for (std::size_t number = 1; begin < bytes.size(); ++number) {
    const std::size_t end = bytes.find("\r\n", begin);
    if (end == std::string::npos) throw std::runtime_error("last line not ended by CR LF");
    const std::string line = bytes.substr(begin, end - begin);
    begin = end + 2;
    for (const char c : line) {
      const auto byte = static_cast<unsigned char>(c);
      if (byte >= 0x80 || byte < 0x20 || c == '\n' || c == '\r') {
        throw std::runtime_error("line " + std::to_string(number) + ": not printable ASCII");
      }
    }
    if (line.empty()) continue;
    std::vector<std::string> fields = ags_fields(line, number);
    const std::string descriptor = fields.front();
    fields.erase(fields.begin());
    if (descriptor == "GROUP") {
      if (fields.size() != 1 || groups.count(fields[0]) != 0) {
        throw std::runtime_error("line " + std::to_string(number) + ": bad GROUP row");
      }
      group = &groups[fields[0]];
      continue;
    }
    if (group == nullptr) throw std::runtime_error("a row before the first GROUP");
    if (descriptor == "HEADING") {
      group->headings = fields;
      continue;
    }
    if (fields.size() != group->headings.size()) {
      throw std::runtime_error("line " + std::to_string(number) + ": " +
                               std::to_string(fields.size()) + " fields under " +
                               std::to_string(group->headings.size()) + " headings");
    }
    if (descriptor == "UNIT") {
      group->units = fields;
    } else if (descriptor == "TYPE") {
      group->types = fields;
    } else if (descriptor == "DATA") {
      group->rows.push_back(fields);
    } else {
      throw std::runtime_error("line " + std::to_string(number) + ": unknown descriptor");
    }
  }
  return groups;
}

}  // namespace ostrevik::testing
