// A rounded amount written and read back: exact below 1E+13, where a box shows every
// hundredth; beyond that, the text itself is what survives another round.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "core/convert.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kestrova::core;
  // Eight bytes are a double as it is; anything else is a text as typed.
  double value = 0.0;
  if (size == sizeof value) {
    std::memcpy(&value, data, sizeof value);
  } else {
    const auto read = ReadAmount(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!read) return 0;
    value = *read;
  }
  if (!std::isfinite(value)) {
    FUZZ_CHECK(FormatAmount(value, ".").empty());
    return 0;
  }
  const std::optional<double> rounded = Round2(value);
  if (!rounded) {
    FUZZ_CHECK(std::fabs(value) > 1e306);
    return 0;
  }
  const std::string text = FormatAmount(*rounded, ".");
  FUZZ_CHECK(!text.empty() && text != "-0");
  std::size_t significant = 0;
  bool leading = true;
  for (const char c : std::string_view(text).substr(0, text.find('E'))) {
    if (c >= '1' && c <= '9') leading = false;
    if (c >= '0' && c <= '9' && !leading) ++significant;
  }
  FUZZ_CHECK(significant <= 15);

  // The comma locale writes the same digits.
  std::string comma = FormatAmount(*rounded, ",");
  for (char& c : comma) {
    if (c == ',') c = '.';
  }
  FUZZ_CHECK(comma == text);

  const std::optional<double> back = ReadAmount(text);
  FUZZ_CHECK(back.has_value());
  if (std::fabs(*rounded) < 1e13) {
    FUZZ_CHECK(*back == *rounded);
  } else {
    FUZZ_CHECK(std::fabs(*back - *rounded) <= 1e-14 * std::fabs(*rounded));
    // Next to the largest amount that rounds, fifteen digits may read back just past it; a
    // conversion from such a text leaves its target alone, as any overflow does.
    const std::optional<double> again = Round2(*back);
    FUZZ_CHECK(again ? FormatAmount(*again, ".") == text : std::fabs(*rounded) > 1e306);
  }
  return 0;
}
