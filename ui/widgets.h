#pragma once

#include <QAccessible>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QWidget>

#include <functional>

// The small controls the main window is made of. Each keeps its picture as a shared QPixmap: a
// picture handed from one control to another is the same picture (same cacheKey), which is how
// the window tells which flag is on show.
namespace kestrova::ui {

// Mouse button codes as the window's handlers see them.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;

int ButtonCode(Qt::MouseButton button);

// Keeps a control of one of the program's windows that says nothing out of what screen readers
// are offered: one that only carries a picture or a state and is never seen, or a drawn line.
void HideFromReaders(QWidget* control);

// Shows a picture from its top-left corner, unscaled; raises MouseDown (with the press's place on
// the screen) and DblClick.
class ImageBox : public QWidget {
  Q_OBJECT
 public:
  explicit ImageBox(QWidget* parent = nullptr);
  void setPicture(const QPixmap& picture);
  // The picture is made by `reader` when first asked for, once; until then the box holds none.
  void setPictureReader(std::function<QPixmap()> reader);
  const QPixmap& picture() const;

  // Lets the box take the keyboard focus: Space or Enter raise KeyActivate, and, when
  // `hasMenu`, the Menu key or Shift+F10 raise KeyMenu. Screen readers see it as `role`,
  // with the same two as actions.
  void makeKeyboardControl(QAccessible::Role role, bool hasMenu);
  bool hasMenu() const { return hasMenu_; }
  QAccessible::Role accessibleRole() const { return role_; }

 signals:
  void MouseDown(int button, const QPoint& at);
  void DblClick();
  void KeyActivate();
  void KeyMenu();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  mutable QPixmap picture_;
  mutable std::function<QPixmap()> reader_;
  QAccessible::Role role_ = QAccessible::Client;
  bool hasMenu_ = false;
};

// The background: a picture from the top-left corner, cut to the box, and a container for the
// visible controls. Only a double-click on its own surface counts.
class PictureBox : public ImageBox {
  Q_OBJECT
 public:
  using ImageBox::ImageBox;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// A transparent one-line label that narrows its font rather than cut its text off: the rate
// lines were laid out for a narrower font than most desktops have.
class FittingLabel : public QLabel {
  Q_OBJECT
 public:
  using QLabel::QLabel;
  // What the tooltip shows and a screen reader hears instead of toolTip(), which keeps the text
  // it was given; empty: toolTip() itself.
  void setShownToolTip(const QString& text);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  QString shownToolTip_;
};

// A raised panel with a coloured face that frames the background.
class Panel3D : public QFrame {
  Q_OBJECT
 public:
  explicit Panel3D(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// A push button that draws its face picture under its caption.
class PictureButton : public QPushButton {
  Q_OBJECT
 public:
  using QPushButton::QPushButton;
  void setPicture(const QPixmap& picture);
  const QPixmap& picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap picture_;
};

// An amount box without a length limit. Each typed character is offered to KeyPress, which may
// replace its code (0: nothing is inserted, 8: the backspace); shortcuts that would change the
// text without typing (paste, cut, undo, redo, word deletion) are refused. Every real key
// release is reported; auto-repeat releases are not.
class AmountBox : public QLineEdit {
  Q_OBJECT
 public:
  explicit AmountBox(QWidget* parent = nullptr);

 signals:
  void KeyPress(int& KeyAscii);  // connect directly: the handler changes the code in place
  void KeyUp();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
};

}  // namespace kestrova::ui
