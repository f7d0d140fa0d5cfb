#include "report/table_form.h"

namespace ostrevik::report {

namespace {

template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};

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
  std::vector<codec::Value> items;
  items.reserve(form.cells.size());
  for (const Cell& cell : form.cells) {
    items.push_back(value_at(run, cell.quantity, reading_of(run, cell.at, reading)));
  }
  codec::write(report, form.layout, items);
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
