#pragma once

#include <iterator>
#include <span>
#include <string_view>

namespace kestrova::core {

// One row of the fixed table of the currencies the euro replaced.
struct CountryRecord {
  int position;                   // 1, 2, …: the place in the table order
  std::string_view menuEntry;     // name of the country menu entry, e.g. "mnuBelgium"
  std::string_view caption;       // what the menu entry shows, e.g. "Belgium"
  std::string_view flagKey;       // name of the hidden flag image, e.g. "imgBEL"; the country key
  std::string_view rateLine;      // e.g. "1 EUR = 40.3399 BEF"
  std::string_view currencyName;  // tooltip, one blank on each side, e.g. " Belgian Francs "
  double rate;                    // national units per euro
};

// The one country order of the program. A country is one row here plus its flag pictures,
// assets/flags/<flagKey>.gif and <flagKey>@2x.gif. Each rate is written exactly as its rate line
// prints it, so the compiler's correctly rounded literal is the same double that reading the
// rate line gives.
inline constexpr CountryRecord kCountries[] = {
    {1, "mnuBelgium", "Belgium", "imgBEL", "1 EUR = 40.3399 BEF", " Belgian Francs ", 40.3399},
    {2, "mnuGermany", "Germany", "imgGER", "1 EUR = 1.95583 DEM", " German Marks ", 1.95583},
    {3, "mnuFinland", "Finland", "imgFIN", "1 EUR = 5.94573 FIM", " Finnish Markka ", 5.94573},
    {4, "mnuFrance", "France", "imgFRA", "1 EUR = 6.55957 FRF", " French Francs ", 6.55957},
    {5, "mnuGreece", "Greece", "imgGRI", "1 EUR = 340.750 GRD", " Greek Drachmas ", 340.750},
    {6, "mnuIreland", "Ireland", "imgIER", "1 EUR = 0.787564 IEP", " Irish Pound ", 0.787564},
    {7, "mnuItaly", "Italy", "imgITA", "1 EUR = 1936.27 ITL", " Italian Lira ", 1936.27},
    {8, "mnuLuxembourg", "Luxembourg", "imgLUX", "1 EUR = 40.3399 LUF", " Luxembourg Francs ",
     40.3399},
    {9, "mnuHolland", "Holland", "imgNED", "1 EUR = 2.20371 NLG", " Dutch Guilders ", 2.20371},
    {10, "mnuAustria", "Austria", "imgATS", "1 EUR = 13.7603 ATS", " Austrian Schillings ",
     13.7603},
    {11, "mnuPortugal", "Portugal", "imgPOR", "1 EUR = 200.482 PTE", " Portugese Escudo ", 200.482},
    {12, "mnuSpain", "Spain", "imgESP", "1 EUR = 166.386 ESP", " Spanish Peseta ", 166.386},
};

inline constexpr int kCountryCount = static_cast<int>(std::size(kCountries));

// The rows in table order.
std::span<const CountryRecord, kCountryCount> CountryTable();

// Row by its 1-based position; nullptr outside 1..kCountryCount.
const CountryRecord* CountryAt(int position);

// Row by its exact, case-sensitive country key; nullptr when no row has it.
const CountryRecord* FindCountryByKey(std::string_view flagKey);

// The row after `row` in the cycle (the last is followed by the first).
const CountryRecord& NextCountry(const CountryRecord& row);

}  // namespace kestrova::core
