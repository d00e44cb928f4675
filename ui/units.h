#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QRect>
#include <QString>

#include <cstdint>
#include <string_view>

class QWidget;

namespace kestrova::ui {

// Layouts are given in twips; 15 twips make one device-independent pixel.
inline constexpr int kTwipsPerPixel = 15;

constexpr int Px(int twips) { return twips / kTwipsPerPixel; }
constexpr QRect TwipsRect(int left, int top, int width, int height) {
  return QRect(Px(left), Px(top), Px(width), Px(height));
}

// The texts of core/ and settings/ are UTF-8.
inline QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// Colours are written 0x00BBGGRR; 0x800000nn names a system colour, mapped onto the palette.
QColor ColorFromBgr(std::uint32_t value, const QPalette& palette = QPalette());

// Gives `control` the colour `bgr` in `role`.
void SetColour(QWidget* control, QPalette::ColorRole role, std::uint32_t bgr);

// The desktop's default sans serif at a point size such as 8.25 or 9.75.
QFont SansFont(double pointSize, bool bold = false);

// `font`, narrowed in quarter points (not below 6 pt) until `text` fits in `width` pixels: the
// layouts were drawn for a narrower font than most desktops have.
QFont FontToFit(QFont font, const QString& text, int width);

}  // namespace kestrova::ui
