#include "settings/Persisted.h"

#include <charconv>
#include <system_error>

namespace kestrova::settings {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string FormatSingle(float value, std::string_view decimalSeparator) {
  if (decimalSeparator.empty()) decimalSeparator = ".";
  // Negative zero is a position like any other zero.
  if (value == 0.0f) return "0";
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 7);
  std::string text;
  for (const char* p = buffer; p != result.ptr; ++p) {
    if (*p == '.') {
      text += decimalSeparator;
    } else {
      text += *p;
    }
  }
  return text;
}

std::optional<float> ParseSingle(std::string_view text, std::string_view decimalSeparator) {
  if (decimalSeparator.empty()) decimalSeparator = ".";
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);

  // Rebuilt with a point, which is all that from_chars reads, after checking the shape by hand:
  // from_chars alone would take "inf", "nan" or hex digits.
  std::string plain;
  std::size_t pos = 0;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    if (text[pos] == '-') plain += '-';
    ++pos;
  }
  std::size_t digits = 0;
  while (pos < text.size() && IsDigit(text[pos])) {
    plain += text[pos++];
    ++digits;
  }
  if (text.substr(pos, decimalSeparator.size()) == decimalSeparator) {
    plain += '.';
    pos += decimalSeparator.size();
    while (pos < text.size() && IsDigit(text[pos])) {
      plain += text[pos++];
      ++digits;
    }
  }
  if (digits == 0) return std::nullopt;
  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
    plain += 'e';
    ++pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) plain += text[pos++];
    std::size_t exponentDigits = 0;
    while (pos < text.size() && IsDigit(text[pos])) {
      plain += text[pos++];
      ++exponentDigits;
    }
    if (exponentDigits == 0) return std::nullopt;
  }
  if (pos != text.size()) return std::nullopt;

  float value = 0.0f;
  const auto result = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (result.ptr != plain.data() + plain.size()) return std::nullopt;
  // Too big for a float, or too small to tell from zero: neither is a window position.
  if (result.ec != std::errc()) return std::nullopt;
  return value;
}

}  // namespace kestrova::settings
