// Any text in a box: the reader gives a finite number or says it does not fit, and blanks,
// tabs and line feeds change nothing wherever they stand.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "core/convert.h"
#include "core/currency.h"
#include "fuzz_check.h"

namespace {

bool SameResult(std::optional<double> a, std::optional<double> b) {
  if (!a || !b) return !a && !b;
  // Bit for bit: a minus zero must stay a minus zero.
  return std::memcmp(&*a, &*b, sizeof(double)) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kestrova::core;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::optional<double> read = ReadAmount(text);
  if (read) FUZZ_CHECK(std::isfinite(*read));

  static const char kSkipped[] = {' ', '\t', '\n'};
  std::string spread;
  for (std::size_t i = 0; i < text.size(); ++i) {
    spread += kSkipped[i % 3];
    spread += text[i];
  }
  FUZZ_CHECK(SameResult(ReadAmount(spread), read));

  // The whole conversion of such a text gives an amount the box reads back, or nothing.
  const CountryRecord& row = *CountryAt(1 + static_cast<int>(size % kCountryCount));
  for (const Operation operation : {Operation::EuroToNational, Operation::NationalToEuro}) {
    if (const auto result = Convert(text, "", &row, operation, size % 2 ? "," : ".")) {
      FUZZ_CHECK(!result->empty() && *result != "-0");
      FUZZ_CHECK(result->find(',') == std::string::npos);
      // Within half a hundredth, plus fifteen digits' worth, of the exact conversion.
      const double exact =
          operation == Operation::EuroToNational ? *read * row.rate : *read / row.rate;
      FUZZ_CHECK(std::fabs(ReadAmount(*result).value() - exact) <=
                 0.0050001 + 1e-14 * std::fabs(exact));
    } else {
      FUZZ_CHECK(!read || std::fabs(*read) > 1e300);
    }
  }
  return 0;
}
