#include "core/currency.h"

#include <gtest/gtest.h>

#include <charconv>
#include <set>

namespace kestrova::core {
namespace {

// What every row must satisfy, whatever its country: the rate is the very double its rate line
// prints, and the texts have the forms the window and the saved settings rely on.
TEST(CurrencyTable, EveryRowIsConsistentAndFoundByPositionKeyAndCycle) {
  std::set<std::string_view> keys;
  for (const CountryRecord& row : CountryTable()) {
    SCOPED_TRACE(row.caption);
    const std::string_view line = row.rateLine;
    ASSERT_EQ(line.substr(0, 8), "1 EUR = ");
    ASSERT_EQ(line[line.size() - 4], ' ');
    double printed = 0.0;
    std::from_chars(line.data() + 8, line.data() + line.size() - 4, printed);
    EXPECT_EQ(row.rate, printed);
    EXPECT_TRUE(row.currencyName.front() == ' ' && row.currencyName[1] != ' ' &&
                row.currencyName.back() == ' ' && row.currencyName.rbegin()[1] != ' ');
    EXPECT_EQ(row.menuEntry, "mnu" + std::string(row.caption));
    EXPECT_TRUE(keys.insert(row.flagKey).second);
    EXPECT_EQ(CountryAt(row.position), &row);
    EXPECT_EQ(FindCountryByKey(row.flagKey), &row);
    EXPECT_EQ(&NextCountry(row), CountryAt(row.position % kCountryCount + 1));
  }
  EXPECT_EQ(CountryAt(1)->flagKey, "imgBEL");  // the first run's country
  for (const int position : {0, kCountryCount + 1, -1}) EXPECT_EQ(CountryAt(position), nullptr);
  for (const std::string_view key : {"", "imgbel", "imgBEL ", "imgBE", "mnuBelgium"}) {
    EXPECT_EQ(FindCountryByKey(key), nullptr) << key;
  }
}

}  // namespace
}  // namespace kestrova::core
