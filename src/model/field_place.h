#pragma once
// Where a value stands in the data file, for the messages that point at it.
#include <string_view>

namespace ostrevik {

struct FieldPlace {
  int line = 0;          // line of the record in the data file, from 1
  int first_column = 0;  // first column of the field, from 1
  int last_column = 0;   // last column of the field
};

// A value of a test by the name the report gives it ("ALFN"), and where the data typed it.
struct PlacedField {
  std::string_view name;  // a name with static storage
  FieldPlace place;
};

}  // namespace ostrevik
