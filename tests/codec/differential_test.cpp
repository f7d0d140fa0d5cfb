// The codec against the formatted I/O of a Fortran compiler.
// Writing: random values under random layouts must give the same bytes. Negative zero, NaN and
// infinity are left out (the codec writes them differently on purpose); everything else, exact
// ties included, must match.
// Reading: random F and I fields must give the same value, or both an error. The codec is
// stricter in two ways on purpose: a field with a sign or point but no digit, and a value too
// large for a float, are conversion errors (the compiler reads 0 and infinity).
#include <gtest/gtest.h>

#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "codec/errors.h"
#include "codec/layout.h"
#include "codec/record.h"
#include "external_tool.h"

namespace ostrevik::codec {
namespace {

using Kind = LayoutItem::Kind;
using Random = std::mt19937;

struct Item {
  Kind kind;
  float real = 0.0F;
  int integer = 0;
  std::string text;
};

struct Case {
  std::string layout;
  std::vector<Item> items;
};

int uniform(Random& random, int low, int high) {
  return std::uniform_int_distribution<int>(low, high)(random);
}

// Reals of every kind that matters for rounding and overflow.
float random_real(Random& random) {
  const double sign = uniform(random, 0, 3) == 0 ? -1.0 : 1.0;
  const double unit = std::uniform_real_distribution<double>(0.0, 1.0)(random);
  float value = 0.0F;
  switch (uniform(random, 0, 6)) {
    case 0:  // any magnitude a report shows
      value = static_cast<float>(sign * unit * std::pow(10.0, uniform(random, -3, 7)));
      break;
    case 1: {  // the floats around a rounding boundary m + 0.5 units of the last decimal
      const int decimals = uniform(random, 0, 6);
      const double boundary = (uniform(random, 0, 99999) + 0.5) / std::pow(10.0, decimals);
      value = static_cast<float>(sign * boundary);
      for (int step = uniform(random, -2, 2); step != 0; step += step > 0 ? -1 : 1) {
        value = std::nextafter(value, step > 0 ? INFINITY : -INFINITY);
      }
      break;
    }
    case 2:  // exact binary ties such as 0.125 or 2.5
      value = static_cast<float>(sign * (2 * uniform(random, 0, 500) + 1) /
                                 std::pow(2.0, uniform(random, 1, 6)));
      break;
    case 3:  // far too large for any field
      value = static_cast<float>(sign * (1.0 + unit) * std::pow(10.0, uniform(random, 8, 37)));
      break;
    case 4:  // small values, negative ones rounding to zero
      value = static_cast<float>(sign * unit * std::pow(10.0, uniform(random, -9, -1)));
      break;
    case 5:  // hundredths close to a carry, like 99.96
      value = static_cast<float>(sign * uniform(random, 0, 100000) / 100.0);
      break;
    default:
      value = static_cast<float>(uniform(random, -99, 99));
      break;
  }
  return value == 0.0F ? 0.0F : value;
}

int random_integer(Random& random) {
  switch (uniform(random, 0, 3)) {
    case 0:
      return uniform(random, -99, 999);
    case 1:
      return uniform(random, INT_MIN, INT_MAX);
    case 2: {
      const int power = static_cast<int>(std::pow(10.0, uniform(random, 0, 9)));
      return (uniform(random, 0, 1) == 0 ? power : power - 1) * (uniform(random, 0, 1) ? -1 : 1);
    }
    default:
      return uniform(random, -9, 9);
  }
}

std::string random_text(Random& random) {
  static constexpr char kLetters[] = "ABCXYZabcxyz0123456789 .-";
  std::string text(uniform(random, 1, 9), ' ');
  for (char& c : text) c = kLetters[uniform(random, 0, sizeof kLetters - 2)];
  return text;
}

std::string random_item(Random& random, int depth) {
  const int pick = uniform(random, 0, 99);
  const auto repeat = [&] {
    return uniform(random, 0, 4) == 0 ? std::to_string(uniform(random, 2, 4)) : "";
  };
  if (pick < 40) {
    // Mostly widths that hold the value, some that are too narrow for it.
    const int width = uniform(random, 0, 3) == 0 ? uniform(random, 1, 5) : uniform(random, 6, 16);
    return repeat() + "F" + std::to_string(width) + "." +
           std::to_string(uniform(random, 0, std::min(width, 8)));
  }
  if (pick < 55) return repeat() + "I" + std::to_string(uniform(random, 1, 12));
  if (pick < 68) {
    return repeat() +
           (uniform(random, 0, 2) == 0 ? "A" : "A" + std::to_string(uniform(random, 1, 10)));
  }
  if (pick < 78) return std::to_string(uniform(random, 1, 5)) + "X";
  if (pick < 86) {
    static const char* const kLiterals[] = {"ab", " x=", "  ", "-", "(cm)", "'' q"};
    return std::string("'") + kLiterals[uniform(random, 0, 5)] + "'";
  }
  if (pick < 91 || depth >= 2) return "/";
  std::string group = std::to_string(uniform(random, 1, 3)) + "(";
  const int members = uniform(random, 1, 3);
  for (int k = 0; k < members; ++k) group += (k ? "," : "") + random_item(random, depth + 1);
  return group + ")";
}

// The kinds of the fields that the first `wanted` items meet, following repeats and
// reversion; fewer when the layout could not take them all.
std::vector<Kind> field_kinds(const Layout& layout, std::size_t wanted) {
  std::vector<Kind> kinds;
  std::vector<std::pair<std::size_t, int>> groups;
  const auto& items = layout.items();
  for (std::size_t i = 0; kinds.size() < wanted; ++i) {
    if (i == items.size()) {
      if (!layout.fields_after_reversion()) break;
      i = layout.reversion_point() - 1;
      continue;
    }
    const LayoutItem& item = items[i];
    if (item.kind == Kind::GroupStart) {
      groups.emplace_back(i, item.count);
    } else if (item.kind == Kind::GroupEnd) {
      if (--groups.back().second > 0) {
        i = groups.back().first;
      } else {
        groups.pop_back();
      }
    } else if (item.kind == Kind::Real || item.kind == Kind::Integer || item.kind == Kind::Text) {
      kinds.push_back(item.kind);
    }
  }
  return kinds;
}

Case random_case(Random& random) {
  Case c;
  c.layout = "(";
  const int count = uniform(random, 1, 6);
  for (int k = 0; k < count; ++k) c.layout += (k ? "," : "") + random_item(random, 0);
  c.layout += ")";
  const Layout layout(c.layout);
  for (const Kind kind : field_kinds(layout, uniform(random, 0, 25))) {
    Item item;
    item.kind = kind;
    if (kind == Kind::Real) item.real = random_real(random);
    if (kind == Kind::Integer) item.integer = random_integer(random);
    if (kind == Kind::Text) item.text = random_text(random);
    c.items.push_back(item);
  }
  return c;
}

std::string codec_bytes(const Case& c) {
  std::vector<Value> values;
  for (const Item& item : c.items) {
    if (item.kind == Kind::Real) values.emplace_back(item.real);
    if (item.kind == Kind::Integer) values.emplace_back(item.integer);
    if (item.kind == Kind::Text) values.emplace_back(std::string_view(item.text));
  }
  StringSink sink;
  write(sink, Layout(c.layout), values);
  std::string lines;
  for (const char byte : sink.bytes) {
    if (byte != '\r') lines += byte;
  }
  return lines;
}

// One WRITE statement; reals are given by their bit patterns so that no decimal conversion of
// the compiler comes between.
std::string fortran_write(const Case& c) {
  std::string statement = "  write(u, \"" + c.layout + "\")";
  for (std::size_t k = 0; k < c.items.size(); ++k) {
    const Item& item = c.items[k];
    statement += k == 0 ? " " : ", ";
    if (item.kind == Kind::Real) {
      statement += "transfer(" + std::to_string(std::bit_cast<std::int32_t>(item.real)) + ", 1.0)";
    } else if (item.kind == Kind::Integer) {
      statement +=
          item.integer == INT_MIN ? "(-2147483647-1)" : "(" + std::to_string(item.integer) + ")";
    } else {
      statement += "'" + item.text + "'";
    }
  }
  return statement + "\n  write(u, \"(A)\") '@@@'\n";
}

std::string fortran_program(const std::vector<Case>& cases) {
  constexpr std::size_t kPerRoutine = 200;
  std::string routines;
  std::string calls;
  for (std::size_t first = 0; first < cases.size(); first += kPerRoutine) {
    const std::string name = "part" + std::to_string(first / kPerRoutine);
    calls += "  call " + name + "(u)\n";
    routines += "subroutine " + name + "(u)\n  integer, intent(in) :: u\n";
    for (std::size_t k = first; k < std::min(cases.size(), first + kPerRoutine); ++k) {
      routines += fortran_write(cases[k]);
    }
    routines += "end subroutine\n";
  }
  return "program differential\n  integer :: u\n"
         "  open(newunit=u, file='out.txt', status='replace', action='write')\n" +
         calls + "  close(u)\nend program\n" + routines;
}

TEST(Differential, FormattedWriteAgreesWithFortran) {
  if (!testing::tool_available("gfortran")) GTEST_SKIP() << "gfortran not found";
  testing::TempDir folder;
  constexpr unsigned kSeed = 20070402;
  Random random(kSeed);
  std::vector<Case> cases;
  for (int k = 0; k < 2000; ++k) cases.push_back(random_case(random));

  testing::write_bytes(folder / "differential.f90", fortran_program(cases));
  ASSERT_TRUE(testing::run("cd " + testing::quoted(folder / "") +
                           " && gfortran -O0 -ffree-line-length-none -o differential "
                           "differential.f90 > build.log 2>&1 && ./differential"))
      << testing::read_bytes(folder / "build.log");
  const std::string fortran = testing::read_bytes(folder / "out.txt");

  std::size_t pos = 0;
  int mismatches = 0;
  for (const Case& c : cases) {
    const std::size_t end = fortran.find("@@@\n", pos);
    ASSERT_NE(end, std::string::npos) << "Fortran output ends early";
    const std::string expected = fortran.substr(pos, end - pos);
    pos = end + 4;
    const std::string actual = codec_bytes(c);
    if (actual != expected && ++mismatches <= 10) {
      std::string items;
      for (const Item& item : c.items) {
        items += item.kind == Kind::Real      ? std::to_string(item.real) + "f "
                 : item.kind == Kind::Integer ? std::to_string(item.integer) + " "
                                              : "'" + item.text + "' ";
      }
      ADD_FAILURE() << c.layout << " with " << items << "\nfortran: [" << expected
                    << "]\ncodec:   [" << actual << "]";
    }
  }
  EXPECT_EQ(mismatches, 0) << "seed " << kSeed;
}

struct Field {
  std::string text;
  int decimals = -1;  // -1: an Iw field
};

// A field as an engineer might type it: sign, digits, point, exponent, stray blanks, now and
// then a wrong character.
Field random_field(Random& random) {
  static constexpr char kWrong[] = "Ox,;/";
  std::string number;
  const auto digits = [&](int low, int high) {
    for (int k = uniform(random, low, high); k > 0; --k)
      number += static_cast<char>('0' + uniform(random, 0, 9));
  };
  const auto sign = [&] {
    if (uniform(random, 0, 2) == 0) number += uniform(random, 0, 1) ? '-' : '+';
  };
  const bool integer = uniform(random, 0, 3) == 0;
  sign();
  digits(0, 7);
  if (!integer && uniform(random, 0, 1) == 0) {
    number += '.';
    digits(0, 4);
  }
  if (!integer && uniform(random, 0, 3) == 0) {
    static constexpr char kMarks[] = "EeDd";
    if (uniform(random, 0, 4) > 0) number += kMarks[uniform(random, 0, 3)];
    sign();
    digits(0, 2);
  }
  if (uniform(random, 0, 9) == 0) {
    number.insert(uniform(random, 0, static_cast<int>(number.size())), 1,
                  kWrong[uniform(random, 0, 4)]);
  }
  for (int k = uniform(random, 0, 2); k > 0; --k)
    number.insert(uniform(random, 0, static_cast<int>(number.size())), 1, ' ');
  const int width = std::max<int>(1, static_cast<int>(number.size()) + uniform(random, 0, 3));
  std::string text(width - number.size(), ' ');
  text.insert(uniform(random, 0, static_cast<int>(text.size())), number);
  return {text.substr(0, width), integer ? -1 : uniform(random, 0, 4)};
}

// Whether the digits before any exponent hold at least one digit.
bool mantissa_digit(const Field& field) {
  std::string text;
  for (const char c : field.text) {
    if (c != ' ') text += c;
  }
  std::size_t pos = text.starts_with('+') || text.starts_with('-') ? 1 : 0;
  if (pos < text.size() && text[pos] == '.') ++pos;
  return pos < text.size() && text[pos] >= '0' && text[pos] <= '9';
}

std::string layout_of(const Field& field) {
  const std::string width = std::to_string(field.text.size());
  return field.decimals < 0 ? "(I" + width + ")"
                            : "(F" + width + "." + std::to_string(field.decimals) + ")";
}

// The codec's reading of a field: "error" or the bit pattern of the value.
std::string codec_reading(const Field& field) {
  Source source(field.text + "\n", 5, "F");
  try {
    if (field.decimals < 0) {
      int value = 0;
      read(source, Layout(layout_of(field)), {&value});
      return std::to_string(value);
    }
    float value = 0.0F;
    read(source, Layout(layout_of(field)), {&value});
    return std::to_string(std::bit_cast<std::int32_t>(value));
  } catch (const FatalError&) {
    return "error";
  }
}

std::string fortran_reading_program(const std::vector<Field>& fields) {
  std::string calls;
  for (const Field& field : fields) {
    calls += std::string("  call ") + (field.decimals < 0 ? "ri" : "rf") + "(u, '" + field.text +
             "', '" + layout_of(field) + "')\n";
  }
  return "program reading\n  integer :: u\n"
         "  open(newunit=u, file='out.txt', status='replace', action='write')\n" +
         calls +
         "  close(u)\n"
         "contains\n"
         "  subroutine rf(u, text, layout)\n"
         "    integer, intent(in) :: u\n    character(len=*), intent(in) :: text, layout\n"
         "    real :: x\n    integer :: ios\n    x = 0\n"
         "    read(text, layout, iostat=ios) x\n"
         "    if (ios /= 0) then\n      write(u, '(A)') 'error'\n"
         "    else if (abs(x) > huge(x)) then\n      write(u, '(A)') 'infinite'\n"
         "    else\n      write(u, '(I0)') transfer(x, 0)\n    end if\n"
         "  end subroutine\n"
         "  subroutine ri(u, text, layout)\n"
         "    integer, intent(in) :: u\n    character(len=*), intent(in) :: text, layout\n"
         "    integer :: n, ios\n    n = 0\n"
         "    read(text, layout, iostat=ios) n\n"
         "    if (ios /= 0) then\n      write(u, '(A)') 'error'\n"
         "    else\n      write(u, '(I0)') n\n    end if\n"
         "  end subroutine\n"
         "end program\n";
}

TEST(Differential, FormattedReadAgreesWithFortran) {
  if (!testing::tool_available("gfortran")) GTEST_SKIP() << "gfortran not found";
  testing::TempDir folder;
  constexpr unsigned kSeed = 1957;
  Random random(kSeed);
  std::vector<Field> fields;
  for (int k = 0; k < 3000; ++k) fields.push_back(random_field(random));

  testing::write_bytes(folder / "reading.f90", fortran_reading_program(fields));
  ASSERT_TRUE(testing::run("cd " + testing::quoted(folder / "") +
                           " && gfortran -O0 -ffree-line-length-none -o reading reading.f90 > "
                           "build.log 2>&1 && ./reading"))
      << testing::read_bytes(folder / "build.log");
  std::istringstream lines(testing::read_bytes(folder / "out.txt"));
  int mismatches = 0;
  int values = 0;
  int errors = 0;
  for (const Field& field : fields) {
    std::string expected;
    ASSERT_TRUE(std::getline(lines, expected)) << "Fortran output ends early";
    const std::string actual = codec_reading(field);
    const bool stricter = actual == "error" && (expected == "infinite" || !mantissa_digit(field));
    if (actual == expected) ++(actual == "error" ? errors : values);
    if (actual != expected && !stricter && ++mismatches <= 10) {
      ADD_FAILURE() << layout_of(field) << " of \"" << field.text << "\": fortran " << expected
                    << ", codec " << actual;
    }
  }
  EXPECT_EQ(mismatches, 0) << "seed " << kSeed;
  // Both outcomes must be well represented for the comparison to mean something.
  EXPECT_GT(values, 1500);
  EXPECT_GT(errors, 100);
}

}  // namespace
}  // namespace ostrevik::codec
