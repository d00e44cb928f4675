// Whatever lands in an amount box: the reader gives a finite number or says it does not fit,
// blanks, tabs and line feeds change nothing wherever they stand, and a conversion writes an
// amount within half a hundredth of the exact one or leaves its target alone. Eight bytes are
// also a double as it is: a rounded amount written and read back is itself again.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/convert.h"
#include "fuzz_check.h"

namespace {

using namespace kestrova::core;

bool Same(std::optional<double> a, std::optional<double> b) {  // bit for bit: -0 stays -0
  return a && b ? std::memcmp(&*a, &*b, sizeof(double)) == 0 : !a && !b;
}

void RoundTrip(double value) {
  const std::optional<double> rounded = Round2(value);
  if (!std::isfinite(value) || !rounded) {
    FUZZ_CHECK(std::isfinite(value) ? std::fabs(value) > 1e306 : FormatAmount(value, ".").empty());
    return;
  }
  const std::string text = FormatAmount(*rounded, ".");
  FUZZ_CHECK(!text.empty() && text != "-0");
  std::size_t significant = 0;
  for (const char c : text.substr(0, text.find('E'))) {
    if ((c >= '1' && c <= '9') || (c == '0' && significant > 0)) ++significant;
  }
  FUZZ_CHECK(significant <= 15);
  std::string comma = FormatAmount(*rounded, ",");  // the comma locale writes the same digits
  for (char& c : comma) c = c == ',' ? '.' : c;
  FUZZ_CHECK(comma == text);
  const double back = ReadAmount(text).value();
  if (std::fabs(*rounded) < 1e13) {
    FUZZ_CHECK(back == *rounded);
  } else {
    FUZZ_CHECK(std::fabs(back - *rounded) <= 1e-14 * std::fabs(*rounded));
    // Next to the largest amount that rounds, fifteen digits may read back just past it; a
    // conversion from such a text leaves its target alone, as any overflow does.
    const std::optional<double> again = Round2(back);
    FUZZ_CHECK(again ? FormatAmount(*again, ".") == text : std::fabs(*rounded) > 1e306);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::optional<double> read = ReadAmount(text);
  if (read) FUZZ_CHECK(std::isfinite(*read));
  std::string spread;
  for (std::size_t i = 0; i < text.size(); ++i) spread += std::string(1, " \t\n"[i % 3]) + text[i];
  FUZZ_CHECK(Same(ReadAmount(spread), read));

  const CountryRecord& row = *CountryAt(1 + static_cast<int>(size % kCountryCount));
  for (const Operation operation : {Operation::EuroToNational, Operation::NationalToEuro}) {
    if (const auto result = Convert(text, "", &row, operation, size % 2 ? "," : ".")) {
      FUZZ_CHECK(!result->empty() && *result != "-0" && result->find(',') == std::string::npos);
      const double exact =
          operation == Operation::EuroToNational ? *read * row.rate : *read / row.rate;
      FUZZ_CHECK(std::fabs(ReadAmount(*result).value() - exact) <=
                 0.0050001 + 1e-14 * std::fabs(exact));
    } else {
      FUZZ_CHECK(!read || std::fabs(*read) > 1e300);
    }
  }
  double value = read.value_or(0.0);
  if (size == sizeof value) std::memcpy(&value, data, sizeof value);
  RoundTrip(value);
  return 0;
}
