#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestrova::settings {

inline constexpr std::string_view kSettingsKey = "HKEY_CURRENT_USER\\Software\\Quillmere\\Kestrova";

// What a read gives for a value it cannot read; in the euro box it marks a first run.
inline constexpr std::string_view kErrorText = "Error";

inline constexpr std::string_view kTop = "Top";
inline constexpr std::string_view kLeft = "Left";
inline constexpr std::string_view kEuro = "Euro";
inline constexpr std::string_view kCurrency = "Currency";
inline constexpr std::string_view kImage = "Image";
inline constexpr std::string_view kDescription = "Description";
inline constexpr std::string_view kTooltip = "Tooltip";
inline constexpr std::string_view kBackground = "Background";

// A window coordinate as a single-precision number in the user's locale: at most 7
// significant digits, no grouping, no trailing zeros, `decimalSeparator` before a fraction.
std::string FormatSingle(float value, std::string_view decimalSeparator);

// The reverse; nullopt for a text that is not such a number (e.g. "Error").
std::optional<float> ParseSingle(std::string_view text, std::string_view decimalSeparator);

}  // namespace kestrova::settings
