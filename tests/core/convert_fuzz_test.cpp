// Random and hostile texts through both conversions: whatever a user pastes must give a
// well-formed amount or leave the target alone, and never crash.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "core/convert.h"
#include "core/currency.h"

namespace kestrova::core {
namespace {

constexpr std::uint32_t kSeed = 20020101;

// Beyond this, x * 100 / 100 in doubles need not give x back, so a second rounding may move
// the value by an ulp; the text, at fifteen digits, must still stay the same.
const double kExactHundredthsLimit = std::ldexp(1.0, 53) / 100.0;

class TextMaker {
 public:
  explicit TextMaker(std::uint32_t seed) : random_(seed) {}

  int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

  std::string RandomBytes(int maxLength) {
    std::string text(static_cast<std::size_t>(Below(maxLength + 1)), '\0');
    for (char& c : text) c = static_cast<char>(Below(256));
    return text;
  }

  // Pieces that a reader of numbers might trip over, glued at random.
  std::string NumberLike(int maxPieces) {
    static const std::vector<std::string> pieces = {
        "0", "1", "5", "9", "00", "123", "999999999", ".", ".", "+", "-", "e", "E", "e+",
        "E-", "e308", "e-320", " ", "\t", "\n", "\r", ",", "&", "&H", "&O", "F", "f", "7",
        "8", "x", "\xE2\x82\xAC", "\xD9\xAB", "\xD9\xA3", "\xEF\xBC\x95", "\xFF", "\xC3",
        "\x80", std::string(1, '\0'), "\xF0\x9F\x92\xB6", "\xE4\xB8\x87", "1.93627E+15",
        "40,34", "..", "--", "e99999999999999999999", "1e-99999999999",
    };
    std::string text;
    const int count = Below(maxPieces + 1);
    for (int i = 0; i < count; ++i) text += pieces[static_cast<std::size_t>(Below(
                                                static_cast<int>(pieces.size())))];
    return text;
  }

  std::string Digits(int length) {
    std::string text(static_cast<std::size_t>(length), '0');
    for (char& c : text) c = static_cast<char>('0' + Below(10));
    return text;
  }

  // A decimal amount of random size and precision, as a user might type or paste it.
  std::string Amount() {
    std::string text;
    if (Below(4) == 0) text += Below(2) ? "-" : "+";
    text += Digits(1 + Below(18));
    if (Below(2)) text += "." + Digits(Below(12));
    if (Below(5) == 0) text += (Below(2) ? "E" : "e") + std::to_string(Below(640) - 320);
    return text;
  }

  std::string Next() {
    switch (Below(7)) {
      case 0: return RandomBytes(48);
      case 1: return NumberLike(8);
      case 2: return NumberLike(40);
      case 3: return Amount();
      case 4: return Amount() + NumberLike(3);
      case 5: return "&" + std::string(Below(2) ? "H" : "O") + Digits(Below(400));
      default: return Digits(Below(2000)) + NumberLike(2) + Digits(Below(400));
    }
  }

