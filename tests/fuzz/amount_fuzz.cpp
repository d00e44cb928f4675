// Whatever lands in an amount box: the reader gives a finite number or says it does not fit,
// blanks, tabs and line feeds change nothing wherever they stand, and a conversion writes an
// amount within half a hundredth of the exact one or leaves its target alone.
#include <cassert>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/convert.h"

namespace {

using namespace kestrova::core;

bool Same(std::optional<double> a, std::optional<double> b) {  // bit for bit: -0 stays -0
  return a && b ? std::memcmp(&*a, &*b, sizeof(double)) == 0 : !a && !b;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::optional<double> read = ReadAmount(text);
  if (read) assert(std::isfinite(*read));
  std::string spread;
  for (std::size_t i = 0; i < text.size(); ++i) spread += std::string(1, " \t\n"[i % 3]) + text[i];
  assert(Same(ReadAmount(spread), read));

  const CountryRecord& row = *CountryAt(1 + static_cast<int>(size % kCountryCount));
  for (const Operation operation : {Operation::EuroToNational, Operation::NationalToEuro}) {
    if (const auto result = Convert(text, "", &row, operation, size % 2 ? "," : ".")) {
      assert(!result->empty() && *result != "-0" && result->find(',') == std::string::npos);
      const double exact =
          operation == Operation::EuroToNational ? *read * row.rate : *read / row.rate;
      assert(std::fabs(ReadAmount(*result).value() - exact) <=
             0.0050001 + 1e-14 * std::fabs(exact));
    } else {
      assert(!read || std::fabs(*read) > 1e300);
    }
  }
  return 0;
}
