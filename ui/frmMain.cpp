// The main window's behaviour: its handlers and the steps they share.
#include "ui/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QImageReader>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMetaMethod>

#include <string>

#include "ui/frmabout.h"
#include "ui/language.h"
#include "ui/pictures.h"
#include "ui/platform.h"
#include "ui/units.h"
#include "ui/widgets.h"

#include "core/entry.h"

namespace kestrova::ui {

frmMain::frmMain(QWidget* parent) : QWidget(parent) {
  buildControls();
  connectHandlers();
}

frmMain::~frmMain() = default;

void frmMain::connectHandlers() {
  connect(txtEURO_, &AmountBox::KeyPress, this, &frmMain::txtEURO_KeyPress);
  connect(txtCURRENCIES_, &AmountBox::KeyPress, this, &frmMain::txtCURRENCIES_KeyPress);
  connect(txtEURO_, &AmountBox::KeyUp, this, &frmMain::txtEURO_KeyUp);
  connect(txtCURRENCIES_, &AmountBox::KeyUp, this, &frmMain::txtCURRENCIES_KeyUp);
  connect(imgFlags_, &ImageBox::DblClick, this, &frmMain::imgFlags_DblClick);
  connect(imgFlags_, &ImageBox::MouseDown, this, &frmMain::imgFlags_MouseDown);
  connect(Picture1_, &PictureBox::DblClick, this, &frmMain::Picture1_DblClick);
  connect(imgFlags_, &ImageBox::KeyActivate, this, &frmMain::imgFlags_DblClick);
  connect(imgFlags_, &ImageBox::KeyMenu, this, &frmMain::imgFlags_KeyMenu);
  connect(Picture1_, &ImageBox::KeyActivate, this, &frmMain::Picture1_DblClick);
  connect(cmdAbout_, &QPushButton::clicked, this, &frmMain::cmdAbout_Click);
  connect(cmdExit_, &QPushButton::clicked, this, &frmMain::cmdExit_Click);
  for (const core::CountryRecord& row : core::CountryTable()) {
    QAction* entry = countryEntries_[std::size_t(row.position - 1)];
    const QByteArray handler = QByteArray(row.menuEntry.data(), qsizetype(row.menuEntry.size())) +
                               QByteArrayLiteral("_Click()");
    if (const int index = metaObject()->indexOfSlot(handler.constData()); index >= 0) {
      connect(entry, &QAction::triggered, this,
              [this, method = metaObject()->method(index)] { method.invoke(this); });
    } else {
      connect(entry, &QAction::triggered, this, [this, &row] { mnuCountry_Click(row); });
    }
  }
}

ImageBox* frmMain::hiddenImage(const QString& key) const {
  return hiddenImages_.value(key, nullptr);
}

bool frmMain::Form_Initialize(const StartupEnvironment& environment) {
  StartupReport report;
  if (environment.checkInstance) {
    const auto instance = environment.checkInstance();
    if (instance.state == StartupEnvironment::Instance::AlreadyRunning) {
      platform::ShowMessage(nullptr,
                            {tr("Kestrova is already running."), QStringLiteral("Kestrova"),
                             platform::MessageIcon::Information});
      return false;
    }
    if (instance.state == StartupEnvironment::Instance::Failed) {
      report.fail(instance.errorNumber, instance.errorDescription);
    }
  }
  placeKnown_ =
      environment.knowsWindowPlace ? environment.knowsWindowPlace() : platform::KnowsWindowPlace();
  PictureLoader pictures(
      environment.pictureRoot,
      environment.imageFormats ? environment.imageFormats() : QImageReader::supportedImageFormats(),
      report);
  loadPictures(pictures);
  report.show();
  return true;
}

void frmMain::Form_Activate() { focusONtxtEURO(); }

void frmMain::Form_Unload() {
  if (endsProgram_) QCoreApplication::exit(0);
}

bool frmMain::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::WindowActivate:
      // Activation from within the program counts (first show, a modal window closing);
      // coming back from another application does not.
      if (!activatedOnce_ || handedToOwnWindow_) {
        activatedOnce_ = true;
        handedToOwnWindow_ = false;
        Form_Activate();
      }
      break;
    case QEvent::WindowDeactivate:
      if (QApplication::activeWindow() != nullptr && QApplication::activeWindow() != this) {
        handedToOwnWindow_ = true;
      }
      break;
    default: break;
  }
  return QWidget::event(event);
}

void frmMain::closeEvent(QCloseEvent* event) {
  // Every way of closing saves once; none can refuse the close.
  event->accept();
  if (closed_) return;
  closed_ = true;
  Form_QueryUnload();
  Form_Unload();
}

void frmMain::focusONtxtEURO() {
  txtEURO_->setFocus(Qt::ActiveWindowFocusReason);
  txtEURO_->setSelection(0, int(txtEURO_->text().size()));
}

const core::CountryRecord* frmMain::findCountryByFlag() {
  const QPixmap shown = imgFlags_->picture();
  // A picture is a country's only if it is that country's very picture; no picture is none.
  if (shown.isNull()) return nullptr;
  for (const core::CountryRecord& row : core::CountryTable()) {
    const ImageBox* flag = hiddenImage(Q(row.flagKey));
    if (flag && !flag->picture().isNull() && flag->picture().cacheKey() == shown.cacheKey()) {
      return &row;
    }
  }
  return nullptr;
}

void frmMain::convert(const AmountBox* source, AmountBox* target, core::Operation operation) {
  const core::CountryRecord* row = findCountryByFlag();
  const auto text = core::Convert(source->text().toStdString(), target->text().toStdString(), row,
                                  operation, QLocale().decimalPoint().toStdString());
  if (text && Q(*text) != target->text()) target->setText(Q(*text));
}