 private:
  std::mt19937 random_;
};

int SignificantDigits(const std::string& digits) {
  const std::size_t first = digits.find_first_not_of('0');
  return first == std::string::npos ? 0 : static_cast<int>(digits.size() - first);
}

// The shape of an amount written with a point: plain below 1E+15, exponent form above.
::testing::AssertionResult IsAmountText(const std::string& text) {
  static const std::regex plain(R"(-?(0|[1-9][0-9]*)(\.([0-9]*[1-9]))?)");
  static const std::regex exponent(R"(-?([1-9])(\.([0-9]*[1-9]))?E\+([0-9]{2,3}))");
  std::smatch m;
  if (std::regex_match(text, m, plain)) {
    if (text == "-0") return ::testing::AssertionFailure() << "negative zero";
    if (m[1] == "0" && text != "0" && !m[3].matched)
      return ::testing::AssertionFailure() << "signed zero: " << text;
    const std::string digits = m[1].str() + m[3].str();
    if (SignificantDigits(digits) > 15 || m[1].length() > 15)
      return ::testing::AssertionFailure() << "too many digits: " << text;
    return ::testing::AssertionSuccess();
  }
  if (std::regex_match(text, m, exponent)) {
    if (1 + m[3].length() > 15) return ::testing::AssertionFailure() << "too many digits: " << text;
    const int power = std::stoi(m[4].str());
    if (power < 15 || (m[4].length() == 3 && m[4].str()[0] == '0'))
      return ::testing::AssertionFailure() << "exponent form out of place: " << text;
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "not an amount: \"" << text << '"';
}

::testing::AssertionResult ReadsBackStable(const std::string& text) {
  const std::optional<double> value = ReadAmount(text);
  if (!value) return ::testing::AssertionFailure() << "does not read back: " << text;
  const std::optional<double> again = Round2(*value);
  if (!again) return ::testing::AssertionFailure() << "cannot round again: " << text;
  if (std::fabs(*value) < kExactHundredthsLimit) {
    if (*again != *value) return ::testing::AssertionFailure() << "rounds again: " << text;
  } else if (FormatAmount(*again, ".") != text) {
    return ::testing::AssertionFailure() << "rounding again changes the text: " << text;
  }
  return ::testing::AssertionSuccess();
}

std::string Replaced(std::string text, std::string_view from, char to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + 1))
    text.replace(at, from.size(), 1, to);
  return text;
}

TEST(ConvertFuzz, EveryPastedTextGivesAWellFormedAmountOrLeavesTheTargetAlone) {
  TextMaker maker(kSeed);
  const std::string separators[] = {".", ",", "\xD9\xAB"};
  int amounts = 0;
  int unchanged = 0;
  for (int round = 0; round < 4000; ++round) {
    const std::string source = maker.Next();
    const CountryRecord& row = CountryTable()[static_cast<std::size_t>(maker.Below(kCountryCount))];
    const std::string& separator = separators[maker.Below(3)];
    const std::optional<double> read = ReadAmount(source);

    for (Operation operation : {Operation::EuroToNational, Operation::NationalToEuro}) {
      const std::optional<std::string> result =
          Convert(source, "before", &row, operation, separator);
      if (!result) {
        ++unchanged;
        // Only an amount near the end of the double range may leave the target alone.
        if (read) {
          ASSERT_GT(std::fabs(*read), 1e300) << "source of " << source.size() << " bytes";
        }
        continue;
      }
      ++amounts;
      ASSERT_TRUE(read.has_value());
      const std::string text =
          separator == "\xD9\xAB" ? Replaced(*result, separator, '.') : *result;
      ASSERT_TRUE(IsAmountText(text)) << "from \"" << source << '"';
      ASSERT_TRUE(ReadsBackStable(text));

      // Close to the exact conversion: half a hundredth plus fifteen digits' worth.
      const double exact = operation == Operation::EuroToNational ? *read * row.rate
                                                                  : *read / row.rate;
      const double shown = *ReadAmount(text);
      ASSERT_LE(std::fabs(shown - exact), 0.0050001 + 1e-14 * std::fabs(exact))
          << source << " -> " << text;
    }
  }
  // The generator must really reach both outcomes.
  EXPECT_GT(amounts, 4000);
  EXPECT_GT(unchanged, 100);
}

TEST(ConvertFuzz, WithoutARowAnyTargetOnlyLosesItsCommas) {
  TextMaker maker(kSeed + 1);
  for (int round = 0; round < 3000; ++round) {
    const std::string target = round % 2 ? maker.RandomBytes(64) : maker.NumberLike(30);
    const std::optional<std::string> result =
        Convert(maker.Next(), target, nullptr, Operation::NationalToEuro, ",");
    ASSERT_TRUE(result.has_value());
    // A comma is always a character of its own, so the bytes stay in place.
    ASSERT_EQ(*result, Replaced(target, ",", '.'));
  }
}

TEST(ConvertFuzz, HugeTextsAreReadInFull) {
  TextMaker maker(kSeed + 2);
  const std::string digits = maker.Digits(100000);
  const CountryRecord& row = CountryTable().front();
  EXPECT_FALSE(Convert("1" + digits, "before", &row, Operation::EuroToNational, ".").has_value());
  EXPECT_EQ(Convert("0." + digits, "before", &row, Operation::NationalToEuro, "."),
            FormatAmount(*Round2(*ReadAmount("0." + digits.substr(0, 30)) / row.rate), "."));
  EXPECT_EQ(Convert(std::string(200000, ' ') + "2", "x", &row, Operation::EuroToNational, "."),
            "80.68");
  std::string mixed;
  for (int i = 0; i < 20000; ++i) mixed += "\xD9\xA3\xE4\xB8\x87\xF0\x9F\x92\xB6" "a\xFF";
  EXPECT_EQ(Convert(mixed, "x", &row, Operation::EuroToNational, "."), "0");
  EXPECT_EQ(Convert("7" + mixed, "x", &row, Operation::EuroToNational, "."), "282.38");
}

// A plain reader for what the rule reads: the blanks taken out, then the longest prefix of
// the shape of a decimal number, handed to the standard library.
std::optional<double> ReferenceRead(const std::string& text) {
  std::string compact;
  for (char c : text)
    if (c != ' ' && c != '\t' && c != '\n') compact += c;
  static const std::regex number(R"(^([+-]?)((\d+\.?\d*)|(\.\d+))([eE][+-]?\d+)?)");
  std::smatch m;
  if (!std::regex_search(compact, m, number)) return 0.0;
  const std::string body = m[2].str() + m[5].str();
  double value = 0.0;
  const auto [ptr, ec] = std::from_chars(body.data(), body.data() + body.size(), value);
  (void)ptr;
  if (ec == std::errc::result_out_of_range) {
    // Only a negative exponent can make a value too small.
    if (!m[5].matched || m[5].str().find('-') == std::string::npos) return std::nullopt;
    value = 0.0;
  }
  return m[1] == "-" ? -value : value;
}

TEST(ConvertFuzz, ReadAmountAgreesWithAPlainReader) {
  TextMaker maker(kSeed + 3);
  for (int round = 0; round < 5000; ++round) {
    std::string text = round % 3 ? maker.Amount() : maker.Amount() + maker.NumberLike(4);
    if (round % 5 == 0) text.insert(static_cast<std::size_t>(maker.Below(
                                        static_cast<int>(text.size()) + 1)), " ");
    if (text.find('&') != std::string::npos) continue;
    const std::optional<double> expected = ReferenceRead(text);
    const std::optional<double> actual = ReadAmount(text);
    ASSERT_EQ(actual.has_value(), expected.has_value()) << '"' << text << '"';
    if (actual) {
      ASSERT_EQ(*actual, *expected) << '"' << text << '"';
    }
  }
}

// The number-to-text rule written a second way, on the C library's own fifteen-digit output.
std::string ReferenceFormat(double value) {
  if (value == 0.0) return "0";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.14e", value);
  std::string scientific = buffer;
  const bool negative = scientific[0] == '-';
  if (negative) scientific.erase(0, 1);
  const std::size_t mark = scientific.find('e');
  const int power = std::atoi(scientific.c_str() + mark + 1);
  std::string digits = scientific.substr(0, 1) + scientific.substr(2, mark - 2);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  std::string text = negative ? "-" : "";
  if (power >= 15) {
    std::snprintf(buffer, sizeof buffer, "E+%02d", power);
    text += digits.substr(0, 1) + (digits.size() > 1 ? "." + digits.substr(1) : "") + buffer;
  } else if (power >= 0) {
    const std::size_t whole = static_cast<std::size_t>(power) + 1;
    if (digits.size() <= whole) {
      text += digits + std::string(whole - digits.size(), '0');
    } else {
      text += digits.substr(0, whole) + "." + digits.substr(whole);
    }
  } else {
    text += "0." + std::string(static_cast<std::size_t>(-power - 1), '0') + digits;
  }
  return text;
}

TEST(ConvertFuzz, FormatAmountAgreesWithTheCLibrarysDigits) {
  std::mt19937_64 random(kSeed + 4);
  for (int round = 0; round < 300000; ++round) {
    double value = 0.0;
    switch (round % 3) {
      case 0: {  // any bit pattern: subnormals, huge, tiny
        const std::uint64_t bits = random();
        std::memcpy(&value, &bits, sizeof value);
        if (!std::isfinite(value)) continue;
        break;
      }
      case 1:  // whole hundredths and finer, as the rounding gives them
        value = static_cast<double>(random() % 100000000000000000ULL) / 100.0 /
                std::pow(10.0, static_cast<double>(random() % 4));
        break;
      default:  // every scale around the switch to exponent form
        value = std::ldexp(static_cast<double>(random() >> 11),
                           static_cast<int>(random() % 200) - 150);
    }
    if (round % 2) value = -value;
    ASSERT_EQ(FormatAmount(value, "."), ReferenceFormat(value)) << std::hexfloat << value;
  }
}

// UTF-8 read the long way: a lead byte, its continuation bytes, then the code point checked
// for overlong forms, surrogates and the Unicode range. Anything else is a one-byte character.
std::vector<std::string> Characters(std::string_view text) {
  std::vector<std::string> characters;
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 1;
    std::uint32_t code = lead;
    std::uint32_t least = 0;
    if ((lead & 0xE0) == 0xC0) { length = 2; code = lead & 0x1F; least = 0x80; }
    else if ((lead & 0xF0) == 0xE0) { length = 3; code = lead & 0x0F; least = 0x800; }
    else if ((lead & 0xF8) == 0xF0) { length = 4; code = lead & 0x07; least = 0x10000; }
    bool valid = length > 1 && i + length <= text.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
      const unsigned char next = static_cast<unsigned char>(text[i + k]);
      valid = (next & 0xC0) == 0x80;
      code = (code << 6) | (next & 0x3F);
    }
    valid = valid && code >= least && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
    if (!valid) length = 1;
    characters.emplace_back(text.substr(i, length));
    i += length;
  }
  return characters;
}

