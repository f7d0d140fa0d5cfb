#pragma once
// The fields of the fixed-column records by name, in the order of their record: the one list
// that the series file's reader, its writer and the fixed-column writer share.
#include <span>
#include <string_view>

#include "model/raw_test.h"

namespace ostrevik::input {

// A real of a record: its name as the data guide and the report give it, where the RawTest keeps
// it, its unit as the series file's comments show it, and whether a series file must give it.
template <class Record>
struct RealField {
  std::string_view name;
  float Record::*value;
  std::string_view unit;
  bool required = false;
};

std::span<const RealField<RawFlags>> flag_fields();           // record 1
std::span<const RealField<RawFrame>> frame_fields();          // records 2 and 3
std::span<const RealField<RawLateralLoad>> lateral_fields();  // record 4
std::span<const RealField<RawSpecimen>> specimen_fields();    // records 5 and 6
std::span<const RealField<RawSoil>> soil_fields();            // record 6a
std::span<const RealField<RawMould>> mould_fields();          // record 7

// A column of the readings records: a real, or the integer flag IPARFL.
struct ReadingField {
  std::string_view name;
  float RawReading::*real;   // null for the flag
  int RawReading::*integer;  // null for a real
  int width;                 // columns of the field in the fixed-column record
  std::string_view unit;
};

std::span<const ReadingField> reading_fields();  // in the order of the readings record

// The value of a reading's column as a real (the flag too).
float value_of(const RawReading& reading, const ReadingField& field);

}  // namespace ostrevik::input
