#include "core/currency.h"

#include <gtest/gtest.h>

#include <charconv>
#include <string>

namespace kestrova::core {
namespace {

TEST(CurrencyTable, TwelveRowsInOrderWithExactTextsAndTheRateTheirLinePrints) {
  const std::string_view expected[kCountryCount][5] = {
      {"mnuBelgium", "Belgium", "imgBEL", "1 EUR = 40.3399 BEF", " Belgian Francs "},
      {"mnuGermany", "Germany", "imgGER", "1 EUR = 1.95583 DEM", " German Marks "},
      {"mnuFinland", "Finland", "imgFIN", "1 EUR = 5.94573 FIM", " Finnish Markka "},
      {"mnuFrance", "France", "imgFRA", "1 EUR = 6.55957 FRF", " French Francs "},
      {"mnuGreece", "Greece", "imgGRI", "1 EUR = 340.750 GRD", " Greek Drachmas "},
      {"mnuIreland", "Ireland", "imgIER", "1 EUR = 0.787564 IEP", " Irish Pound "},
      {"mnuItaly", "Italy", "imgITA", "1 EUR = 1936.27 ITL", " Italian Lira "},
      {"mnuLuxembourg", "Luxembourg", "imgLUX", "1 EUR = 40.3399 LUF", " Luxembourg Francs "},
      {"mnuHolland", "Holland", "imgNED", "1 EUR = 2.20371 NLG", " Dutch Guilders "},
      {"mnuAustria", "Austria", "imgATS", "1 EUR = 13.7603 ATS", " Austrian Schillings "},
      {"mnuPortugal", "Portugal", "imgPOR", "1 EUR = 200.482 PTE", " Portugese Escudo "},
      {"mnuSpain", "Spain", "imgESP", "1 EUR = 166.386 ESP", " Spanish Peseta "},
  };
  for (int i = 0; i < kCountryCount; ++i) {
    const CountryRecord& row = CountryTable()[static_cast<std::size_t>(i)];
    SCOPED_TRACE(expected[i][1]);
    EXPECT_EQ(row.position, i + 1);
    EXPECT_EQ(row.menuEntry, expected[i][0]);
    EXPECT_EQ(row.caption, expected[i][1]);
    EXPECT_EQ(row.flagKey, expected[i][2]);
    EXPECT_EQ(row.rateLine, expected[i][3]);
    EXPECT_EQ(row.currencyName, expected[i][4]);
    // Bit for bit the double that reading the printed rate gives ("1 EUR = " ... " XYZ").
    const std::string_view printed = expected[i][3].substr(8, expected[i][3].size() - 12);
    double rate = 0.0;
    std::from_chars(printed.data(), printed.data() + printed.size(), rate);
    EXPECT_EQ(row.rate, rate);
  }
}

TEST(CurrencyTable, LookupByPositionAndExactKeyAndTheCycle) {
  for (const CountryRecord& row : CountryTable()) {
    EXPECT_EQ(CountryAt(row.position), &row);
    EXPECT_EQ(FindCountryByKey(row.flagKey), &row);
    EXPECT_EQ(&NextCountry(row), CountryAt(row.position == kCountryCount ? 1 : row.position + 1));
  }
  for (const int position : {0, 13, -1}) EXPECT_EQ(CountryAt(position), nullptr) << position;
  for (const std::string_view key : {"", "imgbel", "imgBEL ", "imgBE", "mnuBelgium"}) {
    EXPECT_EQ(FindCountryByKey(key), nullptr) << key;
  }
}

}  // namespace
}  // namespace kestrova::core
