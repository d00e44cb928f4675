#include "core/entry.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <set>
#include <string>

namespace kestrova::core {
namespace {

TEST(LimitTextInput, DigitsPointAndBackspacePassAsTheirOwnCode) {
  for (std::int32_t code = '0'; code <= '9'; ++code) {
    EXPECT_EQ(LimitTextInput(code), std::to_string(code));
  }
  EXPECT_EQ(LimitTextInput('0'), "48");
  EXPECT_EQ(LimitTextInput('9'), "57");
  EXPECT_EQ(LimitTextInput('.'), "46");
  EXPECT_EQ(LimitTextInput(8), "8");
}

TEST(LimitTextInput, EverythingElseIsRefused) {
  const std::int32_t refused[] = {
      ',', '-', '+', ' ', 'a', 'Z', 'e', 'E', '/', ':',  // neighbours of the digits too
      13, 27, 9, 10, 127, 0,
      0xA0,     // no-break space
      0x2C,     // the comma again, as a code
      0x66B,    // a decimal separator of another script
      0x660,    // a digit of another script
      0xFF10,   // a full-width digit
      0x10FFFF, 0x110000, 0x7FFFFFFF, -1, -8, -46, INT32_MIN,
      256 + '5',  // would be '5' if cut to eight bits
      65536 + '.',
  };
  for (const std::int32_t code : refused) {
    EXPECT_EQ(LimitTextInput(code), "0") << "code " << code;
  }
  for (std::int32_t control = 1; control <= 26; ++control) {
    if (control == 8) continue;
    EXPECT_EQ(LimitTextInput(control), "0") << "control code " << control;
  }
}

TEST(LimitTextInput, ExactlyTwelveCodePointsPassAndTheArgumentIsLeftAlone) {
  std::set<std::int32_t> passed;
  for (std::int32_t code = 0; code <= 0x10FFFF; ++code) {
    const std::int32_t before = code;
    const std::string result = LimitTextInput(code);
    ASSERT_EQ(code, before);
    if (result != "0") {
      EXPECT_EQ(result, std::to_string(code));
      passed.insert(code);
    }
  }
  const std::set<std::int32_t> expected = {8, 46, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57};
  EXPECT_EQ(passed, expected);
}

}  // namespace
}  // namespace kestrova::core