void frmMain::calcEUROto() { convert(txtEURO_, txtCURRENCIES_, core::Operation::EuroToNational); }

void frmMain::calcToEURO() { convert(txtCURRENCIES_, txtEURO_, core::Operation::NationalToEuro); }

void frmMain::showFlag(const core::CountryRecord& row) {
  const ImageBox* flag = hiddenImage(Q(row.flagKey));
  if (!flag) return;
  imgFlags_->setPicture(flag->picture());
  // A screen reader cannot see the flag; it hears the country.
  imgFlags_->setAccessibleDescription(Translated("Country", row.caption));
}

void frmMain::setCurrencyName(const QString& stored) {
  // What a close keeps stays the English text; only what is shown and heard is translated.
  Label1_->setToolTip(stored);
  Label1_->setShownToolTip(ShownCurrencyName(stored));
}

void frmMain::applyCountry(const core::CountryRecord& row) {
  showFlag(row);
  Label1_->setText(Q(row.rateLine));
  setCurrencyName(Q(row.currencyName));
  lblHIDDENimg_->setText(Q(row.flagKey));
}

void frmMain::enableAllCountryMenus() {
  for (QAction* entry : countryEntries_) entry->setEnabled(true);
}

void frmMain::restoreFlagFromKey() {
  if (const core::CountryRecord* row =
          core::FindCountryByKey(lblHIDDENimg_->text().toStdString())) {
    showFlag(*row);
  }
}

void frmMain::applyBackground(const BackgroundRecord& row) {
  const ImageBox* source = hiddenImage(Q(row.key));
  const QPixmap picture = source ? source->picture() : QPixmap();
  Picture1_->setPicture(picture);
  cmdAbout_->setPicture(picture);
  cmdExit_->setPicture(picture);
  SetColour(txtEURO_, QPalette::Base, row.boxColour);
  SetColour(txtCURRENCIES_, QPalette::Base, row.boxColour);
  lblHIDDENbg_->setText(Q(row.key));
  Picture1_->setAccessibleDescription(Translated("Background", row.spoken));
}

// Both boxes take the same characters: the code the filter gives back replaces the typed one.
void frmMain::txtEURO_KeyPress(int& KeyAscii) {
  KeyAscii = std::stoi(core::LimitTextInput(KeyAscii));
}

void frmMain::txtCURRENCIES_KeyPress(int& KeyAscii) {
  KeyAscii = std::stoi(core::LimitTextInput(KeyAscii));
}

void frmMain::txtEURO_KeyUp() { calcEUROto(); }

void frmMain::txtCURRENCIES_KeyUp() { calcToEURO(); }

void frmMain::mnuCountry_Click(const core::CountryRecord& row) {
  applyCountry(row);
  enableAllCountryMenus();
  calcEUROto();
}

void frmMain::countryEntry_Click(std::string_view menuEntry) {
  for (const core::CountryRecord& row : core::CountryTable()) {
    if (row.menuEntry == menuEntry) {
      mnuCountry_Click(row);
      return;
    }
  }
}

void frmMain::mnuBelgium_Click() { countryEntry_Click("mnuBelgium"); }
void frmMain::mnuGermany_Click() { countryEntry_Click("mnuGermany"); }
void frmMain::mnuFinland_Click() { countryEntry_Click("mnuFinland"); }
void frmMain::mnuFrance_Click() { countryEntry_Click("mnuFrance"); }
void frmMain::mnuGreece_Click() { countryEntry_Click("mnuGreece"); }
void frmMain::mnuIreland_Click() { countryEntry_Click("mnuIreland"); }
void frmMain::mnuItaly_Click() { countryEntry_Click("mnuItaly"); }
void frmMain::mnuLuxembourg_Click() { countryEntry_Click("mnuLuxembourg"); }
void frmMain::mnuHolland_Click() { countryEntry_Click("mnuHolland"); }
void frmMain::mnuAustria_Click() { countryEntry_Click("mnuAustria"); }
void frmMain::mnuPortugal_Click() { countryEntry_Click("mnuPortugal"); }
void frmMain::mnuSpain_Click() { countryEntry_Click("mnuSpain"); }

void frmMain::imgFlags_DblClick() {
  if (const core::CountryRecord* row = findCountryByFlag()) applyCountry(core::NextCountry(*row));
  enableAllCountryMenus();
  calcEUROto();
}

void frmMain::imgFlags_MouseDown(int button, const QPoint& at) {
  if (button != kRightButton) return;
  // At the press itself: not every platform tells the program where the pointer is now.
  showCountryMenu(at);
}

void frmMain::imgFlags_KeyMenu() {
  // The pointer may be anywhere; the pop-up opens under the flag the focus is on.
  showCountryMenu(imgFlags_->mapToGlobal(QPoint(0, imgFlags_->height())));
}

void frmMain::showCountryMenu(const QPoint& at) {
  if (const core::CountryRecord* row = findCountryByFlag()) {
    countryEntries_[std::size_t(row->position - 1)]->setEnabled(false);
  }
  mnuCountries_->exec(at);
}

void frmMain::Picture1_DblClick() {
  if (const BackgroundRecord* row = FindBackground(lblHIDDENbg_->text().toStdString())) {
    applyBackground(NextBackground(*row));
  }
}

void frmMain::cmdExit_Click() { close(); }

void frmMain::cmdAbout_Click() {
  ShowAbout(this);
  // The main window is active again once the about window has gone; a minimised one waits
  // until the user brings it back.
  if (!isMinimized()) activateWindow();
}

}  // namespace kestrova::ui
