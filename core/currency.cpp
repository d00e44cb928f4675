#include "core/currency.h"

namespace kestrova::core {

namespace {

// Each rate is written exactly as its rate line prints it, so the compiler's correctly rounded
// literal is the same double that reading the rate line gives.
constexpr std::array<CountryRecord, kCountryCount> kTable{{
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
}};

}  // namespace

const std::array<CountryRecord, kCountryCount>& CountryTable() { return kTable; }

const CountryRecord* CountryAt(int position) {
  if (position < 1 || position > kCountryCount) {
    return nullptr;
  }
  return &kTable[static_cast<std::size_t>(position - 1)];
}

const CountryRecord* FindCountryByKey(std::string_view flagKey) {
  for (const CountryRecord& row : kTable) {
    if (row.flagKey == flagKey) {
      return &row;
    }
  }
  return nullptr;
}

const CountryRecord& NextCountry(const CountryRecord& row) {
  // A position outside 1..12 cannot come from the table, but must not index outside it either.
  const int index = ((row.position % kCountryCount) + kCountryCount) % kCountryCount;
  return kTable[static_cast<std::size_t>(index)];
}

}  // namespace kestrova::core
