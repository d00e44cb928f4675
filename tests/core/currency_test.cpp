#include "core/currency.h"

#include <gtest/gtest.h>

#include <charconv>
#include <set>
#include <string>

namespace kestrova::core {
namespace {

struct ExpectedRow {
  const char* menuEntry;
  const char* caption;
  const char* flagKey;
  const char* rateLine;
  const char* currencyName;
};

constexpr ExpectedRow kExpected[kCountryCount] = {
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

TEST(CurrencyTable, RowsAreTheTwelveInTableOrderWithEveryTextExact) {
  const auto& table = CountryTable();
  for (int i = 0; i < kCountryCount; ++i) {
    SCOPED_TRACE(kExpected[i].caption);
    const CountryRecord& row = table[static_cast<std::size_t>(i)];
    EXPECT_EQ(row.position, i + 1);
    EXPECT_EQ(row.menuEntry, kExpected[i].menuEntry);
    EXPECT_EQ(row.caption, kExpected[i].caption);
    EXPECT_EQ(row.flagKey, kExpected[i].flagKey);
    EXPECT_EQ(row.rateLine, kExpected[i].rateLine);
    EXPECT_EQ(row.currencyName, kExpected[i].currencyName);
  }
}

TEST(CurrencyTable, EachRateIsExactlyWhatItsRateLineReadsAs) {
  for (const CountryRecord& row : CountryTable()) {
    SCOPED_TRACE(std::string(row.rateLine));
    const std::string_view prefix = "1 EUR = ";
    ASSERT_EQ(row.rateLine.substr(0, prefix.size()), prefix);
    const std::string_view rest = row.rateLine.substr(prefix.size());
    const std::size_t blank = rest.find(' ');
    ASSERT_NE(blank, std::string_view::npos);
    const std::string_view code = rest.substr(blank + 1);
    ASSERT_EQ(code.size(), 3u);
    for (char c : code) EXPECT_TRUE(c >= 'A' && c <= 'Z');

    double printed = 0.0;
    const auto [ptr, ec] = std::from_chars(rest.data(), rest.data() + blank, printed);
    ASSERT_EQ(ec, std::errc{});
    ASSERT_EQ(ptr, rest.data() + blank);
    EXPECT_EQ(row.rate, printed);  // bit for bit, not nearly
    EXPECT_GT(row.rate, 0.0);
  }
}

TEST(CurrencyTable, CurrencyNamesCarryExactlyOneBlankOnEachSide) {
  for (const CountryRecord& row : CountryTable()) {
    SCOPED_TRACE(std::string(row.caption));
    ASSERT_GE(row.currencyName.size(), 3u);
    EXPECT_EQ(row.currencyName.front(), ' ');
    EXPECT_EQ(row.currencyName.back(), ' ');
    EXPECT_NE(row.currencyName[1], ' ');
    EXPECT_NE(row.currencyName[row.currencyName.size() - 2], ' ');
  }
}

TEST(CurrencyTable, GreeceReadsItsTrailingZeroAndLuxembourgSharesOnlyBelgiumsRate) {
  const CountryRecord* greece = FindCountryByKey("imgGRI");
  ASSERT_NE(greece, nullptr);
  EXPECT_EQ(greece->rate, 340.75);

  const CountryRecord* belgium = FindCountryByKey("imgBEL");
  const CountryRecord* luxembourg = FindCountryByKey("imgLUX");
  ASSERT_NE(belgium, nullptr);
  ASSERT_NE(luxembourg, nullptr);
  EXPECT_EQ(belgium->rate, luxembourg->rate);
  EXPECT_NE(belgium->menuEntry, luxembourg->menuEntry);
  EXPECT_NE(belgium->flagKey, luxembourg->flagKey);
  EXPECT_NE(belgium->rateLine, luxembourg->rateLine);
  EXPECT_NE(belgium->currencyName, luxembourg->currencyName);

  std::set<double> rates;
  for (const CountryRecord& row : CountryTable()) rates.insert(row.rate);
  EXPECT_EQ(rates.size(), 11u);  // Belgium and Luxembourg are the one shared rate
}

TEST(CurrencyTable, LookupByPositionAndKey) {
  for (const CountryRecord& row : CountryTable()) {
    EXPECT_EQ(CountryAt(row.position), &row);
    EXPECT_EQ(FindCountryByKey(row.flagKey), &row);
  }
  EXPECT_EQ(CountryAt(0), nullptr);
  EXPECT_EQ(CountryAt(13), nullptr);
  EXPECT_EQ(CountryAt(-1), nullptr);

  // Keys are exact, case-sensitive texts.
  EXPECT_EQ(FindCountryByKey(""), nullptr);
  EXPECT_EQ(FindCountryByKey("imgbel"), nullptr);
  EXPECT_EQ(FindCountryByKey("IMGBEL"), nullptr);
  EXPECT_EQ(FindCountryByKey(" imgBEL"), nullptr);
  EXPECT_EQ(FindCountryByKey("imgBEL "), nullptr);
  EXPECT_EQ(FindCountryByKey("imgBE"), nullptr);
  EXPECT_EQ(FindCountryByKey("mnuBelgium"), nullptr);
  EXPECT_EQ(FindCountryByKey("Belgium"), nullptr);
  EXPECT_EQ(FindCountryByKey(std::string_view("imgBEL\0", 7)), nullptr);
}

TEST(CurrencyTable, NextCountryCyclesThroughAllTwelveAndWrapsToTheFirst) {
  const auto& table = CountryTable();
  const CountryRecord* row = &table.front();
  std::set<const CountryRecord*> seen;
  for (int step = 1; step <= kCountryCount; ++step) {
    seen.insert(row);
    const CountryRecord& next = NextCountry(*row);
    EXPECT_EQ(next.position, row->position % kCountryCount + 1);
    row = &next;
  }
  EXPECT_EQ(seen.size(), static_cast<std::size_t>(kCountryCount));
  EXPECT_EQ(row, &table.front());
  EXPECT_EQ(&NextCountry(table.back()), &table.front());
  EXPECT_EQ(NextCountry(*FindCountryByKey("imgITA")).flagKey, "imgLUX");
}

}  // namespace
}  // namespace kestrova::core
