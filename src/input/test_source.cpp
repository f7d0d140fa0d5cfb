#include "input/test_source.h"

namespace ostrevik::input {

std::span<const TitleRecord> SourcedTest::titles() const {
  return std::span<const TitleRecord>(test.TITLES).first(static_cast<std::size_t>(titles_read));
}

void SourcedTest::raise_error_of(TestPart part) const {
  if (error && error_part == part) std::rethrow_exception(error);
}

}  // namespace ostrevik::input
