#pragma once
// Helpers of the report-table tests: the written records as lines, a test filled with
// distinct values, and the check of a row against the print columns of its fields.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "codec/cp857.h"
#include "codec/record.h"
#include "common/files.h"
#include "model/state.h"
#include "report/table_form.h"

namespace ostrevik::report::testing {

using R = Readings;
using O = Results;

// The records of a sink, without their CR LF.
inline std::vector<std::string> lines_of(const codec::StringSink& sink) {
  EXPECT_TRUE(sink.bytes.empty() || sink.bytes.ends_with("\r\n")) << "record without CR LF";
  return ostrevik::testing::records_of(sink.bytes);
}

inline std::string cp857(std::string_view utf8) {
  return codec::to_cp857(utf8);
}

// Every array a table prints, real or integer.
inline const std::vector<Quantity>& all_quantities() {
  static const std::vector<Quantity> q{
      &R::T,      &O::DXABS,  &O::DY1ABS, &O::DTMLP2, &O::DRPB,   &O::HTFYKS, &O::DECLYK,
      &O::WQNC,   &O::P,      &R::INDEX,  &R::IPARFL, &O::BETABC, &O::UBAR,   &O::U,
      &O::VBAR,   &O::V,      &O::SS,     &O::SSNB,   &O::TNSAVE, &O::TNNB,   &O::SOVERN,
      &O::SOVRNB, &O::TNSMAX, &O::TNSMIN, &O::VPIT,   &O::VPITT,  &O::USTRN,  &O::VSTRN,
      &O::AC,     &O::ACNB,   &O::SECMOM, &O::PERSMA, &O::TMOMA,  &O::TMOM,   &O::DIFMOM,
      &O::DEVREC, &O::DEVIBA, &O::DEVIB,  &O::DEVIBT, &O::DEVRPT, &O::DEVJNR, &O::DEVVPI,
      &O::DEVNB,  &O::ERUABS, &O::RMV,    &O::SLATLD, &O::GRSBAL, &O::GRDQC,  &O::ANGLQ,
      &O::TNSAVP, &O::SSAVP,  &O::AVPRST, &O::DVOVDU, &O::ALPHA,  &O::ALPHAR, &O::XFC,
      &O::YFORCE};
  return q;
}

// A test of NREAD readings in which every array holds values of its own, so that two
// columns exchanged show up: array k at reading I holds ((7k + 13I) mod 50) - 15 + 0.37,
// between -14.63 and 34.37 (narrow enough for every field, negative ones included); the
// integer arrays hold k + I.
inline Run filled_run(int NREAD) {
  Run run;
  run.u.NREAD = NREAD;
  int k = 0;
  for (const Quantity& q : all_quantities()) {
    for (int I = 1; I <= MAXRD; ++I) {
      const int base = (7 * k + 13 * I) % 50 - 15;
      if (auto* real_reading = std::get_if<RArr Readings::*>(&q)) {
        (run.r.**real_reading)(I) = static_cast<float>(base) + 0.37F;
      } else if (auto* result = std::get_if<RArr Results::*>(&q)) {
        (run.o.**result)(I) = static_cast<float>(base) + 0.37F;
      } else {
        (run.r.*std::get<IArr Readings::*>(q))(I) = k + I;
      }
    }
    ++k;
  }
  run.o.IMAXP = 1;
  run.o.IEND = NREAD;
  return run;
}

// A field of a row: its print columns (from 1), its decimals (-1 for an integer field), and
// the array and reading it shows.
struct Field {
  int first, last, decimals;
  Quantity quantity;
  At at = At::Row;
};

// The text the field must hold: the value right-justified with the given decimals; a field
// without decimals ends in the point.
inline std::string field_text(const Run& run, const Field& f, int reading) {
  const int width = f.last - f.first + 1;
  const int I = f.at == At::Row ? reading : f.at == At::Peak ? run.o.IMAXP : run.o.IEND;
  const codec::Value v = value_at(run, f.quantity, I);
  char text[64];
  if (f.decimals < 0) {
    std::snprintf(text, sizeof text, "%*d", width, std::get<int>(v));
  } else if (f.decimals == 0) {
    std::snprintf(text, sizeof text, "%*.0f.", width - 1, static_cast<double>(std::get<float>(v)));
  } else {
    std::snprintf(text, sizeof text, "%*.*f", width, f.decimals,
                  static_cast<double>(std::get<float>(v)));
  }
  return text;
}

// Checks every field of a row and that nothing else but blanks stands in it.
inline void expect_row(const std::string& line, int width, const std::vector<Field>& fields,
                       const Run& run, int reading) {
  ASSERT_EQ(static_cast<int>(line.size()), width) << line;
  std::string rest(line.size(), ' ');
  for (std::size_t n = 0; n < fields.size(); ++n) {
    const Field& f = fields[n];
    const auto first = static_cast<std::size_t>(f.first - 1);
    const auto length = static_cast<std::size_t>(f.last - f.first + 1);
    EXPECT_EQ(line.substr(first, length), field_text(run, f, reading))
        << "field " << n + 1 << " (columns " << f.first << "-" << f.last << ") of reading "
        << reading << ":\n"
        << line;
    rest.replace(first, length, line.substr(first, length));
  }
  EXPECT_EQ(rest, line) << "text outside the fields";
}

}  // namespace ostrevik::report::testing
