#include "core/convert.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>

namespace kestrova::core {
namespace {

constexpr double kMax = std::numeric_limits<double>::max();
const std::string kZeros(2000, '0');

TEST(ReadAmount, ReadsAsFarAsTheTextIsNumericCorrectlyRoundedAndWithoutOverflow) {
  // A tie between two doubles goes to the even one, unless a digit far beyond is not zero.
  // clang-format off
  const std::pair<std::string, double> cases[] = {
      {"", 0}, {".", 0}, {"abc", 0}, {"-", 0}, {"e5", 0}, {"12.5", 12.5}, {".5", 0.5}, {"007", 7},
      {"+7", 7}, {"-12.25", -12.25}, {"40,34", 40}, {"1.2.3", 1.2}, {"2e", 2}, {"2E-x", 2},
      {"1.93627E+15", 1.93627e15}, {"-2.5e+1", -25}, {"5.e1", 50}, {"1 2", 12}, {"1\t2\n3", 123},
      {"- 1 . 5 e 1", -15}, {"1\r2", 1}, {"1\xC2\xA0\x32", 1}, {"&HAF", 175}, {"&Haf", 175},
      {"&H1G", 1}, {"& H 1 0", 16}, {"&O17", 15}, {"&O18", 1}, {"&X1", 0}, {"&h10", 0},
      {"-&H10", 0}, {"&H" + std::string(255, 'F'), std::ldexp(1.0, 1020)}, {"0.1", 0.1},
      {"922332769589913.1", 922332769589913.1}, {"-1e-30", -1e-30},
      {"4.9e-324", std::numeric_limits<double>::denorm_min()}, {"1.7976931348623157e308", kMax},
      {"9007199254740993", 9007199254740992.0}, {"9007199254740993." + kZeros, 9007199254740992.0},
      {"9007199254740993." + kZeros + "1", 9007199254740994.0},
      {"9007199254740993" + kZeros + "1e-2001", 9007199254740994.0},
      {"0." + kZeros + "5e2005", 5e4}, {"1" + std::string(100000, '0') + "e-100000", 1},
      {std::string(100000, '0') + "7", 7}, {"1" + std::string(308, '0'), 1e308},
      {"1e-99999999999999999999999999", 0}, {"1e-400", 0}, {"0e999999999999", 0}};
  // clang-format on
  for (const auto& [text, value] : cases) {
    EXPECT_EQ(ReadAmount(text), std::optional(value))
        << text.substr(0, 40) << " of " << text.size();
  }
  for (const std::string& text :
       {std::string("1e309"), std::string("-1e99999999999999999999"), "1" + std::string(309, '0'),
        "&H" + std::string(256, 'F'), "&O" + std::string(400, '7')}) {
    EXPECT_EQ(ReadAmount(text), std::nullopt) << text.substr(0, 40) << " of " << text.size();
  }
}

TEST(Round2, TwoDecimalsWithExactTiesToTheEvenHundredth) {
  const std::pair<double, double> cases[] = {
      {511.125, 511.12}, {170.375, 170.38}, {-0.125, -0.12}, {2.675, 2.68},    {1.005, 1.0},
      {0.005, 0.0},      {40.3399, 40.34},  {1e20, 1e20},    {-1.95583, -1.96}};
  for (const auto& [value, rounded] : cases) EXPECT_EQ(Round2(value), rounded) << value;
  EXPECT_NE(Round2(1e306), std::nullopt);
  for (const double value : {1e307, -1e307, HUGE_VAL, std::nan("")}) {
    EXPECT_EQ(Round2(value), std::nullopt) << value;
  }
}

// Beside the corpus below: what cannot read back, the largest double and infinity.
TEST(FormatAmount, TheLargestDoubleAndInfinity) {
  EXPECT_EQ(FormatAmount(kMax, "."), "1.79769313486232E+308");
  EXPECT_EQ(FormatAmount(HUGE_VAL, "."), "");
}

// Each value, the text exact decimal arithmetic (outside the program) writes it as, and "=" when
// that text reads back to the very same double.
TEST(RoundTrip, CorpusValuesAreWrittenAsTheirTextInEitherLocaleAndReadBack) {
  std::ifstream file(KESTROVA_ROUNDTRIP_CORPUS);
  int replayed = 0;
  for (std::string line; std::getline(file, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    double value = 0.0;
    std::string text, mark;
    ASSERT_TRUE(fields >> value >> text >> mark) << line;
    ++replayed;
    ASSERT_EQ(FormatAmount(value, "."), text) << line;
    const std::optional<double> back = ReadAmount(text);
    ASSERT_TRUE(back.has_value()) << line;
    if (mark == "=") {
      EXPECT_EQ(*back, value) << line;
    }
    EXPECT_EQ(FormatAmount(*back, "."), text) << line;
    std::replace(text.begin(), text.end(), '.', ',');
    EXPECT_EQ(FormatAmount(value, ","), text) << line;
  }
  EXPECT_GT(replayed, 300);  // a missing or cut file must not pass as an empty replay
}

// Whole characters only (here "x" for each): a pattern inside another character, or splitting
// one, stays as it is.
TEST(ReplaceInString, OverwritesWholeCharactersOnly) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"a\u20ACb\u20AC", "\u20AC", "axbx"},
      {"\xED\x9F\xBF\x80", "\x80", "\xED\x9F\xBFx"},  // after a character led by 0xED
      {"\u20AC", "\xE2\x82", "\u20AC"}};
  for (const auto& [input, pattern, result] : cases) {
    EXPECT_EQ(mReplaceInString(input, pattern, "x"), result) << input << " for " << pattern;
  }
}

