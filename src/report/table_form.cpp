#include "report/table_form.h"

#include <array>
#include <span>
#include <stdexcept>

namespace ostrevik::report {

namespace {

template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

int reading_of(const Run& run, At at, int row_reading) {
  switch (at) {
    case At::Peak:
      return run.o.IMAXP;
    case At::End:
      return run.o.IEND;
    case At::Row:
      break;
  }
  return row_reading;
}

void write_row(const Run& run, codec::Sink& report, const RowForm& form, int reading) {
  // The widest row has 20 fields; the row's values stay on the stack.
  std::array<codec::Value, 20> items{};
  const std::size_t count = form.cells.size();
  if (count > items.size()) throw std::length_error("report row with more than 20 fields");
  for (std::size_t n = 0; n < count; ++n) {
    const Cell& cell = form.cells[n];
    items[n] = value_at(run, cell.quantity, reading_of(run, cell.at, reading));
  }
  codec::write(report, form.layout, std::span<const codec::Value>(items.data(), count));
}

const RowForm& form_of_reading(const Run& run, const TableForm& table, int reading) {
  if (table.without_lateral_load && run.r.QSPBAL(reading) == 0.0F) {
    return *table.without_lateral_load;
  }
  return table.row;
}

}  // namespace

codec::Value value_at(const Run& run, const Quantity& quantity, int reading) {
  return std::visit(
      Overloaded{
          [&](RArr Readings::*array) -> codec::Value { return (run.r.*array)(reading); },
          [&](IArr Readings::*array) -> codec::Value { return (run.r.*array)(reading); },
          [&](RArr Results::*array) -> codec::Value { return (run.o.*array)(reading); },
      },
      quantity);
}

void write_table(const Run& run, codec::Sink& report, const TableForm& table) {
  for (const codec::Layout& header : table.headers) {
    codec::write(report, header);
  }
  const int NREAD = run.u.NREAD;
  if (table.rows == Rows::PeakAndEnd) {
    if (NREAD >= 1) {
      write_row(run, report, table.row, run.o.IMAXP);
    }
    return;
  }
  for (int I = 1; I <= NREAD; ++I) {
    write_row(run, report, form_of_reading(run, table, I), I);
  }
}

}  // namespace ostrevik::report
