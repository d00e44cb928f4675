#pragma once

#include <QByteArrayList>
#include <QHash>
#include <QPixmap>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>

#include "core/convert.h"
#include "core/currency.h"
#include "ui/platform.h"

class QAction;
class QLabel;
class QMenu;

namespace kestrova::ui {

class AmountBox;
class FittingLabel;
class ImageBox;
class Panel3D;
class PictureBox;
class PictureButton;

// One background the window can wear; its picture is the hidden image named by `key`.
struct BackgroundRecord {
  std::string_view key;
  std::uint32_t boxColour;  // 0x00BBGGRR
  std::string_view successor;
  std::string_view spoken;  // what a screen reader says for a picture it cannot see
};

inline constexpr std::array<BackgroundRecord, 8> kBackgrounds = {{
    {"imgDefault", 0x00FFFF00, "imgFive", "Default texture"},
    {"imgFive", 0x00FFC0C0, "imgTen", "5 euro banknote"},
    {"imgTen", 0x00C0C0FF, "imgTwenty", "10 euro banknote"},
    {"imgTwenty", 0x00FFC0C0, "imgFifty", "20 euro banknote"},
    {"imgFifty", 0x00C0E0FF, "imgOnehundred", "50 euro banknote"},
    {"imgOnehundred", 0x00C0FFC0, "imgTwohundred", "100 euro banknote"},
    {"imgTwohundred", 0x00C0FFFF, "imgFivehundred", "200 euro banknote"},
    {"imgFivehundred", 0x00FFC0FF, "imgDefault", "500 euro banknote"},
}};

const BackgroundRecord* FindBackground(std::string_view key);

// What start-up needs from outside the window; tests replace parts of it.
struct StartupEnvironment {
  using Instance = platform::SingleInstance::State;
  struct InstanceResult {
    Instance state = Instance::First;
    int errorNumber = 0;
    QString errorDescription;
  };
  std::function<InstanceResult()> checkInstance;  // empty: always the first copy
  QString pictureRoot = QStringLiteral(":");      // where flags/, backgrounds/, pictures/ are
  std::function<QByteArrayList()> imageFormats;   // empty: what Qt can read
};

// The text of the start-up error report.
QString StartupErrorText(int number, const QString& description);

class frmMain : public QWidget {
  Q_OBJECT
 public:
  explicit frmMain(QWidget* parent = nullptr);
  ~frmMain() override;

  // Refuses a second copy (false: end now, nothing shown, store untouched) and loads the
  // pictures; its own failures go to the start-up error report and start-up goes on.
  bool Form_Initialize(const StartupEnvironment& environment = {});
  // Whether closing this window ends the program (the real run) or only the window (tests).
  void setEndsProgram(bool ends) { endsProgram_ = ends; }
  void Form_Load();
  void Form_Activate();
  void Form_QueryUnload();
  void Form_Unload();

  void calcEUROto();
  void calcToEURO();
  void focusONtxtEURO();
  const core::CountryRecord* findCountryByFlag();

  void applyCountry(const core::CountryRecord& row);
  void enableAllCountryMenus();
  void restoreFlagFromKey();
  void applyBackground(const BackgroundRecord& row);

  // Handlers, public so the same paths serve events and tests.
  void txtEURO_KeyUp();
  void txtCURRENCIES_KeyUp();
  void imgFlags_DblClick();
  void imgFlags_MouseDown(int button);
  void imgFlags_KeyMenu();  // Menu key or Shift+F10 on the flag: the right button's pop-up
  void Picture1_DblClick();
  void cmdExit_Click();
  void cmdAbout_Click();
  void mnuCountry_Click(const core::CountryRecord& row);

  // The hidden image that holds the picture of a country or background key; nullptr if none.
  ImageBox* hiddenImage(const QString& key) const;
  QMenu* countryMenu() const { return mnuCountries_; }

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildControls();
  void showFlag(const core::CountryRecord& row);
  void convert(const AmountBox* source, AmountBox* target, core::Operation operation);
  void showCountryMenu(const QPoint& at);

  Panel3D* SSPanel1_ = nullptr;
  PictureBox* Picture1_ = nullptr;
  ImageBox* imgEuro_ = nullptr;
  AmountBox* txtEURO_ = nullptr;
  ImageBox* imgFlags_ = nullptr;
  AmountBox* txtCURRENCIES_ = nullptr;
  QLabel* Label1_ = nullptr;
  PictureButton* cmdAbout_ = nullptr;
  PictureButton* cmdExit_ = nullptr;
  QLabel* lblHIDDENimg_ = nullptr;
  QLabel* lblHIDDENbg_ = nullptr;
  QHash<QString, ImageBox*> hiddenImages_;
  QMenu* mnuProject_ = nullptr;
  QMenu* mnuCountries_ = nullptr;
  std::array<QAction*, core::kCountryCount> countryEntries_{};

  QPixmap flagPicture_;  // the picture the last lookup read from imgFlags
  bool activatedOnce_ = false;
  bool handedToOwnWindow_ = false;
  bool closed_ = false;
  bool endsProgram_ = false;
};

}  // namespace kestrova::ui
