#include "codec/errors.h"

#include <utility>

namespace ostrevik::codec {
namespace {

std::string without_trailing_blanks(std::string name) {
  const auto last = name.find_last_not_of(' ');
  name.erase(last == std::string::npos ? 0 : last + 1);
  return name;
}

const char* form_of(FatalKind kind) {
  switch (kind) {
    case FatalKind::FileNotFound:
      return "file not found";
    case FatalKind::FileExists:
      return "file already exists";
    case FatalKind::EndOfFile:
      return "end-of-file during read";
    case FatalKind::Conversion:
      return "input conversion error";
  }
  return "fatal error";
}

// The field as quoted in the message: a tab, which would look like blanks, shown as <TAB>.
std::string visible(const std::string& field) {
  std::string text;
  for (const char c : field) {
    if (c == '\t') {
      text += "<TAB>";
    } else {
      text += c;
    }
  }
  return text;
}

// The message line: the fixed form, then for read errors where in the file it happened.
std::string compose(FatalKind kind, int unit, const std::string& file, int line, int first_column,
                    int last_column, const std::string& field, const std::string& hint) {
  std::string text = form_of(kind);
  text += ", unit " + std::to_string(unit) + ", file " + file;
  if (line > 0 && (kind == FatalKind::EndOfFile || kind == FatalKind::Conversion)) {
    text += ": line " + std::to_string(line);
    if (kind == FatalKind::Conversion && first_column > 0) {
      if (last_column > first_column) {
        text += ", columns " + std::to_string(first_column) + "-" + std::to_string(last_column);
      } else {
        text += ", column " + std::to_string(first_column);
      }
      text += ": \"" + visible(field) + "\"";
      if (field.find('\t') != std::string::npos) {
        text += " (a tab: fixed-column records need spaces)";
      }
    }
  }
  if (!hint.empty()) {
    text += "; ";
    text += hint;
  }
  return text;
}

}  // namespace

FatalError::FatalError(FatalKind kind, int unit, std::string file, int line, int first_column,
                       int last_column, std::string field, std::string hint)
    : std::runtime_error(compose(kind, unit, without_trailing_blanks(file), line, first_column,
                                 last_column, field, hint)),
      kind(kind),
      unit(unit),
      file(without_trailing_blanks(std::move(file))),
      line(line),
      first_column(first_column),
      last_column(last_column),
      field(std::move(field)),
      hint(std::move(hint)) {}

std::string message_of(const FatalError& e) {
  // Composed again rather than taken from what(), which ends at a NUL byte of the field.
  return compose(e.kind, e.unit, e.file, e.line, e.first_column, e.last_column, e.field, e.hint);
}

}  // namespace ostrevik::codec
