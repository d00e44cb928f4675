#include "core/convert.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <system_error>
#include <vector>

namespace kestrova::core {

namespace {

// More digits than any double needs to be rounded correctly (a halfway point between two
// doubles has at most 767 significant digits); what lies beyond only matters as "not zero".
constexpr std::size_t kMaxDigits = 800;

// Far beyond any double's decimal exponent, but small enough to add up without overflow.
constexpr long long kExponentClamp = 1'000'000'000;

// Whole numbers of up to 15 digits and powers of ten up to 1e22 are exact doubles.
constexpr std::size_t kExactDigits = 15;
constexpr long long kExactPowers = 22;
constexpr std::array<double, kExactPowers + 1> kPowersOfTen = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

bool IsSkipped(char c) { return c == ' ' || c == '\t' || c == '\n'; }

bool IsDigit(int c) { return c >= '0' && c <= '9'; }

// Walks the text with the blanks, tabs and line feeds taken out.
class Cursor {
 public:
  explicit Cursor(std::string_view text) : text_(text) {}

  // The next character that counts, or -1 at the end.
  int Peek() {
    while (pos_ < text_.size() && IsSkipped(text_[pos_])) {
      ++pos_;
    }
    return pos_ < text_.size() ? static_cast<unsigned char>(text_[pos_]) : -1;
  }

