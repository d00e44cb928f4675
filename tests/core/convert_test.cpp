#include "core/convert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "core/currency.h"

namespace kestrova::core {
namespace {

const CountryRecord& Row(std::string_view key) {
  const CountryRecord* row = FindCountryByKey(key);
  if (row == nullptr) throw std::runtime_error("no row " + std::string(key));
  return *row;
}

std::optional<std::string> EuroTo(std::string_view key, std::string_view euro,
                                  std::string_view separator = ".") {
  return Convert(euro, "unchanged", &Row(key), Operation::EuroToNational, separator);
}

std::optional<std::string> ToEuro(std::string_view key, std::string_view national,
                                  std::string_view separator = ".") {
  return Convert(national, "unchanged", &Row(key), Operation::NationalToEuro, separator);
}

// ---------------------------------------------------------------------------- ReadAmount

struct ReadCase {
  std::string text;
  double value;
};

TEST(ReadAmount, ReadsAsFarAsTheTextIsNumeric) {
  const ReadCase cases[] = {
      {"", 0.0}, {".", 0.0}, {"abc", 0.0}, {"-", 0.0}, {"+", 0.0}, {"-.", 0.0},
      {"e5", 0.0}, {",5", 0.0}, {"x1", 0.0}, {"$1", 0.0},
      {"12.5", 12.5}, {"0.39", 0.39}, {".5", 0.5}, {"5.", 5.0}, {"007", 7.0},
      {"+7", 7.0}, {"-1", -1.0}, {"-12.25", -12.25},
      {"40,34", 40.0}, {"1.2.3", 1.2}, {"12abc", 12.0}, {"3-4", 3.0}, {"1+1", 1.0},
      {"2e", 2.0}, {"2e+", 2.0}, {"2E-x", 2.0}, {"2ex", 2.0},
      {"1e3", 1000.0}, {"1E-2", 0.01}, {"1.93627E+15", 1.93627e15}, {"-2.5e+1", -25.0},
      {"1e+05", 1e5}, {".5e1", 5.0}, {"5.e1", 50.0}, {"1e2e3", 100.0}, {"1e2.5", 100.0},
  };
  for (const ReadCase& c : cases) {
    const std::optional<double> value = ReadAmount(c.text);
    ASSERT_TRUE(value.has_value()) << '"' << c.text << '"';
    EXPECT_EQ(*value, c.value) << '"' << c.text << '"';
  }
}

TEST(ReadAmount, BlanksTabsAndLineFeedsAreSkippedAnywhereButNothingElse) {
  const ReadCase cases[] = {
      {"1 2", 12.0}, {"  12", 12.0}, {"12  ", 12.0}, {"1\t2\n3", 123.0},
      {"- 1 . 5", -1.5}, {"1 e 3", 1000.0}, {"1e - 2", 0.01}, {" \t\n", 0.0},
      {"\n\n-\n4\n", -4.0},
      {"1\r2", 1.0},            // a carriage return is not skipped
      {"\r12", 0.0},
      {"1\v2", 1.0}, {"1\f2", 1.0},
      {"1\xC2\xA0" "2", 1.0},   // nor a no-break space
      {std::string("1\0" "2", 3), 1.0},
  };
  for (const ReadCase& c : cases) {
    const std::optional<double> value = ReadAmount(c.text);
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(*value, c.value) << "text of " << c.text.size() << " bytes";
  }
}

TEST(ReadAmount, HexadecimalAndOctalWholeNumbers) {
  const ReadCase cases[] = {
      {"&HFF", 255.0}, {"&Hff", 255.0}, {"&H1a", 26.0}, {"&H", 0.0}, {"&H0", 0.0},
      {"&H1G", 1.0}, {"&H10.5", 16.0}, {"& H 1 0", 16.0}, {"  &HFF", 255.0},
      {"&HFFFFFFFF", 4294967295.0},
      {"&HFFFFFFFFFFFFFFFF", 18446744073709551615.0},
      {"&O17", 15.0}, {"&O18", 1.0}, {"&O", 0.0}, {"&O777", 511.0},
      {"&X1", 0.0}, {"&", 0.0}, {"&1", 0.0}, {"-&H10", 0.0}, {"+&H10", 0.0},
      {"&h10", 0.0}, {"&o10", 0.0},
  };
  for (const ReadCase& c : cases) {
    const std::optional<double> value = ReadAmount(c.text);
    ASSERT_TRUE(value.has_value()) << c.text;
    EXPECT_EQ(*value, c.value) << c.text;
  }
  // 255 hexadecimal digits still fit; one more and the whole number overflows.
  EXPECT_EQ(ReadAmount("&H" + std::string(255, 'F')), std::ldexp(1.0, 1020));
  EXPECT_FALSE(ReadAmount("&H" + std::string(256, 'F')).has_value());
  EXPECT_FALSE(ReadAmount("&H" + std::string(100000, 'F')).has_value());
  EXPECT_FALSE(ReadAmount("&O" + std::string(400, '7')).has_value());
  EXPECT_EQ(ReadAmount("&H" + std::string(5000, '0') + "1"), 1.0);
}

TEST(ReadAmount, DecimalsAreCorrectlyRounded) {
  EXPECT_EQ(ReadAmount("0.1"), 0.1);
  EXPECT_EQ(ReadAmount("40.3399"), 40.3399);
  EXPECT_EQ(ReadAmount("2.2250738585072011e-308"), 2.2250738585072011e-308);
  EXPECT_EQ(ReadAmount("4.9e-324"), std::numeric_limits<double>::denorm_min());
  EXPECT_EQ(ReadAmount("1.7976931348623157e308"), std::numeric_limits<double>::max());

  // 2^53 + 1 lies halfway between two doubles: the tie goes to the even one...
  EXPECT_EQ(ReadAmount("9007199254740993"), 9007199254740992.0);
  // ...but a non-zero digit far beyond any kept precision pushes it up.
  const std::string zeros(2000, '0');
  EXPECT_EQ(ReadAmount("9007199254740993." + zeros + "1"), 9007199254740994.0);
  EXPECT_EQ(ReadAmount("9007199254740993." + zeros), 9007199254740992.0);
  EXPECT_EQ(ReadAmount("1." + zeros + "1"), 1.0);
  // The same with the digits spread over the integer part.
  EXPECT_EQ(ReadAmount("9007199254740993" + zeros.substr(0, 1000) + "e-1000"),
            9007199254740992.0);
  EXPECT_EQ(ReadAmount("9007199254740993" + zeros.substr(0, 1000) + "1e-1001"),
            9007199254740994.0);
  EXPECT_EQ(ReadAmount("0." + zeros + "5e2005"), 5e4);
}

TEST(ReadAmount, HugeAndTinyValuesNeitherHangNorOverflow) {
  EXPECT_EQ(ReadAmount("1e308"), 1e308);
  EXPECT_FALSE(ReadAmount("1e309").has_value());
  EXPECT_FALSE(ReadAmount("-1e309").has_value());
  EXPECT_FALSE(ReadAmount("1.7976931348623159e308").has_value());
  EXPECT_FALSE(ReadAmount("1e99999999999999999999999999").has_value());
  EXPECT_EQ(ReadAmount("1e-99999999999999999999999999"), 0.0);
  EXPECT_EQ(ReadAmount("1e-400"), 0.0);
  EXPECT_EQ(ReadAmount("0e99999999999999"), 0.0);
  EXPECT_EQ(ReadAmount("1" + std::string(308, '0')), 1e308);
  EXPECT_FALSE(ReadAmount("1" + std::string(309, '0')).has_value());
  EXPECT_FALSE(ReadAmount(std::string(100000, '9')).has_value());
  EXPECT_EQ(ReadAmount(std::string(100000, '0') + "7"), 7.0);
  EXPECT_EQ(ReadAmount("0." + std::string(100000, '0') + "5"), 0.0);
  // Exponent and digits cancel out: the value is 1.
  EXPECT_EQ(ReadAmount("1" + std::string(100000, '0') + "e-100000"), 1.0);
  EXPECT_EQ(ReadAmount("0." + std::string(99999, '0') + "1e100000"), 1.0);
  std::string digitsAndBlanks;
  for (int i = 0; i < 50000; ++i) digitsAndBlanks += "0 ";
  EXPECT_EQ(ReadAmount(digitsAndBlanks + "3"), 3.0);
}

// ---------------------------------------------------------------------------- Round2

struct RoundCase {
  double value;
  double rounded;
};

TEST(Round2, TwoDecimalsWithExactTiesGoingToTheEvenHundredth) {
  const RoundCase cases[] = {
      {511.125, 511.12},   // Greece, euro 1.5: an exact tie, down to even
      {170.375, 170.38},   // Greece, euro 0.5: an exact tie, up to even
      {0.125, 0.12}, {0.375, 0.38}, {-0.125, -0.12}, {-170.375, -170.38},
      {2.675, 2.68},       // below the tie as a double, but x100 lands exactly on it
      {0.285, 0.28},       // below the tie, and x100 stays below
      {1.005, 1.0},        // likewise
      {40.3399, 40.34}, {195.583, 195.58}, {0.787564, 0.79}, {1.95583, 1.96},
      {-1.95583, -1.96}, {0.004, 0.0}, {0.0049999, 0.0},
      {0.005, 0.0},        // a hair above 0.005, but exactly 0.5 once multiplied: to even
      {0.015, 0.02},
      {3407.5, 3407.5}, {2.0, 2.0}, {0.0, 0.0},
      {23904567686084.584, 23904567686084.58},
      {1e20, 1e20},
  };
  for (const RoundCase& c : cases) {
    const std::optional<double> rounded = Round2(c.value);
    ASSERT_TRUE(rounded.has_value()) << c.value;
    EXPECT_EQ(*rounded, c.rounded) << c.value;
  }
  const std::optional<double> negativeZero = Round2(-0.001);
  ASSERT_TRUE(negativeZero.has_value());
  EXPECT_EQ(*negativeZero, 0.0);
}

TEST(Round2, OverflowOfTheHundredfoldValueIsNoResult) {
  EXPECT_TRUE(Round2(1e306).has_value());
  EXPECT_FALSE(Round2(1e307).has_value());
  EXPECT_FALSE(Round2(-1e307).has_value());
  EXPECT_FALSE(Round2(std::numeric_limits<double>::max()).has_value());
  EXPECT_FALSE(Round2(std::numeric_limits<double>::infinity()).has_value());
  EXPECT_FALSE(Round2(std::numeric_limits<double>::quiet_NaN()).has_value());
}

// ---------------------------------------------------------------------------- FormatAmount

struct FormatCase {
  double value;
  std::string separator;
  std::string text;
};

TEST(FormatAmount, PlainBelowOneE15WithNoTrailingZerosAndNoGrouping) {
  const FormatCase cases[] = {
      {0.0, ".", "0"}, {-0.0, ".", "0"}, {2.0, ".", "2"}, {-2.0, ".", "-2"},
      {3407.5, ".", "3407.5"}, {0.39, ".", "0.39"}, {-0.39, ".", "-0.39"},
      {0.01, ".", "0.01"}, {-1.96, ".", "-1.96"}, {40.34, ".", "40.34"},
      {100.0, ".", "100"}, {1000000.0, ".", "1000000"}, {1234567.5, ".", "1234567.5"},
      {193627000000000.0, ".", "193627000000000"},
      {999999999999999.0, ".", "999999999999999"},
      {999999999999999.4, ".", "999999999999999"},
      {23904567686084.58, ".", "23904567686084.6"},   // 15 significant digits
      {0.1 + 0.2, ".", "0.3"},
      {123456789.12345678, ".", "123456789.123457"},
      {0.001, ".", "0.001"}, {1.5e-7, ".", "0.00000015"},
      {195.58, ",", "195,58"}, {-0.5, ",", "-0,5"}, {12.0, ",", "12"},
      {1.5, "\xD9\xAB", "1\xD9\xAB" "5"},              // a two-byte separator
      {1.25, " dec ", "1 dec 25"},
      {1.5, "", "1.5"},                               // no separator at all makes no sense
  };
  for (const FormatCase& c : cases) {
    EXPECT_EQ(FormatAmount(c.value, c.separator), c.text) << c.value;
  }
}

TEST(FormatAmount, ExponentFormFromOneE15IncludingWhatRoundsUpToIt) {
  const FormatCase cases[] = {
      {1e15, ".", "1E+15"}, {-1e15, ".", "-1E+15"},
      {1.93627e15, ".", "1.93627E+15"}, {1.93627e15, ",", "1,93627E+15"},
      {999999999999999.5, ".", "1E+15"},     // rounds up to 1E+15 at fifteen digits
      {-999999999999999.5, ".", "-1E+15"},
      {999999999999999.9, ".", "1E+15"},
      {1000000000000005.0, ".", "1E+15"},    // an exact tie at fifteen digits, to even
      {1000000000000015.0, ".", "1.00000000000002E+15"},
      {1234567890123456.0, ".", "1.23456789012346E+15"},
      {1e16, ".", "1E+16"}, {2.5e99, ".", "2.5E+99"}, {1e100, ".", "1E+100"},
      {std::numeric_limits<double>::max(), ".", "1.79769313486232E+308"},
      {1.5e15, "\xD9\xAB", "1\xD9\xAB" "5E+15"},
  };
  for (const FormatCase& c : cases) {
    EXPECT_EQ(FormatAmount(c.value, c.separator), c.text) << c.value;
  }
}

TEST(FormatAmount, NoTextForWhatIsNoNumber) {
  EXPECT_EQ(FormatAmount(std::numeric_limits<double>::infinity(), "."), "");
  EXPECT_EQ(FormatAmount(-std::numeric_limits<double>::infinity(), "."), "");
  EXPECT_EQ(FormatAmount(std::numeric_limits<double>::quiet_NaN(), "."), "");
}

// ---------------------------------------------------------------------------- mReplaceInString

struct ReplaceCase {
  std::string input;
  std::string a;
  std::string b;
  std::string result;
};

TEST(mReplaceInString, OverwritesOneCharacterPerOccurrence) {
  const ReplaceCase cases[] = {
      {"40,34", ",", ".", "40.34"},
      {"1,2,,3,", ",", ".", "1.2..3."},
      {",", ",", ".", "."},
      {"", ",", ".", ""},
      {"1234", ",", ".", "1234"},
      {"a,b", ",", "", "a,b"},          // nothing to write: the character stays
      {"a,b", "", ".", "a,b"},          // nothing to look for
      {"a,b", ",", ";:", "a;b"},        // only the first character of the replacement
      {"abcabc", "bc", "X", "aXcaXc"},  // the length stays that of the input
      {"aaaa", "aa", "b", "bbba"},      // the search goes on from the next character
      {"ABab", "a", "x", "ABxb"},       // case-sensitive
      {"a,b", ",b,", ".", "a,b"},
  };
  for (const ReplaceCase& c : cases) {
    EXPECT_EQ(mReplaceInString(c.input, c.a, c.b), c.result)
        << c.input << " / " << c.a << " / " << c.b;
  }
}

TEST(mReplaceInString, CharactersAreCodePointsAndStrayBytesCountAsOne) {
  const std::string euro = "\xE2\x82\xAC";
  const ReplaceCase cases[] = {
      {euro + "," + euro, ",", ".", euro + "." + euro},
      {"a" + euro + "b", euro, "E", "aEb"},
      {"x,y", ",", euro + "uro", "x" + euro + "y"},
      {"caf\xC3\xA9", "\xC3\xA9", "e", "cafe"},
      {"\xC3,", ",", ".", "\xC3."},
      // The pattern's bytes stand inside a character of the input: no occurrence.
      {euro, "\x82\xAC", "x", euro},
      {euro, "\xE2\x82", "x", euro},
      // The same bytes as stray bytes of their own do match.
      {"\xE2\x82z", "\xE2\x82", "Y", "Y\x82z"},
      {"\x82\x82", "\x82", ".", ".."},
      {"\xFF,\xFE", ",", ".", "\xFF.\xFE"},
      // A stray byte as the replacement is one character too.
      {"a,b", ",", "\xFFx", "a\xFF" "b"},
      // Overlong and surrogate forms are stray bytes, not characters.
      {"\xC0\xAC", "\xAC", "!", "\xC0!"},
      {"\xED\xA0\x80", "\xA0", "!", "\xED!\x80"},
      {"\xE0\x80\xAC", "\xAC", "!", "\xE0\x80!"},
      {"\xF0\x80\x80\xAC", "\x80", "!", "\xF0!!\xAC"},
      {"\xF4\x90\x80\x80", "\x90", "!", "\xF4!\x80\x80"},
      // The largest and smallest of each length are characters.
      {"\xF4\x8F\xBF\xBF", "\x8F", "!", "\xF4\x8F\xBF\xBF"},
      {"\xE0\xA0\x80,\xC2\x80", ",", ".", "\xE0\xA0\x80.\xC2\x80"},
  };
  for (const ReplaceCase& c : cases) {
    EXPECT_EQ(mReplaceInString(c.input, c.a, c.b), c.result);
  }
}

TEST(mReplaceInString, LongTextsAreHandledToTheirEnd) {
  std::string input(100000, '7');
  std::string expected = input;
  for (std::size_t i = 0; i < input.size(); i += 997) {
    input[i] = ',';
    expected[i] = '.';
  }
  input[32766] = input[32767] = input[99999] = ',';
  expected[32766] = expected[32767] = expected[99999] = '.';
  EXPECT_EQ(mReplaceInString(input, ",", "."), expected);

  std::string pairs;
  for (int i = 0; i < 40000; ++i) pairs += "\xC3\xA9,";
  std::string replaced = mReplaceInString(pairs, "\xC3\xA9,", "e");
  std::string expectedPairs;
  for (int i = 0; i < 40000; ++i) expectedPairs += "e,";
  EXPECT_EQ(replaced, expectedPairs);
}

// ---------------------------------------------------------------------------- Convert

struct ConvertCase {
  const char* key;
  Operation operation;
  std::string source;
  std::string target;
};

TEST(Convert, TheAmountsOfTheEdgeCases) {
  constexpr Operation kTo = Operation::EuroToNational;
  constexpr Operation kFrom = Operation::NationalToEuro;
  const ConvertCase cases[] = {
      {"imgBEL", kTo, "1", "40.34"},
      {"imgBEL", kFrom, "40.34", "1"},
      {"imgBEL", kFrom, "40,34", "0.99"},
      {"imgGRI", kTo, "1.5", "511.12"},
      {"imgGRI", kTo, "0.5", "170.38"},
      {"imgGRI", kTo, "10", "3407.5"},
      {"imgGRI", kTo, "1", "340.75"},
      {"imgGER", kTo, "100", "195.58"},
      {"imgGER", kTo, "-1", "-1.96"},
      {"imgGER", kTo, "1.2.3", "2.35"},
      {"imgGER", kTo, "12.345", "24.14"},
      {"imgGER", kFrom, "24.14", "12.34"},
      {"imgIER", kTo, "1", "0.79"},
      {"imgIER", kFrom, "1", "1.27"},
      {"imgITA", kFrom, "1", "0"},
      {"imgITA", kTo, "100000000000", "193627000000000"},
      {"imgITA", kTo, "1000000000000", "1.93627E+15"},
      {"imgITA", kTo, "12345678901.23", "23904567686084.6"},
      {"imgITA", kFrom, "1.93627E+15", "1000000000000"},
      {"imgESP", kTo, "", "0"},
      {"imgESP", kTo, ".", "0"},
      {"imgESP", kTo, "abc", "0"},
      {"imgESP", kTo, "-0.00001", "0"},  // never "-0"
      {"imgFRA", kTo, "1 000", "6559.57"},
      {"imgNED", kTo, "&H10", "35.26"},
      {"imgATS", kFrom, "13.7603", "1"},
      {"imgPOR", kFrom, "200482", "1000"},
      {"imgFIN", kTo, "2.5", "14.86"},
  };
  for (const ConvertCase& c : cases) {
    SCOPED_TRACE(std::string(c.key) + " " + c.source);
    const std::optional<std::string> result =
        Convert(c.source, "unchanged", &Row(c.key), c.operation, ".");
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, c.target);
  }
}

TEST(Convert, LuxembourgGivesBelgiumsNumbersBothWays) {
  const char* amounts[] = {"1", "40.34", "0.01", "123456.78", "-7.5", "1e13", "2,5", "x"};
  for (const char* amount : amounts) {
    EXPECT_EQ(EuroTo("imgLUX", amount), EuroTo("imgBEL", amount)) << amount;
    EXPECT_EQ(ToEuro("imgLUX", amount), ToEuro("imgBEL", amount)) << amount;
  }
  EXPECT_EQ(EuroTo("imgLUX", "1"), "40.34");
}

TEST(Convert, TheTargetAlwaysEndsWithAPointWhateverTheLocale) {
  EXPECT_EQ(EuroTo("imgGER", "100", ","), "195.58");
  EXPECT_EQ(ToEuro("imgBEL", "40,34", ","), "0.99");
  EXPECT_EQ(EuroTo("imgITA", "1000000000000", ","), "1.93627E+15");
  // A separator that is neither point nor comma is left as the locale wrote it.
  EXPECT_EQ(EuroTo("imgGER", "100", "\xD9\xAB"), "195\xD9\xAB" "58");
  // The source is read with the point whatever the locale.
  EXPECT_EQ(EuroTo("imgGER", "100,5", ","), "195.58");
}

TEST(Convert, WithoutARowOnlyTheCommasOfTheTargetTurnIntoPoints) {
  for (Operation operation : {Operation::EuroToNational, Operation::NationalToEuro}) {
    EXPECT_EQ(Convert("5", "1,5,x", nullptr, operation, "."), "1.5.x");
    EXPECT_EQ(Convert("5", "195.58", nullptr, operation, ","), "195.58");
    EXPECT_EQ(Convert("1e999", "", nullptr, operation, "."), "");  // the source is not read
    EXPECT_EQ(Convert("", "\xE2\x82\xAC,", nullptr, operation, "."), "\xE2\x82\xAC.");
  }
}

TEST(Convert, AmountsBeyondADoubleLeaveTheTargetAsItIs) {
  EXPECT_FALSE(EuroTo("imgBEL", "1e309").has_value());
  EXPECT_FALSE(EuroTo("imgBEL", std::string(400, '9')).has_value());
  EXPECT_FALSE(EuroTo("imgBEL", "&H" + std::string(300, 'F')).has_value());
  EXPECT_FALSE(EuroTo("imgBEL", "1e308").has_value());   // the product overflows
  EXPECT_FALSE(ToEuro("imgIER", "1.7e308").has_value());  // the quotient overflows
  EXPECT_FALSE(EuroTo("imgGER", "1e307").has_value());   // the hundredfold value overflows
  EXPECT_FALSE(ToEuro("imgGER", "-1e307").has_value());

  // Just inside the range still gives an amount, in exponent form.
  const std::optional<std::string> big = ToEuro("imgITA", "1e306");
  ASSERT_TRUE(big.has_value());
  EXPECT_EQ(*big, "5.16456899089486E+302");
  EXPECT_EQ(ToEuro("imgGER", "1e-300"), "0");
}

}  // namespace
}  // namespace kestrova::core
