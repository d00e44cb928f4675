#include "ui/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QLocale>
#include <QMenu>

#include <algorithm>
#include <cmath>
#include <exception>
#include <optional>
#include <string>
#include <utility>

#include "core/convert.h"
#include "settings/Persisted.h"
#include "settings/Registry.h"
#include "ui/frmabout.h"
#include "ui/platform.h"
#include "ui/units.h"
#include "ui/widgets.h"

namespace kestrova::ui {

namespace {

constexpr std::uint32_t kTeal = 0x00808000;
constexpr std::uint32_t kButtonText = 0x80000012;
constexpr std::uint32_t kEuroBoxColour = 0x00FFC0C0;
constexpr std::uint32_t kNationalBoxColour = 0x00FFFF00;

// Error numbers of the start-up report: a required part is missing / a part fails to load.
constexpr int kErrorComponentMissing = 339;
constexpr int kErrorComponentFailed = 50003;

QString Q(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

// Names a control as the design does, puts it in place and gives readers a name for it.
template <typename Control>
Control* Place(Control* control, const char* name, const QRect& place,
               const char* spoken = nullptr) {
  control->setObjectName(QString::fromLatin1(name));
  control->setGeometry(place);
  if (spoken) control->setAccessibleName(QString::fromLatin1(spoken));
  return control;
}

std::string DecimalSeparator() { return QLocale().decimalPoint().toStdString(); }

// Not QPixmap::load: its cache would hand two loads of one file the same picture. On a dense
// screen the picture comes from its name@2x twin when there is one, at the same size in the
// window's units, so nothing is blown up.
QPixmap LoadPicture(const QString& path, bool dense) {
  if (dense) {
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    QImage sharp(path.left(dot) + QStringLiteral("@2x") + path.mid(dot));
    if (!sharp.isNull()) {
      sharp.setDevicePixelRatio(2.0);
      return QPixmap::fromImage(sharp);
    }
  }
  return QPixmap::fromImage(QImage(path));
}

// Each restore and save step stands alone: one that fails is skipped without a word.
template <typename Step>
void RunStep(Step&& step) {
  try {
    step();
  } catch (const std::exception&) {
  }
}

void SetBoxColour(QWidget* box, std::uint32_t bgr) {
  QPalette palette = box->palette();
  palette.setColor(QPalette::Base, ColorFromBgr(bgr, palette));
  box->setPalette(palette);
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

// Window coordinates are kept in twips; pixels hold only whole numbers of them.
int TwipsToPixels(double twips) {
  constexpr double kLimit = 1.0e8;  // far off any screen, still far from int overflow
  if (!std::isfinite(twips)) return 0;
  return static_cast<int>(std::lround(std::clamp(twips, -kLimit, kLimit) / kTwipsPerPixel));
}

// Rounded half to even, then halved toward zero, as whole twips.
long long CentredOffset(double screenTwips, double windowTwips) {
  return static_cast<long long>(std::nearbyint(screenTwips - windowTwips)) / 2;
}

}  // namespace

const BackgroundRecord* FindBackground(std::string_view key) {
  for (const BackgroundRecord& row : kBackgrounds) {
    if (row.key == key) return &row;
  }
  return nullptr;
}

QString StartupErrorText(int number, const QString& description) {
  QString advice;
  switch (number) {
    case kErrorComponentMissing:
      advice = QStringLiteral("Re-install the program to fix this.");
      break;
    case kErrorComponentFailed:
      advice = QStringLiteral(
          "Re-install the program to fix this, or get the latest Dornakits at Quillmere.");
      break;
    default: advice = QStringLiteral("Please inform the author with the error description above.");
  }
  const QString numberText =
      number < 0 ? QString::number(number) : QStringLiteral(" %1").arg(number);
  return QStringLiteral("An Error was generated:\r\nDescription: Error") + numberText +
         QStringLiteral(" - ") + description + QStringLiteral("\r\n\r\n") + advice;
}

frmMain::frmMain(QWidget* parent) : QWidget(parent) { buildControls(); }

frmMain::~frmMain() = default;

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

  SSPanel1_ = Place(new Panel3D(this), "SSPanel1", TwipsRect(0, 0, 3060, 2430), "SSPanel1");
  {
    QPalette palette = SSPanel1_->palette();
    palette.setColor(QPalette::Window, ColorFromBgr(kTeal, palette));
    palette.setColor(QPalette::WindowText, ColorFromBgr(kButtonText, palette));
    SSPanel1_->setPalette(palette);
  }
  Picture1_ =
      Place(new PictureBox(SSPanel1_), "Picture1", TwipsRect(90, 90, 2880, 2235), "Background");
  imgEuro_ = Place(new ImageBox(Picture1_), "imgEuro", TwipsRect(225, 225, 480, 480), "Euro");

  const QFont boxFont = SansFont(9.75);
  txtEURO_ =
      Place(new AmountBox(Picture1_), "txtEURO", TwipsRect(810, 300, 1830, 330), "Amount in euro");
  txtEURO_->setFont(boxFont);
  SetBoxColour(txtEURO_, kEuroBoxColour);

  imgFlags_ = Place(new ImageBox(Picture1_), "imgFlags", TwipsRect(225, 675, 480, 480),
                    "Flag of the chosen country");
  imgFlags_->setToolTip(QStringLiteral(" Double-click "));

  txtCURRENCIES_ = Place(new AmountBox(Picture1_), "txtCURRENCIES", TwipsRect(810, 750, 1830, 330),
                         "Amount in national currency");
  txtCURRENCIES_->setFont(boxFont);
  SetBoxColour(txtCURRENCIES_, kNationalBoxColour);

  // No spoken name: a screen reader reads the rate line itself, and its tooltip.
  Label1_ = Place(new FittingLabel(QStringLiteral("1 EUR = 1.95583 DEM"), Picture1_), "Label1",
                  TwipsRect(840, 1155, 1725, 255));
  Label1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  cmdAbout_ = Place(new PictureButton(QStringLiteral("&About"), Picture1_), "cmdAbout",
                    TwipsRect(225, 1530, 1185, 405), "About");
  cmdExit_ = Place(new PictureButton(QStringLiteral("E&xit"), Picture1_), "cmdExit",
                   TwipsRect(1455, 1530, 1185, 405), "Exit");
  for (PictureButton* button : {cmdAbout_, cmdExit_}) {
    QPalette palette = button->palette();
    palette.setColor(QPalette::ButtonText, ColorFromBgr(kButtonText, palette));
    button->setPalette(palette);
    button->setAutoDefault(false);
  }

  setTabOrder(txtEURO_, txtCURRENCIES_);
  setTabOrder(txtCURRENCIES_, cmdAbout_);
  setTabOrder(cmdAbout_, cmdExit_);

  // The flag and the background also answer keys, so nothing needs the mouse. The flag comes
  // last: the designed order stays as it was, and the flag is one Shift+Tab from the euro box.
  Picture1_->makeKeyboardControl(QAccessible::Pane, false);
  Picture1_->setAccessibleDescription(Q(kBackgrounds.front().spoken));
  imgFlags_->makeKeyboardControl(QAccessible::ButtonMenu, true);
  setTabOrder(cmdExit_, Picture1_);
  setTabOrder(Picture1_, imgFlags_);

  // Controls that hold state or pictures lie outside the client area, which cannot grow.
  lblHIDDENimg_ = Place(new QLabel(QStringLiteral("lblHIDDENimg"), this), "lblHIDDENimg",
                        TwipsRect(240, 4500, 2535, 270));
  lblHIDDENbg_ = Place(new QLabel(QStringLiteral("imgDefault"), this), "lblHIDDENbg",
                       TwipsRect(240, 4755, 2535, 270));

  auto addHidden = [this](const QString& key, const QRect& place) {
    auto* image = new ImageBox(this);
    image->setObjectName(key);
    image->setGeometry(place);
    hiddenImages_.insert(key, image);
  };
  addHidden(QStringLiteral("imgDefault"), TwipsRect(3240, 45, 3000, 3000));
  int top = 45;
  for (const BackgroundRecord& row : kBackgrounds) {
    if (row.key == "imgDefault") continue;
    top += 510;
    addHidden(Q(row.key), TwipsRect(3240, top, 2880, 2235));
  }
  static constexpr int kFlagLefts[] = {315, 930, 1515, 2160};
  static constexpr int kFlagTops[] = {2505, 3060, 3645};
  for (const core::CountryRecord& row : core::CountryTable()) {
    const int index = row.position - 1;
    addHidden(Q(row.flagKey), TwipsRect(kFlagLefts[index % 4], kFlagTops[index / 4], 480, 480));
  }

  // No menu bar: the country menu only ever shows as the flag's pop-up.
  mnuProject_ = new QMenu(QStringLiteral("&Project"), this);
  mnuProject_->setObjectName(QStringLiteral("mnuProject"));
  mnuCountries_ = mnuProject_->addMenu(QStringLiteral("&Countries"));
  mnuCountries_->setObjectName(QStringLiteral("mnuCountries"));
  for (const core::CountryRecord& row : core::CountryTable()) {
    QAction* entry = mnuCountries_->addAction(Q(row.caption));
    entry->setObjectName(Q(row.menuEntry));
    countryEntries_[std::size_t(row.position - 1)] = entry;
    connect(entry, &QAction::triggered, this, [this, &row] { mnuCountry_Click(row); });
  }

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
}

ImageBox* frmMain::hiddenImage(const QString& key) const {
  return hiddenImages_.value(key, nullptr);
}

bool frmMain::Form_Initialize(const StartupEnvironment& environment) {
  std::optional<std::pair<int, QString>> error;

  if (environment.checkInstance) {
    const auto instance = environment.checkInstance();
    if (instance.state == StartupEnvironment::Instance::AlreadyRunning) {
      platform::ShowMessage(
          nullptr, {QStringLiteral("Kestrova is already running."), QStringLiteral("Kestrova"),
                    platform::MessageIcon::Information});
      return false;
    }
    if (instance.state == StartupEnvironment::Instance::Failed) {
      error = {instance.errorNumber, instance.errorDescription};
    }
  }

  const QByteArrayList formats =
      environment.imageFormats ? environment.imageFormats() : QImageReader::supportedImageFormats();
  // Only the first failure is reported.
  auto fail = [&](int number, const QString& description) {
    if (!error) error = {number, description};
  };
  for (const char* format : {"gif", "jpeg", "ico"}) {
    if (!formats.contains(format)) {
      fail(kErrorComponentMissing,
           QStringLiteral("Component '%1 image support' or one of its dependencies is missing")
               .arg(QString::fromLatin1(format).toUpper()));
    }
  }

  const QString root = environment.pictureRoot;
  const bool dense = qApp->devicePixelRatio() > 1.0;
  // The picture's path, or nothing when it is missing (reported).
  auto find = [&](const QString& relative) -> std::optional<QString> {
    const QString path = root + QLatin1Char('/') + relative;
    if (QFile::exists(path)) return path;
    fail(kErrorComponentMissing, QStringLiteral("File not found: ") + relative);
    return std::nullopt;
  };
  auto undecodable = [&](const QString& relative) {
    fail(kErrorComponentFailed, QStringLiteral("Unexpected error loading ") + relative);
  };
  auto load = [&](const QString& relative) {
    QPixmap picture;
    if (const auto path = find(relative)) {
      picture = LoadPicture(*path, dense);
      if (picture.isNull()) undecodable(relative);
    }
    return picture;
  };
  // The same checks from the file's header alone; the picture is decoded when first asked for.
  auto loadLater = [&](const QString& relative) -> std::function<QPixmap()> {
    const auto path = find(relative);
    if (!path) return {};
    if (QImageReader header(*path); !header.canRead() || !header.size().isValid()) {
      undecodable(relative);
      return {};
    }
    return [path = *path, dense] { return LoadPicture(path, dense); };
  };
  for (const core::CountryRecord& row : core::CountryTable()) {
    hiddenImage(Q(row.flagKey))
        ->setPicture(load(QStringLiteral("flags/%1.gif").arg(Q(row.flagKey))));
  }
  // A start shows one of these at most and most runs none: decoding all eight here was the
  // largest part of what start-up costs beyond a bare window.
  for (const BackgroundRecord& row : kBackgrounds) {
    hiddenImage(Q(row.key))
        ->setPictureReader(loadLater(QStringLiteral("backgrounds/%1.jpg").arg(Q(row.key))));
  }
  // The designed background and the button face are pictures of their own, not imgDefault's.
  Picture1_->setPicture(load(QStringLiteral("backgrounds/imgDefault.jpg")));
  const QPixmap face = load(QStringLiteral("pictures/buttonface.jpg"));
  cmdAbout_->setPicture(face);
  cmdExit_->setPicture(face);
  imgEuro_->setPicture(load(QStringLiteral("pictures/imgEuro.ico")));
  const QPixmap icon = load(QStringLiteral("pictures/kestrova.ico"));
  if (!icon.isNull()) setWindowIcon(QIcon(icon));

  if (error) {
    platform::ShowMessage(nullptr, {StartupErrorText(error->first, error->second),
                                    QStringLiteral("Error"), platform::MessageIcon::None});
  }
  return true;
}

void frmMain::Form_Load() {
  namespace reg = settings::Registry;
  const std::string key(settings::kSettingsKey);
  const std::string separator = DecimalSeparator();

  RunStep([&] { reg::CreateSettingsKey(key); });
  RunStep([&] {
    if (auto top = settings::ParseSingle(ReadSetting(settings::kTop), separator)) {
      move(pos().x(), TwipsToPixels(*top));
    }
  });
  RunStep([&] {
    if (auto left = settings::ParseSingle(ReadSetting(settings::kLeft), separator)) {
      move(TwipsToPixels(*left), pos().y());
    }
  });
  RunStep([&] {
    const QRect frame = frameGeometry();
    if (frame.top() >= 0 && frame.left() >= 0) return;
    const QSize screen = platform::ScreenSizeTwips();
    const long long left = CentredOffset(screen.width(), double(frame.width()) * kTwipsPerPixel);
    const long long top = CentredOffset(screen.height(), double(frame.height()) * kTwipsPerPixel);
    move(TwipsToPixels(double(left)), TwipsToPixels(double(top)));
  });
  RunStep([&] { txtEURO_->setText(Q(ReadSetting(settings::kEuro))); });

  if (txtEURO_->text() == Q(settings::kErrorText)) {
    // First run. "40.34", not "40,34": the boxes read only up to a comma, so the first key
    // release in the national box would otherwise show 0.99 for one euro's worth.
    txtEURO_->setText(QStringLiteral("1"));
    txtCURRENCIES_->setText(QStringLiteral("40.34"));
    applyCountry(core::CountryTable().front());
    lblHIDDENbg_->setText(Q(kBackgrounds.front().key));
    return;
  }

  RunStep([&] { txtCURRENCIES_->setText(Q(ReadSetting(settings::kCurrency))); });
  RunStep([&] { lblHIDDENimg_->setText(Q(ReadSetting(settings::kImage))); });
  RunStep([&] { Label1_->setText(Q(ReadSetting(settings::kDescription))); });
  RunStep([&] { Label1_->setToolTip(Q(ReadSetting(settings::kTooltip))); });
  RunStep([&] { lblHIDDENbg_->setText(Q(ReadSetting(settings::kBackground))); });
  RunStep([&] { restoreFlagFromKey(); });
  RunStep([&] {
    if (const BackgroundRecord* row = FindBackground(lblHIDDENbg_->text().toStdString())) {
      applyBackground(*row);
    }
  });
}

void frmMain::Form_Activate() { focusONtxtEURO(); }

void frmMain::Form_QueryUnload() {
  const std::string separator = DecimalSeparator();
  // The eight writes of one close reach the disk together.
  settings::Batch batch(settings::Registry::CurrentStore());
  if (!isMinimized()) {
    const QRect frame = frameGeometry();
    RunStep([&] {
      WriteSetting(settings::kTop,
                   Q(settings::FormatSingle(float(frame.top()) * kTwipsPerPixel, separator)));
    });
    RunStep([&] {
      WriteSetting(settings::kLeft,
                   Q(settings::FormatSingle(float(frame.left()) * kTwipsPerPixel, separator)));
    });
  }
  RunStep([&] { WriteSetting(settings::kEuro, txtEURO_->text()); });
  RunStep([&] { WriteSetting(settings::kCurrency, txtCURRENCIES_->text()); });
  RunStep([&] { WriteSetting(settings::kImage, lblHIDDENimg_->text()); });
  RunStep([&] { WriteSetting(settings::kDescription, Label1_->text()); });
  RunStep([&] { WriteSetting(settings::kTooltip, Label1_->toolTip()); });
  RunStep([&] { WriteSetting(settings::kBackground, lblHIDDENbg_->text()); });
}

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
  flagPicture_ = imgFlags_->picture();
  const QPixmap shown = flagPicture_;
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
                                  operation, DecimalSeparator());
  if (text && Q(*text) != target->text()) target->setText(Q(*text));
}