  void Take() { ++pos_; }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

int HexValue(int c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

int OctalValue(int c) { return c >= '0' && c <= '7' ? c - '0' : -1; }

template <typename DigitValue>
std::optional<double> ReadWholeNumber(Cursor& cursor, int base, DigitValue digitValue) {
  double value = 0.0;
  for (int d = digitValue(cursor.Peek()); d >= 0; d = digitValue(cursor.Peek())) {
    cursor.Take();
    value = value * base + d;
    if (std::isinf(value)) {
      return std::nullopt;
    }
  }
  return value;
}

std::optional<double> ReadDecimal(Cursor& cursor) {
  bool negative = false;
  if (cursor.Peek() == '+' || cursor.Peek() == '-') {
    negative = cursor.Peek() == '-';
    cursor.Take();
  }

  // The value is digits x 10^exponent, the digits without leading zeros.
  std::array<char, kMaxDigits + 32> buffer;
  std::size_t count = 0;
  bool droppedNonZero = false;
  long long exponent = 0;
  bool anyDigit = false;

  for (int c = cursor.Peek(); IsDigit(c); c = cursor.Peek()) {
    cursor.Take();
    anyDigit = true;
    if (count == 0 && c == '0') continue;
    if (count < kMaxDigits) {
      buffer[count++] = static_cast<char>(c);
    } else {
      ++exponent;
      droppedNonZero = droppedNonZero || c != '0';
    }
  }
  if (cursor.Peek() == '.') {
    cursor.Take();
    for (int c = cursor.Peek(); IsDigit(c); c = cursor.Peek()) {
      cursor.Take();
      anyDigit = true;
      if (count == 0 && c == '0') {
        --exponent;
      } else if (count < kMaxDigits) {
        buffer[count++] = static_cast<char>(c);
        --exponent;
      } else {
        droppedNonZero = droppedNonZero || c != '0';
      }
    }
  }
  if (!anyDigit) {
    return 0.0;
  }

  if (cursor.Peek() == 'E' || cursor.Peek() == 'e') {
    cursor.Take();
    bool negativeExponent = false;
    if (cursor.Peek() == '+' || cursor.Peek() == '-') {
      negativeExponent = cursor.Peek() == '-';
      cursor.Take();
    }
    // An exponent letter without digits after it is where the number ends; reading stops
    // there in any case, so nothing needs to be given back.
    long long written = 0;
    for (int c = cursor.Peek(); IsDigit(c); c = cursor.Peek()) {
      cursor.Take();
      written = std::min(written * 10 + (c - '0'), kExponentClamp);
    }
    exponent += negativeExponent ? -written : written;
  }

  const double zero = negative ? -0.0 : 0.0;
  if (count == 0) {
    return zero;
  }
  // The value lies in [10^(count-1+exponent), 10^(count+exponent)).
  const long long magnitude = static_cast<long long>(count) + exponent;
  if (magnitude > 310) {
    return std::nullopt;
  }
  if (magnitude < -330) {
    return zero;
  }
  if (count <= kExactDigits && exponent >= -kExactPowers && exponent <= kExactPowers) {
    // Both operands are exact doubles, so the one rounding of the product or quotient is the
    // correct rounding of the decimal: no need for the general reader.
    std::uint64_t whole = 0;
    for (std::size_t i = 0; i < count; ++i) whole = whole * 10 + (buffer[i] - '0');
    const double power =
        kPowersOfTen[static_cast<std::size_t>(exponent < 0 ? -exponent : exponent)];
    const double value =
        exponent < 0 ? static_cast<double>(whole) / power : static_cast<double>(whole) * power;
    return negative ? -value : value;
  }
  if (droppedNonZero) {
    // A trailing 1 stands for the dropped digits: it keeps the value off any halfway point.
    buffer[count++] = '1';
    --exponent;
  }
  char* end = buffer.data() + count;
  *end++ = 'e';
  end = std::to_chars(end, buffer.data() + buffer.size(), exponent).ptr;

  double value = 0.0;
  const auto [ptr, ec] = std::from_chars(buffer.data(), end, value);
  (void)ptr;
  if (ec == std::errc::result_out_of_range) {
    if (magnitude > 0) {
      return std::nullopt;
    }
    return zero;
  }
  if (ec != std::errc{}) {
    return zero;
  }
  return negative ? -value : value;
}

// Length in bytes of the character at `pos`: a well-formed UTF-8 sequence, or else one byte.
std::size_t CharLength(std::string_view text, std::size_t pos) {
  const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byteAt(pos);
  if (lead < 0x80) return 1;

  std::size_t trail = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    trail = 1;
  } else if (lead == 0xE0) {
    trail = 2;
    low = 0xA0;  // no overlong forms
  } else if (lead == 0xED) {
    trail = 2;
    high = 0x9F;  // no surrogates
  } else if (lead >= 0xE1 && lead <= 0xEF) {
    trail = 2;
  } else if (lead == 0xF0) {
    trail = 3;
    low = 0x90;
  } else if (lead >= 0xF1 && lead <= 0xF3) {
    trail = 3;
  } else if (lead == 0xF4) {
    trail = 3;
    high = 0x8F;  // nothing beyond U+10FFFF
  } else {
    return 1;
  }
  if (text.size() - pos <= trail) return 1;
  if (byteAt(pos + 1) < low || byteAt(pos + 1) > high) return 1;
  for (std::size_t i = 2; i <= trail; ++i) {
    if (byteAt(pos + i) < 0x80 || byteAt(pos + i) > 0xBF) return 1;
  }
  return trail + 1;
}

}  // namespace

std::optional<double> ReadAmount(std::string_view text) {
  Cursor cursor(text);
  if (cursor.Peek() == '&') {
    cursor.Take();
    const int kind = cursor.Peek();
    if (kind == 'H') {
      cursor.Take();
      return ReadWholeNumber(cursor, 16, HexValue);
    }
    if (kind == 'O') {
      cursor.Take();
      return ReadWholeNumber(cursor, 8, OctalValue);
    }
    return 0.0;
  }
  return ReadDecimal(cursor);
}

std::optional<double> Round2(double value) {
  const double hundredfold = value * 100.0;
  if (!std::isfinite(hundredfold)) {
    return std::nullopt;
  }
  // nearbyint in the default rounding mode sends an exact tie to the even neighbour.
  return std::nearbyint(hundredfold) / 100.0;
}

std::string FormatAmount(double value, std::string_view decimalSeparator) {
  if (!std::isfinite(value)) {
    return {};
  }
  if (value == 0.0) {
    return "0";
  }
  if (decimalSeparator.empty()) {
    decimalSeparator = ".";
  }

  // The usual amount is what Round2 gives: the double nearest a whole number of hundredths.
  // Below 1E+13 that number has at most fifteen digits, so it is also the fifteen-digit
  // rounding of the double, and integer digits write it fastest.
  if (std::fabs(value) < 1e13) {
    const double hundredths = std::nearbyint(value * 100.0);
    if (hundredths / 100.0 == value) {
      // The digits of the count of hundredths, padded to three: 5 gives "005", i.e. 0.05.
      char digits[24] = {'0', '0'};
      char* const start = digits + 2;
      const char* const end = std::to_chars(start, digits + sizeof digits,
                                            static_cast<std::uint64_t>(std::fabs(hundredths)))
                                  .ptr;
      const char* const first = std::min<const char*>(start, end - 3);
      const char* const cents = end - 2;
      std::string text(value < 0 ? "-" : "");
      text.append(first, static_cast<std::size_t>(cents - first));
      const std::size_t centDigits = cents[1] != '0' ? 2 : cents[0] != '0' ? 1 : 0;
      if (centDigits > 0) {
        text += decimalSeparator;
        text.append(cents, centDigits);
      }
      return text;
    }
  }

  // Otherwise fifteen correctly rounded digits, "-d.ddddddddddddddde+ddd".
  char buffer[40];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
  const std::string_view scientific(buffer, static_cast<std::size_t>(result.ptr - buffer));

  const bool negative = scientific.front() == '-';
  const std::size_t first = negative ? 1 : 0;
  const std::size_t exponentMark = scientific.find('e');
  char digits[16];
  std::size_t count = 0;
  for (std::size_t i = first; i < exponentMark; ++i) {
    if (scientific[i] != '.') digits[count++] = scientific[i];
  }
  while (count > 1 && digits[count - 1] == '0') {
    --count;
  }
  int exponent = 0;
  std::from_chars(scientific.data() + exponentMark + 2, scientific.data() + scientific.size(),
                  exponent);
  if (scientific[exponentMark + 1] == '-') {
    exponent = -exponent;
  }

  std::string text;  // short enough to stay in the string's own buffer
  if (negative) {
    text += '-';
  }
  if (exponent >= 15) {
    text += digits[0];
    if (count > 1) {
      text += decimalSeparator;
      text.append(digits + 1, count - 1);
    }
    text += "E+";
    if (exponent < 10) {
      text += '0';
    }
    char exponentText[8];
    const auto end = std::to_chars(exponentText, exponentText + sizeof exponentText, exponent).ptr;
    text.append(exponentText, end);
  } else if (exponent >= 0) {
    const std::size_t wholeDigits = static_cast<std::size_t>(exponent) + 1;
    if (count <= wholeDigits) {
      text.append(digits, count);
      text.append(wholeDigits - count, '0');
    } else {
      text.append(digits, wholeDigits);
      text += decimalSeparator;
      text.append(digits + wholeDigits, count - wholeDigits);
    }
  } else {
    text += '0';
    text += decimalSeparator;
    text.append(static_cast<std::size_t>(-exponent - 1), '0');
    text.append(digits, count);
  }
  return text;
}

std::string mReplaceInString(std::string_view vstrInputString, std::string_view vstrA,
                             std::string_view vstrB) {
  if (vstrA.empty() || vstrB.empty()) {
    return std::string(vstrInputString);
  }
  const std::string_view replacement = vstrB.substr(0, CharLength(vstrB, 0));

  // An ASCII byte is always a character of its own, so a one-byte ASCII pattern needs no
  // decoding: the common case of turning commas into points.
  if (vstrA.size() == 1 && static_cast<unsigned char>(vstrA[0]) < 0x80) {
    if (replacement.size() == 1) {
      std::string text(vstrInputString);
      for (char& c : text) {
        if (c == vstrA[0]) c = replacement[0];
      }
      return text;
    }
    std::string text;
    text.reserve(vstrInputString.size());
    for (char c : vstrInputString) {
      if (c == vstrA[0]) {
        text += replacement;
      } else {
        text += c;
      }
    }
    return text;
  }

  std::vector<std::size_t> patternLengths;
  for (std::size_t pos = 0; pos < vstrA.size(); pos += patternLengths.back()) {
    patternLengths.push_back(CharLength(vstrA, pos));
  }

  std::string text;
  text.reserve(vstrInputString.size());
  std::size_t copied = 0;    // input bytes already in `text`
  std::size_t boundary = 0;  // a character start, never past the next candidate
  std::size_t from = 0;
  for (std::size_t found = vstrInputString.find(vstrA, from); found != std::string_view::npos;
       found = vstrInputString.find(vstrA, from)) {
    while (boundary < found) {
      boundary += CharLength(vstrInputString, boundary);
    }
    if (boundary != found) {
      // The bytes match, but they start inside a character.
      from = boundary;
      continue;
    }
    // The bytes must also split into the very characters of the pattern.
    bool sameCharacters = true;
    std::size_t pos = found;
    for (const std::size_t length : patternLengths) {
      if (CharLength(vstrInputString, pos) != length) {
        sameCharacters = false;
        break;
      }
      pos += length;
    }
    const std::size_t overwritten = CharLength(vstrInputString, found);
    if (sameCharacters) {
      text.append(vstrInputString.substr(copied, found - copied));
      text += replacement;
      copied = found + overwritten;
    }
    // Occurrences may overlap: the search goes on from the next character.
    boundary = found + overwritten;
    from = boundary;
  }
  text.append(vstrInputString.substr(copied));
  return text;
}

std::optional<std::string> Convert(std::string_view sourceText, std::string_view targetText,
                                   const CountryRecord* row, Operation operation,
                                   std::string_view decimalSeparator) {
  if (row == nullptr) {
    return mReplaceInString(targetText, ",", ".");
  }
  const std::optional<double> amount = ReadAmount(sourceText);
  if (!amount) {
    return std::nullopt;
  }
  const double converted =
      operation == Operation::EuroToNational ? *amount * row->rate : *amount / row->rate;
  if (!std::isfinite(converted)) {
    return std::nullopt;
  }
  const std::optional<double> rounded = Round2(converted);
  if (!rounded) {
    return std::nullopt;
  }
  // A separator other than the point or the comma would stay in the box, and the box's own
  // reader would stop at it; such locales get the point straight away.
  const std::string_view separator =
      decimalSeparator == "," ? std::string_view(",") : std::string_view(".");
  std::string text = FormatAmount(*rounded, separator);
  if (text.find(',') != std::string::npos) {
    text = mReplaceInString(text, ",", ".");
  }
  return text;
}

}  // namespace kestrova::core
