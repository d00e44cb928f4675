#pragma once

#include <QCursor>
#include <QDialog>
#include <QPointer>
#include <QUrl>

#include <functional>

class QLabel;
class QPushButton;

namespace kestrova::ui {

// The about window: title, version, rights line, terms and the homepage link.
// It keeps nothing between openings; each opening builds it anew.
class frmabout : public QDialog {
  Q_OBJECT

 public:
  using UrlOpener = std::function<bool(const QUrl&)>;
  using YearClock = std::function<int()>;

  // mainWindow owns the dialog, is what it is centred on, and is minimised by the link.
  explicit frmabout(QWidget* mainWindow);
  ~frmabout() override;

  // Replace how the link opens its address and where the current year comes from;
  // an empty function restores the desktop's browser and the system clock.
  static void SetUrlOpener(UrlOpener opener);
  static void SetYearClock(YearClock clock);

  void Form_Load();
  void cmdok_Click();
  void lblurl_Click();
  void lblurl_MouseMove();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QLabel* AddLabel(const char* name, QRect geometry, const QFont& font);
  void AddLine(const char* name, QRect geometry, const QColor& colour);

  QPointer<QWidget> mainWindow_;
  QLabel* lblprogtitle_ = nullptr;
  QLabel* lblversion_ = nullptr;
  QLabel* lblcopyright_ = nullptr;
  QLabel* lblcopyright2_ = nullptr;
  QLabel* lbltext1_ = nullptr;
  QLabel* lbltext2_ = nullptr;
  QLabel* lbltext3_ = nullptr;
  QLabel* lbltext4_ = nullptr;
  QLabel* lbltext5_ = nullptr;
  QLabel* lblurl_ = nullptr;
  QLabel* imghand_ = nullptr;
  QPushButton* cmdok_ = nullptr;
  bool urlPressed_ = false;
  QCursor handCursor_;  // the hand as a pointer at the density it was made for
  int handRatio_ = 0;
};

// Opens the about window modally over mainWindow and returns once it has closed and is gone.
void ShowAbout(QWidget* mainWindow);

}  // namespace kestrova::ui
