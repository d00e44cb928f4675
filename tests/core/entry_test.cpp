#include "core/entry.h"

#include <gtest/gtest.h>

#include <vector>

namespace kestrova::core {
namespace {

TEST(LimitTextInput, ExactlyTheDigitsThePointAndBackspacePassAsTheirOwnCode) {
  std::vector<std::int32_t> passed;
  for (std::int32_t code = -300; code <= 0x110100; ++code) {
    const std::string result = LimitTextInput(code);
    if (result == "0") continue;
    EXPECT_EQ(result, std::to_string(code));
    passed.push_back(code);
  }
  EXPECT_EQ(passed, (std::vector<std::int32_t>{8, 46, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57}));
}

}  // namespace
}  // namespace kestrova::core
