// Random and hostile texts through both conversions: whatever a user pastes must give a
// well-formed amount or leave the target alone, and never crash.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <random>
#include <regex>
#include <string>

#include "core/convert.h"
#include "core/currency.h"

namespace kestrova::core {
namespace {

std::mt19937 generator(20020101);

int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(generator); }

std::string Digits(int length) {
  std::string text(static_cast<std::size_t>(length), '0');
  for (char& c : text) c = static_cast<char>('0' + Below(10));
  return text;
}

// Pieces that a reader of numbers might trip over.
std::string Piece() {
  static const std::string pieces[] = {"0",           "1",
                                       "9",           "00",
                                       "123",         ".",
                                       "+",           "-",
                                       "e",           "E-",
                                       "e308",        "e-320",
                                       " ",           "\t",
                                       "\n",          "\r",
                                       ",",           "&H",
                                       "&O",          "F",
                                       "x",           "\xE2\x82\xAC",
                                       "\xD9\xAB",    "\xEF\xBC\x95",
                                       "\xFF",        "\xC3",
                                       "\x80",        std::string(1, '\0'),
                                       "1.93627E+15", "e99999999999999999999"};
  return pieces[Below(std::size(pieces))];
}

std::string HostileText() {
  std::string text;
  switch (Below(5)) {
    case 0:
      for (int n = Below(49); n > 0; --n) text += static_cast<char>(Below(256));
      return text;
    case 1:
      for (int n = Below(41); n > 0; --n) text += Piece();
      return text;
    case 2:  // an amount of any size and precision, as someone might paste it
      text = (Below(4) == 0 ? "-" : "") + Digits(1 + Below(18)) + "." + Digits(Below(12));
      return Below(4) ? text : text + "e" + std::to_string(Below(640) - 320) + Piece();
    case 3: return std::string(Below(2) ? "&H" : "&O") + Digits(Below(400));
    default: return Digits(Below(2000)) + Piece() + Digits(Below(400));
  }
}

// Plain below 1E+15 and "d.dddE+dd" from there, with no trailing zeros.
const std::regex kAmountShape(R"(-?(0|[1-9][0-9]*)(\.[0-9]*[1-9])?|)"
                              R"(-?[1-9](\.[0-9]*[1-9])?E\+(1[5-9]|[2-9][0-9]|[1-3][0-9][0-9]))");

TEST(ConvertFuzz, EveryPastedTextGivesAWellFormedAmountOrLeavesTheTargetAlone) {
  int amounts = 0;
  int unchanged = 0;
  for (int round = 0; round < 4000; ++round) {
    const std::string source = HostileText();
    const CountryRecord& row = *CountryAt(1 + Below(kCountryCount));
    const char* separator = Below(2) ? "." : ",";  // either way the target shows a point
    const std::optional<double> read = ReadAmount(source);

    std::string commasToPoints = source;  // all that happens to a target when no row is on show
    std::replace(commasToPoints.begin(), commasToPoints.end(), ',', '.');

    for (const Operation operation : {Operation::EuroToNational, Operation::NationalToEuro}) {
      ASSERT_EQ(Convert("1", source, nullptr, operation, separator), commasToPoints);
      const std::optional<std::string> result = Convert(source, "", &row, operation, separator);
      if (!result) {
        ++unchanged;
        ASSERT_GT(std::fabs(read.value_or(HUGE_VAL)), 1e300) << source.substr(0, 80);
        continue;
      }
      ++amounts;
      const std::string& text = *result;
      std::string digits;  // significant ones
      for (const char c : text.substr(0, text.find('E'))) {
        if (c >= '0' && c <= '9' && (c != '0' || !digits.empty())) digits += c;
      }
      ASSERT_TRUE(std::regex_match(text, kAmountShape) && text != "-0" && digits.size() <= 15)
          << text << " from \"" << source.substr(0, 80) << '"';

      const double shown = ReadAmount(text).value_or(NAN);
      const double again = Round2(shown).value_or(NAN);
      // Past 2^53 hundredths a second rounding may move the value by an ulp, not the text.
      if (std::fabs(shown) < 0x1p53 / 100) {
        ASSERT_EQ(again, shown) << text;
      } else {
        ASSERT_EQ(FormatAmount(again, "."), text);
      }
      // Half a hundredth plus fifteen digits' worth from the exact conversion.
      const double exact = operation == Operation::EuroToNational ? read.value() * row.rate
                                                                  : read.value() / row.rate;
      ASSERT_LE(std::fabs(shown - exact), 0.0050001 + 1e-14 * std::fabs(exact)) << text;
    }
  }
  // The texts must really reach both outcomes.
  EXPECT_GT(amounts, 4000);
  EXPECT_GT(unchanged, 100);
}

}  // namespace
}  // namespace kestrova::core
