#pragma once
// The fatal run-time errors: a file that cannot be opened, an end of file where a record is
// required, a field that cannot be read as a number. One type carries them to the driver,
// which turns them into the message on standard error and exit status 2.
#include <stdexcept>
#include <string>

namespace ostrevik::codec {

enum class FatalKind { FileNotFound, FileExists, EndOfFile, Conversion };

struct FatalError : std::runtime_error {
  FatalError(FatalKind kind, int unit, std::string file, int line = 0, int first_column = 0,
             int last_column = 0, std::string field = {}, std::string hint = {});
  FatalKind kind;
  int unit;          // 5 data file, 6 report
  std::string file;  // name without trailing blanks
  int line;          // 1-based record number in the file, 0 when not known
  int first_column;  // conversion errors: the field's columns and text
  int last_column;
  std::string field;
  std::string hint;  // read errors: what the line looks like and what belongs there, or empty
};

// "input conversion error, unit 5, file S1.DAT: line 17, columns 9-16: \"   6O9  \"" and the
// other three forms, with the hint after a semicolon when there is one.
std::string message_of(const FatalError& e);

}  // namespace ostrevik::codec
