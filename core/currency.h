#pragma once

#include <iterator>
#include <span>
#include <string_view>

// Marks a text a person reads, for the translation tools, which take `context` as its group; the
// text itself stays as written. The windows show it in the user's language.
#define KESTROVA_TRANSLATABLE(context, text) text

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
    {1, "mnuBelgium", KESTROVA_TRANSLATABLE("Country", "Belgium"), "imgBEL", "1 EUR = 40.3399 BEF",
     KESTROVA_TRANSLATABLE("Currency", " Belgian Francs "), 40.3399},
    {2, "mnuGermany", KESTROVA_TRANSLATABLE("Country", "Germany"), "imgGER", "1 EUR = 1.95583 DEM",
     KESTROVA_TRANSLATABLE("Currency", " German Marks "), 1.95583},
    {3, "mnuFinland", KESTROVA_TRANSLATABLE("Country", "Finland"), "imgFIN", "1 EUR = 5.94573 FIM",
     KESTROVA_TRANSLATABLE("Currency", " Finnish Markka "), 5.94573},
    {4, "mnuFrance", KESTROVA_TRANSLATABLE("Country", "France"), "imgFRA", "1 EUR = 6.55957 FRF",
     KESTROVA_TRANSLATABLE("Currency", " French Francs "), 6.55957},
    {5, "mnuGreece", KESTROVA_TRANSLATABLE("Country", "Greece"), "imgGRI", "1 EUR = 340.750 GRD",
     KESTROVA_TRANSLATABLE("Currency", " Greek Drachmas "), 340.750},
    {6, "mnuIreland", KESTROVA_TRANSLATABLE("Country", "Ireland"), "imgIER", "1 EUR = 0.787564 IEP",
     KESTROVA_TRANSLATABLE("Currency", " Irish Pound "), 0.787564},
    {7, "mnuItaly", KESTROVA_TRANSLATABLE("Country", "Italy"), "imgITA", "1 EUR = 1936.27 ITL",
     KESTROVA_TRANSLATABLE("Currency", " Italian Lira "), 1936.27},
    {8, "mnuLuxembourg", KESTROVA_TRANSLATABLE("Country", "Luxembourg"), "imgLUX",
     "1 EUR = 40.3399 LUF", KESTROVA_TRANSLATABLE("Currency", " Luxembourg Francs "), 40.3399},
    {9, "mnuHolland", KESTROVA_TRANSLATABLE("Country", "Holland"), "imgNED", "1 EUR = 2.20371 NLG",
     KESTROVA_TRANSLATABLE("Currency", " Dutch Guilders "), 2.20371},
    {10, "mnuAustria", KESTROVA_TRANSLATABLE("Country", "Austria"), "imgATS", "1 EUR = 13.7603 ATS",
     KESTROVA_TRANSLATABLE("Currency", " Austrian Schillings "), 13.7603},
    {11, "mnuPortugal", KESTROVA_TRANSLATABLE("Country", "Portugal"), "imgPOR",
     "1 EUR = 200.482 PTE", KESTROVA_TRANSLATABLE("Currency", " Portugese Escudo "), 200.482},
    {12, "mnuSpain", KESTROVA_TRANSLATABLE("Country", "Spain"), "imgESP", "1 EUR = 166.386 ESP",
     KESTROVA_TRANSLATABLE("Currency", " Spanish Peseta "), 166.386},
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
