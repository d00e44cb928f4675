// What outlives a run: the values a close keeps and a start brings back, one row each, and the
// restore (Form_Load) and save (Form_QueryUnload) that walk the rows in their order.
#include <QLabel>
#include <QLocale>

#include <algorithm>
#include <cmath>
#include <exception>

#include "settings/Persisted.h"
#include "settings/Registry.h"
#include "ui/frmMain.h"
#include "ui/units.h"
#include "ui/widgets.h"

namespace kestrova::ui {

namespace {

std::string DecimalSeparator() { return QLocale().decimalPoint().toStdString(); }

// Window coordinates are kept in twips; pixels hold only whole numbers of them.
int TwipsToPixels(double twips) {
  constexpr double kLimit = 1.0e8;  // far off any screen, still far from int overflow
  if (!std::isfinite(twips)) return 0;
  return static_cast<int>(std::lround(std::clamp(twips, -kLimit, kLimit) / kTwipsPerPixel));
}

// A text that is no number leaves the coordinate as it is.
std::optional<int> PixelsFrom(const std::string& text) {
  const auto twips = settings::ParseSingle(text, DecimalSeparator());
  if (!twips) return std::nullopt;
  return TwipsToPixels(*twips);
}

QString TwipsText(int pixels) {
  return Q(settings::FormatSingle(float(pixels) * kTwipsPerPixel, DecimalSeparator()));
}

// Rounded half to even, then halved toward zero, as whole twips.
long long CentredOffset(double screenTwips, double windowTwips) {
  return static_cast<long long>(std::nearbyint(screenTwips - windowTwips)) / 2;
}

// Each restore and save step stands alone: one that fails is skipped without a word.
template <typename Step>
void RunStep(Step&& step) {
  try {
    step();
  } catch (const std::exception&) {
  }
}

std::string ReadSetting(std::string_view name) {
  // No value (a malformed path) reads as the empty text.
  return settings::Registry::ReadSettingValue(std::string(settings::kSettingsKey),
                                              std::string(name))
      .value_or(std::string());
}

void WriteSetting(std::string_view name, const QString& value) {
  settings::Registry::WriteSettingValue(std::string(settings::kSettingsKey), std::string(name),
                                        value.toStdString());
}

}  // namespace

std::span<const frmMain::SavedValue> frmMain::SavedValues() {
  static constexpr SavedValue kValues[] = {
      {settings::kTop, true,
       [](frmMain& w, const std::string& text) {
         if (const auto top = PixelsFrom(text)) w.move(w.pos().x(), *top);
       },
       [](const frmMain& w) { return TwipsText(w.frameGeometry().top()); }},
      {settings::kLeft, true,
       [](frmMain& w, const std::string& text) {
         if (const auto left = PixelsFrom(text)) w.move(*left, w.pos().y());
       },
       [](const frmMain& w) { return TwipsText(w.frameGeometry().left()); }},
      {settings::kEuro, false,
       [](frmMain& w, const std::string& text) { w.txtEURO_->setText(Q(text)); },
       [](const frmMain& w) { return w.txtEURO_->text(); }},
      {settings::kCurrency, false,
       [](frmMain& w, const std::string& text) { w.txtCURRENCIES_->setText(Q(text)); },
       [](const frmMain& w) { return w.txtCURRENCIES_->text(); }},
      {settings::kImage, false,
       [](frmMain& w, const std::string& text) { w.lblHIDDENimg_->setText(Q(text)); },
       [](const frmMain& w) { return w.lblHIDDENimg_->text(); }},
      {settings::kDescription, false,
       [](frmMain& w, const std::string& text) { w.Label1_->setText(Q(text)); },
       [](const frmMain& w) { return w.Label1_->text(); }},
      {settings::kTooltip, false,
       [](frmMain& w, const std::string& text) { w.setCurrencyName(Q(text)); },
       [](const frmMain& w) { return w.Label1_->toolTip(); }},
      {settings::kBackground, false,
       [](frmMain& w, const std::string& text) { w.lblHIDDENbg_->setText(Q(text)); },
       [](const frmMain& w) { return w.lblHIDDENbg_->text(); }},
  };
  return kValues;
}

void frmMain::Form_Load() {
  RunStep([] { settings::Registry::CreateSettingsKey(std::string(settings::kSettingsKey)); });
  for (const SavedValue& value : SavedValues()) {
    // Where the platform never tells the window's place, start-up does not pretend to set it.
    if (value.isPlace && !placeKnown_) continue;
    RunStep([&] { value.restore(*this, ReadSetting(value.name)); });
    if (value.name == settings::kLeft) RunStep([&] { centreWhenOffScreen(); });
    if (value.name == settings::kEuro && txtEURO_->text() == Q(settings::kErrorText)) {
      // First run. "40.34", not "40,34": the boxes read only up to a comma, so the first key
      // release in the national box would otherwise show 0.99 for one euro's worth.
      txtEURO_->setText(QStringLiteral("1"));
      txtCURRENCIES_->setText(QStringLiteral("40.34"));
      applyCountry(core::CountryTable().front());
      lblHIDDENbg_->setText(Q(kBackgrounds[0].key));
      return;
    }
  }
  RunStep([&] { restoreFlagFromKey(); });
  RunStep([&] {
    if (const BackgroundRecord* row = FindBackground(lblHIDDENbg_->text().toStdString())) {
      applyBackground(*row);
    }
  });
}

void frmMain::centreWhenOffScreen() {
  const QRect frame = frameGeometry();
  if (frame.top() >= 0 && frame.left() >= 0) return;
  const QSize screen = platform::ScreenSizeTwips();
  const long long left = CentredOffset(screen.width(), double(frame.width()) * kTwipsPerPixel);
  const long long top = CentredOffset(screen.height(), double(frame.height()) * kTwipsPerPixel);
  move(TwipsToPixels(double(left)), TwipsToPixels(double(top)));
}

void frmMain::Form_QueryUnload() {
  // The writes of one close reach the disk together.
  settings::Batch batch(settings::Registry::CurrentStore());
  // A minimised window's place, and one the platform never tells, stay as the store holds them.
  const bool placeKnown = placeKnown_ && !isMinimized();
  for (const SavedValue& value : SavedValues()) {
    if (value.isPlace && !placeKnown) continue;
    RunStep([&] { WriteSetting(value.name, value.save(*this)); });
  }
}

}  // namespace kestrova::ui
