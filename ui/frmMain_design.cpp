// The main window as designed: every control's name, place, look and picture, and the menu.
#include <QAction>
#include <QLabel>
#include <QMenu>

#include "ui/frmMain.h"
#include "ui/language.h"
#include "ui/pictures.h"
#include "ui/units.h"
#include "ui/widgets.h"

namespace kestrova::ui {

namespace {

constexpr std::uint32_t kTeal = 0x00808000;
constexpr std::uint32_t kButtonText = 0x80000012;
constexpr std::uint32_t kEuroBoxColour = 0x00FFC0C0;
constexpr std::uint32_t kNationalBoxColour = 0x00FFFF00;

// Names a control as the design does, puts it in place and gives readers a name for it.
template <typename Control>
Control* Place(Control* control, const char* name, const QRect& place, const QString& spoken = {}) {
  control->setObjectName(QString::fromLatin1(name));
  control->setGeometry(place);
  if (!spoken.isEmpty()) control->setAccessibleName(spoken);
  return control;
}

}  // namespace

void frmMain::buildControls() {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(QStringLiteral("Kestrova"));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setFont(SansFont(8.25));
  // The designed place: the client area 2700 x 2100 twips from the screen's top left.
  setGeometry(TwipsRect(2700, 2100, 3060, 2430));
  setFixedSize(Px(3060), Px(2430));
  setAccessibleName(QStringLiteral("Kestrova"));

  SSPanel1_ =
      Place(new Panel3D(this), "SSPanel1", TwipsRect(0, 0, 3060, 2430), tr("Euro converter"));
  SetColour(SSPanel1_, QPalette::Window, kTeal);
  SetColour(SSPanel1_, QPalette::WindowText, kButtonText);
  Picture1_ =
      Place(new PictureBox(SSPanel1_), "Picture1", TwipsRect(90, 90, 2880, 2235), tr("Background"));
  imgEuro_ = Place(new ImageBox(Picture1_), "imgEuro", TwipsRect(225, 225, 480, 480), tr("Euro"));

  const QFont boxFont = SansFont(9.75);
  txtEURO_ = Place(new AmountBox(Picture1_), "txtEURO", TwipsRect(810, 300, 1830, 330),
                   tr("Amount in euro"));
  txtEURO_->setFont(boxFont);
  SetColour(txtEURO_, QPalette::Base, kEuroBoxColour);

  imgFlags_ = Place(new ImageBox(Picture1_), "imgFlags", TwipsRect(225, 675, 480, 480),
                    tr("Flag of the chosen country"));
  imgFlags_->setToolTip(QLatin1Char(' ') + tr("Double-click") + QLatin1Char(' '));

  txtCURRENCIES_ = Place(new AmountBox(Picture1_), "txtCURRENCIES", TwipsRect(810, 750, 1830, 330),
                         tr("Amount in national currency"));
  txtCURRENCIES_->setFont(boxFont);
  SetColour(txtCURRENCIES_, QPalette::Base, kNationalBoxColour);

  // No spoken name: a screen reader reads the rate line itself, and its tooltip.
  Label1_ = Place(new FittingLabel(QStringLiteral("1 EUR = 1.95583 DEM"), Picture1_), "Label1",
                  TwipsRect(840, 1155, 1725, 255));
  Label1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  // Readers name the buttons by their captions.
  cmdAbout_ = Place(new PictureButton(tr("&About"), Picture1_), "cmdAbout",
                    TwipsRect(225, 1530, 1185, 405));
  cmdExit_ =
      Place(new PictureButton(tr("E&xit"), Picture1_), "cmdExit", TwipsRect(1455, 1530, 1185, 405));
  for (PictureButton* button : {cmdAbout_, cmdExit_}) {
    SetColour(button, QPalette::ButtonText, kButtonText);
    button->setAutoDefault(false);
  }

  setTabOrder(txtEURO_, txtCURRENCIES_);
  setTabOrder(txtCURRENCIES_, cmdAbout_);
  setTabOrder(cmdAbout_, cmdExit_);

  // The flag and the background also answer keys, so nothing needs the mouse. The flag comes
  // last: the designed order stays as it was, and the flag is one Shift+Tab from the euro box.
  Picture1_->makeKeyboardControl(QAccessible::Pane, false);
  Picture1_->setAccessibleDescription(Translated("Background", kBackgrounds[0].spoken));
  imgFlags_->makeKeyboardControl(QAccessible::ButtonMenu, true);
  setTabOrder(cmdExit_, Picture1_);
  setTabOrder(Picture1_, imgFlags_);

  // Controls that hold state or pictures lie outside the client area, which cannot grow: the
  // labels below it, the backgrounds right of it, the flags below it in rows of four.
  lblHIDDENimg_ = Place(new QLabel(QStringLiteral("lblHIDDENimg"), this), "lblHIDDENimg",
                        TwipsRect(240, 4500, 2535, 270));
  lblHIDDENbg_ = Place(new QLabel(QStringLiteral("imgDefault"), this), "lblHIDDENbg",
                       TwipsRect(240, 4755, 2535, 270));
  HideFromReaders(lblHIDDENimg_);
  HideFromReaders(lblHIDDENbg_);
  auto addHidden = [this](std::string_view key, const QRect& place) {
    auto* image = new ImageBox(this);
    image->setObjectName(Q(key));
    image->setGeometry(place);
    HideFromReaders(image);
    hiddenImages_.insert(Q(key), image);
  };
  int top = 45;
  for (const BackgroundRecord& row : kBackgrounds) {
    // The default texture is larger than the banknotes.
    const bool texture = &row == &kBackgrounds[0];
    addHidden(row.key,
              texture ? TwipsRect(3240, top, 3000, 3000) : TwipsRect(3240, top, 2880, 2235));
    top += 510;
  }
  for (const core::CountryRecord& row : core::CountryTable()) {
    const int index = row.position - 1;
    addHidden(row.flagKey, TwipsRect(315 + 615 * (index % 4), 2505 + 570 * (index / 4), 480, 480));
  }

  // No menu bar: the country menu only ever shows as the flag's pop-up.
  mnuProject_ = new QMenu(tr("&Project"), this);
  mnuProject_->setObjectName(QStringLiteral("mnuProject"));
  mnuCountries_ = mnuProject_->addMenu(tr("&Countries"));
  mnuCountries_->setObjectName(QStringLiteral("mnuCountries"));
  for (const core::CountryRecord& row : core::CountryTable()) {
    QAction* entry = mnuCountries_->addAction(Translated("Country", row.caption));
    entry->setObjectName(Q(row.menuEntry));
    countryEntries_[std::size_t(row.position - 1)] = entry;
  }
}

void frmMain::loadPictures(PictureLoader& pictures) {
  for (const core::CountryRecord& row : core::CountryTable()) {
    hiddenImage(Q(row.flagKey))
        ->setPicture(pictures.load(QStringLiteral("flags/%1.gif").arg(Q(row.flagKey))));
  }
  // A start shows one of these at most and most runs none: decoding all of them here was the
  // largest part of what start-up costs beyond a bare window.
  for (const BackgroundRecord& row : kBackgrounds) {
    hiddenImage(Q(row.key))
        ->setPictureReader(
            pictures.loadLater(QStringLiteral("backgrounds/%1.jpg").arg(Q(row.key))));
  }
  // The designed background and the button face are pictures of their own, not imgDefault's.
  Picture1_->setPicture(pictures.load(QStringLiteral("backgrounds/imgDefault.jpg")));
  const QPixmap face = pictures.load(QStringLiteral("pictures/buttonface.jpg"));
  cmdAbout_->setPicture(face);
  cmdExit_->setPicture(face);
  imgEuro_->setPicture(pictures.load(QStringLiteral("pictures/imgEuro.ico")));
  const QPixmap icon = pictures.load(QStringLiteral("pictures/kestrova.ico"));
  if (!icon.isNull()) setWindowIcon(QIcon(icon));
}

}  // namespace kestrova::ui
