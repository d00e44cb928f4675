#include "core/currency.h"

#include <cstddef>

namespace kestrova::core {

namespace {

constexpr bool PositionsFollowTheTableOrder() {
  for (int i = 0; i < kCountryCount; ++i) {
    if (kCountries[i].position != i + 1) return false;
  }
  return true;
}
static_assert(PositionsFollowTheTableOrder(), "a row's position is its place in the table");

}  // namespace

std::span<const CountryRecord, kCountryCount> CountryTable() { return kCountries; }

const CountryRecord* CountryAt(int position) {
  if (position < 1 || position > kCountryCount) {
    return nullptr;
  }
  return &kCountries[static_cast<std::size_t>(position - 1)];
}

const CountryRecord* FindCountryByKey(std::string_view flagKey) {
  for (const CountryRecord& row : kCountries) {
    if (row.flagKey == flagKey) {
      return &row;
    }
  }
  return nullptr;
}

const CountryRecord& NextCountry(const CountryRecord& row) {
  // A position outside the table cannot come from it, but must not index outside it either.
  const int index = ((row.position % kCountryCount) + kCountryCount) % kCountryCount;
  return kCountries[static_cast<std::size_t>(index)];
}

}  // namespace kestrova::core
