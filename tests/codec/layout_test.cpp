#include "codec/layout.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace ostrevik::codec {
namespace {

// The scanned items in a compact notation: F8.2 I3 A4 A X5 'text' / 3( ) plus the reversion
// point as "@index".
std::string scanned(const Layout& layout) {
  std::string out;
  for (const LayoutItem& item : layout.items()) {
    if (!out.empty()) out += ' ';
    switch (item.kind) {
      case LayoutItem::Kind::Literal:
        out += "'" + item.text + "'";
        break;
      case LayoutItem::Kind::Skip:
        out += "X" + std::to_string(item.width);
        break;
      case LayoutItem::Kind::Real:
        out += "F" + std::to_string(item.width) + "." + std::to_string(item.decimals);
        break;
      case LayoutItem::Kind::Integer:
        out += "I" + std::to_string(item.width);
        break;
      case LayoutItem::Kind::Text:
        out += item.width == 0 ? std::string("A") : "A" + std::to_string(item.width);
        break;
      case LayoutItem::Kind::RecordEnd:
        out += "/";
        break;
      case LayoutItem::Kind::Stop:
        out += ":";
        break;
      case LayoutItem::Kind::GroupStart:
        out += std::to_string(item.count) + "(";
        break;
      case LayoutItem::Kind::GroupEnd:
        out += ")";
        break;
    }
  }
  return out + " @" + std::to_string(layout.reversion_point());
}

TEST(LayoutScanner, ItemsRepeatsGroupsAndReversionPoint) {
  const struct {
    const char* layout;
    const char* items;
  } cases[] = {
      {"(9F8.0)", "F8.0 F8.0 F8.0 F8.0 F8.0 F8.0 F8.0 F8.0 F8.0 @0"},
      {"(2F4.0,I1,A,A4,3X)", "F4.0 F4.0 I1 A A4 X3 @0"},
      {"(/,/,/)", "/ / / @0"},
      {"(/)", "/ @0"},
      {"()", " @0"},
      {"('a''b',1X)", "'a'b' X1 @0"},
      {"('')", "'' @0"},
      {"(4X,24('*  '),/,/,/)", "X4 24( '*  ' ) / / / @1"},
      {"(F8.6,5(1X,F15.3))", "F8.6 5( X1 F15.3 ) @1"},
      {"(2(I2,3(F4.1)),'x',2(A2))", "2( I2 3( F4.1 ) ) 'x' 2( A2 ) @7"},
      {"('a'/'b',2/)", "'a' / 'b' / / @0"},
      {"(F3.0,:,1X,'x',F6.3)", "F3.0 : X1 'x' F6.3 @0"},
      {"(I2:'a',I2)", "I2 : 'a' I2 @0"},
      {" ( f6.2 , 2 i3 , x ) ", "F6.2 I3 I3 X1 @0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(scanned(Layout(c.layout)), c.items) << c.layout;
  }
}

TEST(LayoutScanner, TurkishLiteralsBecomeCp857) {
  const Layout layout("('ÇİZELGE ğüşöı')");
  EXPECT_EQ(layout.items().at(0).text, "\x80\x98ZELGE \xA7\x81\x9F\x94\x8D");
}

TEST(LayoutScanner, FieldsAfterReversion) {
  EXPECT_TRUE(Layout("(9F8.0)").fields_after_reversion());
  EXPECT_FALSE(Layout("('x',/)").fields_after_reversion());
  EXPECT_FALSE(Layout("(F8.2,3('x'))").fields_after_reversion());
}

TEST(LayoutScanner, RejectsMalformedLayouts) {
  for (const char* bad : {"", "F8.2", "(F8.2", "(F8)", "(F8.)", "(F0.0)", "(I)", "(A0)", "(Q3)",
                          "('open)", "(3'x')", "(F8.2,)", "(,F8.2)", "(F8.2 I3)", "(0(I3))",
                          "(I3))", "(1(1(1(1(1(1(1(1(I3)))))))))", "('€')", "(2:)"}) {
    EXPECT_THROW(Layout{bad}, std::invalid_argument) << bad;
  }
}

}  // namespace
}  // namespace ostrevik::codec