TEST(Convert, GivesTheAmountWithAPointOrLeavesTheTargetBeyondADouble) {
  constexpr auto kTo = Operation::EuroToNational, kFrom = Operation::NationalToEuro;
  // No amount: the target stays as it was; no country: only the target's commas go. A result
  // in the comma's locale is written with a point, so that the box reads it back whole.
  // clang-format off
  const std::tuple<Operation, const char*, const char*, const char*, std::optional<std::string>>
      cases[] = {
          {kTo, "imgBEL", "1", ".", "40.34"}, {kFrom, "imgBEL", "40.34", ".", "1"},
          {kFrom, "imgBEL", "40,34", ",", "0.99"}, {kTo, "imgGRI", "1.5", ".", "511.12"},
          {kTo, "imgGRI", "0.5", ".", "170.38"}, {kTo, "imgGRI", "10", ".", "3407.5"},
          {kTo, "imgGER", "100", ",", "195.58"}, {kTo, "imgGER", "-1", ".", "-1.96"},
          {kTo, "imgGER", "1.2.3", ".", "2.35"}, {kFrom, "imgGER", "24.14", ".", "12.34"},
          {kTo, "imgIER", "1", ".", "0.79"}, {kFrom, "imgIER", "1", ".", "1.27"},
          {kFrom, "imgITA", "1", ".", "0"}, {kTo, "imgITA", "100000000000", ".", "193627000000000"},
          {kTo, "imgITA", "1000000000000", ",", "1.93627E+15"},
          {kTo, "imgITA", "12345678901.23", ".", "23904567686084.6"}, {kTo, "imgESP", "", ".", "0"},
          {kTo, "imgESP", "-0.00001", ".", "0"}, {kTo, "imgLUX", "1", ".", "40.34"},
          {kTo, "imgGER", "100", "\xD9\xAB", "195.58"}, {kTo, "imgBEL", "1e309", ".", std::nullopt},
          {kTo, "imgBEL", "1e308", ".", std::nullopt},
          {kFrom, "imgIER", "1.7e308", ".", std::nullopt},
          {kTo, "imgGER", "1e307", ".", std::nullopt}, {kTo, "none", "5", ".", "4.5.6"}};
  // clang-format on
  for (const auto& [operation, key, source, separator, target] : cases) {
    EXPECT_EQ(Convert(source, "4,5,6", FindCountryByKey(key), operation, separator), target)
        << key << (operation == kTo ? " from euro " : " to euro ") << source << " with "
        << separator;
  }
}

}  // namespace
}  // namespace kestrova::core
