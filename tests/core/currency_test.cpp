#include "core/currency.h"

#include <gtest/gtest.h>

#include <charconv>

namespace kestrova::core {
namespace {

// Each row's rate is the double its rate line prints, its currency name stands between single
// blanks as the tooltip shows it; it is found by its key alone and followed by the next in turn.
TEST(CurrencyTable, EveryRowIsConsistentFoundByItsKeyAndFollowedByTheNext) {
  for (const CountryRecord& row : CountryTable()) {
    SCOPED_TRACE(row.caption);
    const std::string_view line = row.rateLine, name = row.currencyName;
    ASSERT_EQ(line.substr(0, 8), "1 EUR = ");
    double printed = 0.0;
    std::from_chars(line.data() + 8, line.data() + line.size() - 4, printed);
    EXPECT_EQ(row.rate, printed);
    EXPECT_EQ(name.find_first_not_of(' '), 1u);
    EXPECT_EQ(name.find_last_not_of(' '), name.size() - 2);
    EXPECT_EQ(FindCountryByKey(row.flagKey), &row);
    const bool last = &row == &CountryTable().back();
    EXPECT_EQ(&NextCountry(row), last ? &CountryTable()[0] : &row + 1);
  }
  for (const std::string_view key : {"", "imgbel", "imgBEL ", "imgBE", "mnuBelgium"}) {
    EXPECT_EQ(FindCountryByKey(key), nullptr) << key;
  }
}

}  // namespace
}  // namespace kestrova::core
