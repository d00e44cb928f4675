#include "core/entry.h"

#include <string_view>

namespace kestrova::core {

std::string LimitTextInput(const std::int32_t& Source) {
  constexpr std::int32_t kBackspace = 8;
  constexpr std::string_view kAccepted = "0123456789.";
  if (Source == kBackspace) {
    return std::to_string(Source);
  }
  // Codes are code points here, so only ASCII can ever be one of the accepted characters.
  if (Source > 0 && Source < 128 &&
      kAccepted.find(static_cast<char>(Source)) != std::string_view::npos) {
    return std::to_string(Source);
  }
  return "0";
}

}  // namespace kestrova::core