void frmMain::calcEUROto() { convert(txtEURO_, txtCURRENCIES_, core::Operation::EuroToNational); }

void frmMain::calcToEURO() { convert(txtCURRENCIES_, txtEURO_, core::Operation::NationalToEuro); }

void frmMain::showFlag(const core::CountryRecord& row) {
  const ImageBox* flag = hiddenImage(Q(row.flagKey));
  if (!flag) return;
  imgFlags_->setPicture(flag->picture());
  // A screen reader cannot see the flag; it hears the country.
  imgFlags_->setAccessibleDescription(Q(row.caption));
}

void frmMain::applyCountry(const core::CountryRecord& row) {
  showFlag(row);
  Label1_->setText(Q(row.rateLine));
  Label1_->setToolTip(Q(row.currencyName));
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
  SetBoxColour(txtEURO_, row.boxColour);
  SetBoxColour(txtCURRENCIES_, row.boxColour);
  lblHIDDENbg_->setText(Q(row.key));
  Picture1_->setAccessibleDescription(Q(row.spoken));
}

void frmMain::txtEURO_KeyUp() { calcEUROto(); }

void frmMain::txtCURRENCIES_KeyUp() { calcToEURO(); }

void frmMain::mnuCountry_Click(const core::CountryRecord& row) {
  applyCountry(row);
  enableAllCountryMenus();
  calcEUROto();
}

void frmMain::imgFlags_DblClick() {
  if (const core::CountryRecord* row = findCountryByFlag()) applyCountry(core::NextCountry(*row));
  enableAllCountryMenus();
  calcEUROto();
}

void frmMain::imgFlags_MouseDown(int button) {
  if (button != kRightButton) return;
  showCountryMenu(QCursor::pos());
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
    if (const BackgroundRecord* next = FindBackground(row->successor)) applyBackground(*next);
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
