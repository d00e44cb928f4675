#pragma once

#include <cstdint>
#include <string>

namespace kestrova::core {

// The typed-character filter of the amount boxes. `Source` is the character's Unicode code
// point (8 for backspace). Gives the decimal text of the code to insert: the code itself for a
// digit, the point or backspace, "0" (insert nothing) for anything else.
std::string LimitTextInput(const std::int32_t& Source);

}  // namespace kestrova::core
