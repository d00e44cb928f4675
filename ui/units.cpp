#include "ui/units.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QWidget>

#include <cmath>

namespace kestrova::ui {

QColor ColorFromBgr(std::uint32_t value, const QPalette& palette) {
  if ((value & 0xFF000000u) == 0x80000000u) {
    // Only the system colours the windows use; anything else falls back to the window text.
    switch (value & 0xFFu) {
      case 0x05: return palette.color(QPalette::Base);        // window background
      case 0x08: return palette.color(QPalette::WindowText);  // window text
      case 0x0F: return palette.color(QPalette::Button);      // button face
      case 0x10: return palette.color(QPalette::Dark);        // button shadow
      case 0x12: return palette.color(QPalette::ButtonText);  // button text
      case 0x14: return palette.color(QPalette::Light);       // 3-D highlight
      case 0x16: return palette.color(QPalette::Midlight);    // 3-D light
      default: return palette.color(QPalette::WindowText);
    }
  }
  return QColor(int(value & 0xFFu), int((value >> 8) & 0xFFu), int((value >> 16) & 0xFFu));
}

void SetColour(QWidget* control, QPalette::ColorRole role, std::uint32_t bgr) {
  QPalette palette = control->palette();
  palette.setColor(role, ColorFromBgr(bgr, palette));
  control->setPalette(palette);
}

QFont SansFont(double pointSize, bool bold) {
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(pointSize);
  font.setBold(bold);
  return font;
}

QFont FontToFit(QFont font, const QString& text, int width) {
  while (std::ceil(QFontMetricsF(font).horizontalAdvance(text)) > width &&
         font.pointSizeF() > 6.0) {
    font.setPointSizeF(font.pointSizeF() - 0.25);
  }
  return font;
}

}  // namespace kestrova::ui
