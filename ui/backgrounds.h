#pragma once

#include <QtGlobal>

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>

namespace kestrova::ui {

// One background the window can wear. Its picture is the hidden image named by `key`, read from
// assets/backgrounds/<key>.jpg (and <key>@2x.jpg for dense screens).
struct BackgroundRecord {
  std::string_view key;
  std::uint32_t boxColour;  // 0x00BBGGRR
  std::string_view spoken;  // what a screen reader says for a picture it cannot see (English)
};

// In the order of the double-click cycle: each row is followed by the next, the last by the
// first. A background is one row here plus its pictures.
inline constexpr BackgroundRecord kBackgrounds[] = {
    {"imgDefault", 0x00FFFF00, QT_TRANSLATE_NOOP("Background", "Default texture")},
    {"imgFive", 0x00FFC0C0, QT_TRANSLATE_NOOP("Background", "5 euro banknote")},
    {"imgTen", 0x00C0C0FF, QT_TRANSLATE_NOOP("Background", "10 euro banknote")},
    {"imgTwenty", 0x00FFC0C0, QT_TRANSLATE_NOOP("Background", "20 euro banknote")},
    {"imgFifty", 0x00C0E0FF, QT_TRANSLATE_NOOP("Background", "50 euro banknote")},
    {"imgOnehundred", 0x00C0FFC0, QT_TRANSLATE_NOOP("Background", "100 euro banknote")},
    {"imgTwohundred", 0x00C0FFFF, QT_TRANSLATE_NOOP("Background", "200 euro banknote")},
    {"imgFivehundred", 0x00FFC0FF, QT_TRANSLATE_NOOP("Background", "500 euro banknote")},
};

// The row whose key is exactly `key`, the first in table order; nullptr if none.
constexpr const BackgroundRecord* FindBackground(std::string_view key) {
  for (const BackgroundRecord& row : kBackgrounds) {
    if (row.key == key) return &row;
  }
  return nullptr;
}

// The row a double-click moves on to from `row`, one of the table's own.
constexpr const BackgroundRecord& NextBackground(const BackgroundRecord& row) {
  const auto next = static_cast<std::size_t>(&row - kBackgrounds) + 1;
  return kBackgrounds[next % std::size(kBackgrounds)];
}

}  // namespace kestrova::ui
