#pragma once
// A report table as data: its header records, its row layout(s) and the quantities each row
// prints. One writer serves every table of a test.
#include <optional>
#include <variant>
#include <vector>

#include "codec/layout.h"
#include "codec/record.h"
#include "model/state.h"

namespace ostrevik::report {

// A per-reading array printed in a column: a converted reading or a result of the evaluation.
using Quantity = std::variant<RArr Readings::*, IArr Readings::*, RArr Results::*>;

// The reading a cell is taken at: the row's reading, the peak reading IMAXP or the end
// reading IEND.
enum class At { Row, Peak, End };

struct Cell {
  template <class Member>
  Cell(Member member, At at = At::Row) : quantity(member), at(at) {}  // a bare array is a cell
  Quantity quantity;
  At at;
};

struct RowForm {
  codec::Layout layout;
  std::vector<Cell> cells;  // in the order of the layout's fields
};

// Which rows a table has: one per reading 1..NREAD, or the single row of the peak and end
// readings (written only when the test has readings).
enum class Rows { EveryReading, PeakAndEnd };

struct TableForm {
  std::vector<codec::Layout> headers;
  RowForm row;                                    // a reading with a lateral load, or every reading
  std::optional<RowForm> without_lateral_load{};  // used where QSPBAL(I) is exactly 0.0
  Rows rows = Rows::EveryReading;
};

codec::Value value_at(const Run& run, const Quantity& quantity, int reading);

void write_table(const Run& run, codec::Sink& report, const TableForm& table);

}  // namespace ostrevik::report
