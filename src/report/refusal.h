#pragma once
// The message of a refused test, as the report and the console show it.
#include <string>
#include <string_view>

#include "model/outcome.h"

namespace ostrevik::report {

// What the rule demands of the value, in Turkish (UTF-8): "SIFIRDAN BÜYÜK OLMALIDIR.".
std::string_view rule_text(Rule rule);

// " *** DENEY NO. 3: ALFN = 90 ; 0 İLE 90 DERECE ARASINDA OLMALIDIR. DENEY DEĞERLENDİRİLMEDİ."
// as one CP857 record without its line end.
std::string refusal_record(const Refusal& refusal);

}  // namespace ostrevik::report
