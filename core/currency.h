#pragma once

#include <array>
#include <string_view>

namespace kestrova::core {

// One row of the fixed table of the twelve currencies the euro replaced.
struct CountryRecord {
  int position;                   // 1..12, the place in the table order
  std::string_view menuEntry;     // name of the country menu entry, e.g. "mnuBelgium"
  std::string_view caption;       // what the menu entry shows, e.g. "Belgium"
  std::string_view flagKey;       // name of the hidden flag image, e.g. "imgBEL"; the country key
  std::string_view rateLine;      // e.g. "1 EUR = 40.3399 BEF"
  std::string_view currencyName;  // tooltip, one blank on each side, e.g. " Belgian Francs "
  double rate;                    // national units per euro
};

inline constexpr int kCountryCount = 12;

// The twelve rows in the one country order of the program.
const std::array<CountryRecord, kCountryCount>& CountryTable();

// Row by its 1-based position; nullptr outside 1..12.
const CountryRecord* CountryAt(int position);

// Row by its exact, case-sensitive country key; nullptr when no row has it.
const CountryRecord* FindCountryByKey(std::string_view flagKey);

// The row after `row` in the cycle (12 is followed by 1).
const CountryRecord& NextCountry(const CountryRecord& row);

}  // namespace kestrova::core
