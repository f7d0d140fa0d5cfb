// The message of a refused test, byte for byte, for every rule and every kind of value.
#include "report/refusal.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "codec/cp857.h"

namespace ostrevik::report {
namespace {

TEST(Refusal, RecordOfEveryRule) {
  struct Case {
    Refusal refusal;
    std::string utf8;  // the expected record
  };
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const Case cases[] = {
      {{3, "ALFN", 90.0F, Rule::Between0And90},
       " *** DENEY NO. 3: ALFN = 90 ; 0 İLE 90 DERECE ARASINDA OLMALIDIR. DENEY "
       "DEĞERLENDİRİLMEDİ."},
      {{1, "VOLSOL", -144.25943F, Rule::Positive},
       " *** DENEY NO. 1: VOLSOL = -144.25943 ; SIFIRDAN BÜYÜK OLMALIDIR. DENEY "
       "DEĞERLENDİRİLMEDİ."},
      {{1, "VOLSOL", nan, Rule::Positive},
       " *** DENEY NO. 1: VOLSOL = ******** ; SIFIRDAN BÜYÜK OLMALIDIR. DENEY DEĞERLENDİRİLMEDİ."},
      {{12, "SATINL", -0.0F, Rule::NonZero},
       " *** DENEY NO. 12: SATINL = -0 ; SIFIR OLMAMALIDIR. DENEY DEĞERLENDİRİLMEDİ."},
      {{2, "WCINL", -1.0F, Rule::NotMinusOne},
       " *** DENEY NO. 2: WCINL = -1 ; -1 OLMAMALIDIR. DENEY DEĞERLENDİRİLMEDİ."},
      {{5, "DENSOL", 2.1F, Rule::NotWetDensityOfGrains},
       " *** DENEY NO. 5: DENSOL = 2.1 ; (WCINL+1)*GS DEĞERİNE EŞİT OLMAMALIDIR. DENEY "
       "DEĞERLENDİRİLMEDİ."},
      {{1, "DIAIN", 1e30F, Rule::BelowDiaout},
       " *** DENEY NO. 1: DIAIN = 1e+30 ; DIAOUT DEĞERİNDEN KÜÇÜK OLMALIDIR. DENEY "
       "DEĞERLENDİRİLMEDİ."},
      {{4, "HTLOWR", -3.75F, Rule::NotMinusHcotd},
       " *** DENEY NO. 4: HTLOWR = -3.75 ; -HCOTD OLMAMALIDIR. DENEY DEĞERLENDİRİLMEDİ."},
      {{4, "HTLOWS", 0.1F, Rule::NotMinusHcota},
       " *** DENEY NO. 4: HTLOWS = 0.1 ; -HCOTA OLMAMALIDIR. DENEY DEĞERLENDİRİLMEDİ."},
      {{2, "NREAD", 45, Rule::Between2And40},
       " *** DENEY NO. 2: NREAD = 45 ; 2 İLE 40 ARASINDA OLMALIDIR. DENEY DEĞERLENDİRİLMEDİ."},
      {{2, "NREAD", 45, Rule::Between2And40, FieldPlace{27, 65, 72}},
       " *** DENEY NO. 2: NREAD = 45 (SATIR 27, SÜTUN 65-72) ; 2 İLE 40 ARASINDA OLMALIDIR. DENEY "
       "DEĞERLENDİRİLMEDİ."},
      {{41, "NTEST", 41, Rule::AtMost40Tests},
       " *** DENEY NO. 41: NTEST = 41 ; BİR VERİ KÜTÜĞÜ EN ÇOK 40 DENEY İÇEREBİLİR. DENEY "
       "DEĞERLENDİRİLMEDİ."},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.utf8);
    EXPECT_EQ(refusal_record(k.refusal), codec::to_cp857(k.utf8));
  }
}

}  // namespace
}  // namespace ostrevik::report
