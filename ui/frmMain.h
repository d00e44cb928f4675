#pragma once

#include <QHash>
#include <QWidget>

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "core/convert.h"
#include "core/currency.h"
#include "ui/backgrounds.h"
#include "ui/startup.h"

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
class PictureLoader;

// The main window. Its design (controls, places, looks, pictures) is in frmMain_design.cpp, the
// values a close keeps in frmMain_saved.cpp, its behaviour in frmMain.cpp.
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
  void txtEURO_KeyPress(int& KeyAscii);
  void txtCURRENCIES_KeyPress(int& KeyAscii);
  void txtEURO_KeyUp();
  void txtCURRENCIES_KeyUp();
  void imgFlags_DblClick();
  void imgFlags_MouseDown(int button, const QPoint& at);  // `at`: the press, on the screen
  void imgFlags_KeyMenu();  // Menu key or Shift+F10 on the flag: the right button's pop-up
  void Picture1_DblClick();
  void cmdExit_Click();
  void cmdAbout_Click();
  void mnuCountry_Click(const core::CountryRecord& row);

  // The hidden image that holds the picture of a country or background key; nullptr if none.
  ImageBox* hiddenImage(const QString& key) const;
  QMenu* countryMenu() const { return mnuCountries_; }

 public slots:
  // Each country entry runs the handler named after it (one without runs mnuCountry_Click).
  void mnuBelgium_Click();
  void mnuGermany_Click();
  void mnuFinland_Click();
  void mnuFrance_Click();
  void mnuGreece_Click();
  void mnuIreland_Click();
  void mnuItaly_Click();
  void mnuLuxembourg_Click();
  void mnuHolland_Click();
  void mnuAustria_Click();
  void mnuPortugal_Click();
  void mnuSpain_Click();

 public:
  // One value a close keeps and a start brings back: its name in the store, how the window takes
  // the stored text back and what text the window gives for it.
  struct SavedValue {
    std::string_view name;
    bool isPlace;  // a window coordinate, kept only where the platform tells the window's place
    void (*restore)(frmMain& window, const std::string& text);
    QString (*save)(const frmMain& window);
  };
  // In the order a start reads them and a close writes them.
  static std::span<const SavedValue> SavedValues();

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildControls();
  void loadPictures(PictureLoader& pictures);
  void connectHandlers();
  void centreWhenOffScreen();
  void showFlag(const core::CountryRecord& row);
  // The currency name on show as stored (Label1's tooltip text), shown in the user's language.
  void setCurrencyName(const QString& stored);
  void countryEntry_Click(std::string_view menuEntry);
  void convert(const AmountBox* source, AmountBox* target, core::Operation operation);
  void showCountryMenu(const QPoint& at);

  Panel3D* SSPanel1_ = nullptr;
  PictureBox* Picture1_ = nullptr;
  ImageBox* imgEuro_ = nullptr;
  AmountBox* txtEURO_ = nullptr;
  ImageBox* imgFlags_ = nullptr;
  AmountBox* txtCURRENCIES_ = nullptr;
  FittingLabel* Label1_ = nullptr;
  PictureButton* cmdAbout_ = nullptr;
  PictureButton* cmdExit_ = nullptr;
  QLabel* lblHIDDENimg_ = nullptr;
  QLabel* lblHIDDENbg_ = nullptr;
  QHash<QString, ImageBox*> hiddenImages_;
  QMenu* mnuProject_ = nullptr;
  QMenu* mnuCountries_ = nullptr;
  std::array<QAction*, core::kCountryCount> countryEntries_{};

  bool placeKnown_ = true;  // whether the platform tells where the window is
  bool activatedOnce_ = false;
  bool handedToOwnWindow_ = false;
  bool closed_ = false;
  bool endsProgram_ = false;
};

}  // namespace kestrova::ui
