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
const std::string kEuro = "\xE2\x82\xAC";

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
    EXPECT_EQ(ReadAmount(text), std::optional(value)) << text.substr(0, 40);
  }
  for (const std::string& text :
       {std::string("1e309"), std::string("-1e99999999999999999999"), "1" + std::string(309, '0'),
        "&H" + std::string(256, 'F'), "&O" + std::string(400, '7')}) {
    EXPECT_EQ(ReadAmount(text), std::nullopt) << text.substr(0, 40);
  }
}

TEST(Round2, TwoDecimalsWithExactTiesToTheEvenHundredth) {
  // clang-format off
  const std::pair<double, double> cases[] = {
      {511.125, 511.12}, {170.375, 170.38}, {-0.125, -0.12}, {2.675, 2.68}, {1.005, 1.0},
      {0.005, 0.0}, {40.3399, 40.34}, {1e20, 1e20}, {-1.95583, -1.96}};
  // clang-format on
  for (const auto& [value, rounded] : cases) EXPECT_EQ(Round2(value), rounded) << value;
  EXPECT_NE(Round2(1e306), std::nullopt);
  for (const double value : {1e307, -1e307, HUGE_VAL, std::nan("")}) EXPECT_FALSE(Round2(value));
}

TEST(FormatAmount, FifteenDigitsPlainBelowOneE15AndExponentFormFromThere) {
  // clang-format off
  const std::tuple<double, const char*, const char*> cases[] = {
      {0.0, ".", "0"}, {-0.0, ".", "0"}, {2.0, ".", "2"}, {3407.5, ".", "3407.5"},
      {-0.39, ".", "-0.39"}, {0.01, ".", "0.01"}, {1000000.0, ".", "1000000"},
      {999999999999999.4, ".", "999999999999999"}, {23904567686084.58, ".", "23904567686084.6"},
      {123456789.12345678, ".", "123456789.123457"}, {1.5e-7, ".", "0.00000015"},
      {195.58, ",", "195,58"}, {1.5, "\xD9\xAB", "1\xD9\xAB\x35"}, {1.5, "", "1.5"},
      {1e15, ".", "1E+15"}, {-1.93627e15, ",", "-1,93627E+15"}, {999999999999999.5, ".", "1E+15"},
      {1000000000000005.0, ".", "1E+15"}, {1000000000000015.0, ".", "1.00000000000002E+15"},
      {1e100, ".", "1E+100"}, {kMax, ".", "1.79769313486232E+308"}, {HUGE_VAL, ".", ""}};
  // clang-format on
  for (const auto& [value, separator, text] : cases) {
    EXPECT_EQ(FormatAmount(value, separator), text) << value;
  }
}

TEST(mReplaceInString, OverwritesOneCharacterPerOccurrenceStrayBytesCountingAsOne) {
  // The shortest and longest characters of each length are whole characters; overlong,
  // surrogate and beyond-U+10FFFF forms are stray bytes.
  const std::string bounds =
      "\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEF\xBF\xBF\xF0\x90\x80\x80\xF3\xBF\xBF\xBF"
      "\xF4\x8F\xBF\xBF";
  // clang-format off
  const std::string cases[][4] = {
      {"1,2,,3,", ",", ".", "1.2..3."}, {"a,b", ",", "", "a,b"}, {"a,b", "", ".", "a,b"},
      {"a,b", ",", ";:", "a;b"}, {"aaaa", "aa", "b", "bbba"}, {"ABab", "a", "x", "ABxb"},
      {kEuro + "," + kEuro, ",", ".", kEuro + "." + kEuro}, {"a" + kEuro + "b", kEuro, "E", "aEb"},
      {"x,y", ",", kEuro + "uro", "x" + kEuro + "y"}, {"caf\xC3\xA9", "\xA9", "!", "caf\xC3\xA9"},
      {kEuro, "\x82\xAC", "x", kEuro}, {"\xE2\x82\xC3\xA9", "\xE2\x82", "Y", "Y\x82\xC3\xA9"},
      {"\xC0\xAC", "\xAC", "!", "\xC0!"}, {"\xED\xA0\x80", "\xA0", "!", "\xED!\x80"},
      {"\xF4\x90\x80\x80", "\x90", "!", "\xF4!\x80\x80"},
      {"\xF0\x80\x80\xAC", "\x80", "!", "\xF0!!\xAC"}, {bounds, "\x80", "!", bounds},
      {bounds, "\xBF", "!", bounds}};
  // clang-format on
  for (const auto& [input, a, b, result] : cases) {
    EXPECT_EQ(mReplaceInString(input, a, b), result) << input << " / " << a;
  }
  std::string input(100000, '7');  // beyond 16-bit positions
  std::string expected = input;
  for (const std::size_t at : {0, 32767, 99999}) {
    input[at] = ',';
    expected[at] = '.';
  }
  EXPECT_EQ(mReplaceInString(input, ",", "."), expected);
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
    ASSERT_EQ(FormatAmount(value, "."), text);
    const std::optional<double> back = ReadAmount(text);
    ASSERT_TRUE(back.has_value()) << line;
    if (mark == "=") {
      EXPECT_EQ(*back, value) << line;
    }
    EXPECT_EQ(FormatAmount(*back, "."), text);
    std::replace(text.begin(), text.end(), '.', ',');
    EXPECT_EQ(FormatAmount(value, ","), text);
  }
  EXPECT_GT(replayed, 300);  // a missing or cut file must not pass as an empty replay
}

TEST(Convert, GivesTheAmountWithAPointOrLeavesTheTargetBeyondADouble) {
  constexpr auto kTo = Operation::EuroToNational, kFrom = Operation::NationalToEuro;
  // No amount: the target stays as it was; no country: only the target's commas go.
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
          {kTo, "imgGER", "1e307", ".", std::nullopt}, {kTo, "none", "5", ".", "4.5"}};
  // clang-format on
  for (const auto& [operation, key, source, separator, target] : cases) {
    EXPECT_EQ(Convert(source, "4,5", FindCountryByKey(key), operation, separator), target)
        << key << " " << source;
  }
}

}  // namespace
}  // namespace kestrova::core