// The overwrite rule done literally, one character at a time on a working copy.
std::string ReferenceReplace(std::string_view input, std::string_view a, std::string_view b) {
  std::vector<std::string> copy = Characters(input);
  const std::vector<std::string> pattern = Characters(a);
  const std::vector<std::string> replacement = Characters(b);
  if (!pattern.empty()) {
    for (std::size_t p = 0; p + pattern.size() <= copy.size(); ++p) {
      if (std::equal(pattern.begin(), pattern.end(), copy.begin() + static_cast<long>(p)) &&
          !replacement.empty()) {
        copy[p] = replacement[0];
      }
    }
  }
  std::string text;
  for (const std::string& c : copy) text += c;
  return text;
}

TEST(ConvertFuzz, mReplaceInStringAgreesWithTheLiteralRule) {
  TextMaker maker(kSeed + 5);
  const std::vector<std::string> pieces = {
      ",", ".", "a", "\xC3\xA9", "\xC3", "\xA9", "\xE2\x82\xAC", "\xE2\x82", "\x82\xAC",
      "\xFF", "\xF0\x9F\x92\xB6", "\xF0\x9F", "\xED\xA0\x80", "\xC0\xAC",
      "\xE0\x80\xAC", "\xF4\x90\x80\x80", "\xF0\x80\x80\xAC", std::string(1, '\0')};
  const auto glue = [&](int most) {
    std::string text;
    for (int n = maker.Below(most + 1); n > 0; --n)
      text += pieces[static_cast<std::size_t>(maker.Below(static_cast<int>(pieces.size())))];
    return text;
  };
  for (int round = 0; round < 20000; ++round) {
    const std::string input = glue(12);
    const std::string a = glue(3);
    const std::string b = glue(2);
    const std::string result = mReplaceInString(input, a, b);
    ASSERT_EQ(result, ReferenceReplace(input, a, b));
    // Read again, the result has as many characters as the input, unless a stray byte was
    // written in and joined its neighbours into one character.
    const bool strayReplacement = !b.empty() && static_cast<unsigned char>(b[0]) >= 0x80 &&
                                  Characters(b)[0].size() == 1;
    if (!strayReplacement) {
      ASSERT_EQ(Characters(result).size(), Characters(input).size());
    }
  }
}

}  // namespace
}  // namespace kestrova::core
