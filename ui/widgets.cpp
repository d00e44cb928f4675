#include "ui/widgets.h"

#include <QAccessibleWidget>
#include <QContextMenuEvent>
#include <QDialog>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QToolTip>

#include <limits>
#include <utility>

#include "ui/units.h"

namespace kestrova::ui {

int ButtonCode(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton: return kLeftButton;
    case Qt::RightButton: return kRightButton;
    case Qt::MiddleButton: return kMiddleButton;
    default: return 0;
  }
}

namespace {

// What a screen reader sees of a picture box: its role and, once it takes the focus, the
// actions its keys run.
class ImageBoxAccessible : public QAccessibleWidget {
 public:
  explicit ImageBoxAccessible(ImageBox* box) : QAccessibleWidget(box) {}

  QAccessible::Role role() const override { return box()->accessibleRole(); }

  QStringList actionNames() const override {
    QStringList names;
    if (box()->focusPolicy() != Qt::NoFocus) {
      names << pressAction();
      if (box()->hasMenu()) names << showMenuAction();
    }
    return names + QAccessibleWidget::actionNames();
  }

  void doAction(const QString& name) override {
    ImageBox* target = box();
    // From the event loop: a modal pop-up must not hold the reader's call open.
    if (name == pressAction() && actionNames().contains(name)) {
      QMetaObject::invokeMethod(
          target, [target] { emit target->KeyActivate(); }, Qt::QueuedConnection);
    } else if (name == showMenuAction() && actionNames().contains(name)) {
      QMetaObject::invokeMethod(
          target, [target] { emit target->KeyMenu(); }, Qt::QueuedConnection);
    } else {
      QAccessibleWidget::doAction(name);
    }
  }

  QStringList keyBindingsForAction(const QString& name) const override {
    if (name == pressAction()) return {QStringLiteral("Space")};
    if (name == showMenuAction()) return {QStringLiteral("Shift+F10")};
    return QAccessibleWidget::keyBindingsForAction(name);
  }

 private:
  ImageBox* box() const { return static_cast<ImageBox*>(widget()); }
};

QAccessibleInterface* ImageBoxAccessibleFactory(const QString&, QObject* object) {
  if (auto* box = qobject_cast<ImageBox*>(object)) return new ImageBoxAccessible(box);
  return nullptr;
}

constexpr char kUnspoken[] = "kestrovaUnspoken";

// One of the program's windows as a screen reader sees it: without the controls that say nothing.
class WindowAccessible : public QAccessibleWidget {
 public:
  using QAccessibleWidget::QAccessibleWidget;

  int childCount() const override { return int(offered().size()); }

  QAccessibleInterface* child(int index) const override {
    const QList<QAccessibleInterface*> children = offered();
    return index >= 0 && index < children.size() ? children[index] : nullptr;
  }

  int indexOfChild(const QAccessibleInterface* child) const override {
    return int(offered().indexOf(const_cast<QAccessibleInterface*>(child)));
  }

 private:
  QList<QAccessibleInterface*> offered() const {
    QList<QAccessibleInterface*> children;
    for (int i = 0; i < QAccessibleWidget::childCount(); ++i) {
      QAccessibleInterface* child = QAccessibleWidget::child(i);
      if (child && !child->object()->property(kUnspoken).toBool()) children << child;
    }
    return children;
  }
};

QAccessibleInterface* WindowAccessibleFactory(const QString& className, QObject* object) {
  auto* window = qobject_cast<QWidget*>(object);
  if (!window || !window->isWindow() || !className.startsWith(QStringLiteral("kestrova::"))) {
    return nullptr;
  }
  // The roles Qt gives them itself.
  return new WindowAccessible(
      window, qobject_cast<QDialog*>(window) ? QAccessible::Dialog : QAccessible::Client);
}

// Before any window exists: the face Qt makes for a window is kept for the window's life.
[[maybe_unused]] const bool gWindowFactory =
    (QAccessible::installFactory(WindowAccessibleFactory), true);

}  // namespace

void HideFromReaders(QWidget* control) { control->setProperty(kUnspoken, true); }

ImageBox::ImageBox(QWidget* parent) : QWidget(parent) {
  static const bool installed = (QAccessible::installFactory(ImageBoxAccessibleFactory), true);
  Q_UNUSED(installed);
}

void ImageBox::setPicture(const QPixmap& picture) {
  reader_ = {};
  picture_ = picture;
  update();
}

void ImageBox::makeKeyboardControl(QAccessible::Role role, bool hasMenu) {
  // Tab only: a click keeps doing what it always did and leaves the focus where it was.
  setFocusPolicy(Qt::TabFocus);
  role_ = role;
  hasMenu_ = hasMenu;
}

void ImageBox::setPictureReader(std::function<QPixmap()> reader) {
  picture_ = QPixmap();
  reader_ = std::move(reader);
  update();
}

const QPixmap& ImageBox::picture() const {
  if (reader_) {
    // Dropped before it runs: a reader that fails is not tried again.
    const auto reader = std::move(reader_);
    reader_ = {};
    picture_ = reader();
  }
  return picture_;
}

void ImageBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (const QPixmap& shown = picture(); !shown.isNull()) painter.drawPixmap(0, 0, shown);
  if (hasFocus()) {
    // The style's focus frame all but vanishes on a picture; this one shows on any.
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.drawRect(rect().adjusted(1, 1, -1, -1));
  }
}

void ImageBox::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
  const bool activate = modifiers == Qt::NoModifier &&
                        (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter);
  const bool menu = hasMenu_ && ((key == Qt::Key_Menu && modifiers == Qt::NoModifier) ||
                                 (key == Qt::Key_F10 && modifiers == Qt::ShiftModifier));
  // Keys a control lying on the box did not want come up here; they are not the box's.
  if (!hasFocus() || !(activate || menu)) {
    QWidget::keyPressEvent(event);
    return;
  }
  event->accept();
  if (event->isAutoRepeat()) return;
  if (activate) {
    emit KeyActivate();
  } else {
    emit KeyMenu();
  }
}

// Where the desktop turns Shift+F10 or the Menu key into a request for a context menu itself
// (Windows does, for keys its window procedure sees), the request stands for the key.
void ImageBox::contextMenuEvent(QContextMenuEvent* event) {
  if (hasMenu_ && hasFocus() && event->reason() == QContextMenuEvent::Keyboard) {
    event->accept();
    emit KeyMenu();
  } else {
    event->ignore();
  }
}

void ImageBox::mousePressEvent(QMouseEvent* event) {
  emit MouseDown(ButtonCode(event->button()), event->globalPosition().toPoint());
  event->accept();
}

void ImageBox::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    emit DblClick();
  } else {
    // The second press of another button is still a press.
    emit MouseDown(ButtonCode(event->button()), event->globalPosition().toPoint());
  }
  event->accept();
}

namespace {
// Labels and other passive children let mouse events through to the box; they still lie on it.
bool OnOwnSurface(QWidget* box, const QMouseEvent* event) {
  return box->childAt(event->position().toPoint()) == nullptr;
}
}  // namespace

void PictureBox::mousePressEvent(QMouseEvent* event) { event->accept(); }

void PictureBox::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && OnOwnSurface(this, event)) emit DblClick();
  event->accept();
}

void FittingLabel::setShownToolTip(const QString& text) {
  shownToolTip_ = text;
  setAccessibleDescription(text);
}

bool FittingLabel::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip && !shownToolTip_.isEmpty()) {
    QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), shownToolTip_, this, {},
                       toolTipDuration());
    return true;
  }
  return QLabel::event(event);
}

void FittingLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect area = contentsRect();
  painter.setFont(FontToFit(font(), text(), area.width()));
  painter.setPen(palette().color(foregroundRole()));
  painter.drawText(area, int(alignment()) | Qt::TextSingleLine, text());
}

Panel3D::Panel3D(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  setLineWidth(1);
}

void Panel3D::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Window));
  painter.end();
  QFrame::paintEvent(event);
}

void PictureButton::setPicture(const QPixmap& picture) {
  picture_ = picture;
  update();
}

void PictureButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);

  // Face picture first, cut to the button, then a bevel and the caption over it.
  const QRect face = rect().adjusted(1, 1, -1, -1);
  if (!picture_.isNull()) {
    // The cut is in the picture's own pixels, which a dense picture has more of.
    const QSizeF cut = QSizeF(face.size()) * picture_.devicePixelRatio();
    painter.drawPixmap(QPointF(face.topLeft()), picture_, QRectF(QPointF(0, 0), cut));
  } else {
    painter.fillRect(face, palette().color(QPalette::Button));
  }
  const bool down = isDown();
  const QColor light = down ? palette().color(QPalette::Dark) : palette().color(QPalette::Light);
  const QColor dark = down ? palette().color(QPalette::Light) : palette().color(QPalette::Dark);
  painter.setPen(palette().color(QPalette::Shadow));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  painter.setPen(light);
  painter.drawLine(face.topLeft(), face.topRight());
  painter.drawLine(face.topLeft(), face.bottomLeft());
  painter.setPen(dark);
  painter.drawLine(face.bottomLeft(), face.bottomRight());
  painter.drawLine(face.topRight(), face.bottomRight());

  QRect textRect = rect();
  if (down) textRect.translate(1, 1);
  option.rect = textRect;
  style()->drawItemText(&painter, textRect, Qt::AlignCenter | Qt::TextShowMnemonic, palette(),
                        isEnabled(), text(), QPalette::ButtonText);
  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = rect().adjusted(4, 4, -4, -4);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
  }
}

AmountBox::AmountBox(QWidget* parent) : QLineEdit(parent) {
  setMaxLength(std::numeric_limits<int>::max());
  // Composed text would reach the box without passing the filter.
  setAttribute(Qt::WA_InputMethodEnabled, false);
  setAcceptDrops(false);
  setDragEnabled(false);
}

namespace {
bool IsRefusedShortcut(const QKeyEvent* event) {
  static const QKeySequence::StandardKey refused[] = {
      QKeySequence::Paste,
      QKeySequence::Cut,
      QKeySequence::Undo,
      QKeySequence::Redo,
      QKeySequence::DeleteStartOfWord,
      QKeySequence::DeleteEndOfWord,
      QKeySequence::DeleteEndOfLine,
      QKeySequence::DeleteCompleteLine,
  };
  for (auto key : refused) {
    if (event->matches(key)) return true;
  }
  return false;
}

// Keys that type no character keep their usual effect in the box.
bool TypesNoCharacter(const QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Delete:
    case Qt::Key_Insert:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock: return true;
    default: return event->key() >= Qt::Key_F1 && event->key() <= Qt::Key_F35;
  }
}

// The codes of the characters a key types. A control combination stands for a control
// character (Ctrl+H for 8, the backspace) or, beyond the letters, for none.
QList<int> TypedCodes(const QKeyEvent* event) {
  const Qt::KeyboardModifiers modifiers = event->modifiers();
  if (modifiers & Qt::ControlModifier) {
    const int key = event->key();
    if ((modifiers & (Qt::AltModifier | Qt::MetaModifier)) || key < Qt::Key_A || key > Qt::Key_Z)
      return {};
    return {key - Qt::Key_A + 1};
  }
  QList<int> codes;
  for (const char32_t code : event->text().toUcs4()) codes << static_cast<int>(code);
  return codes;
}
}  // namespace

void AmountBox::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::SelectAll)) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  if (IsRefusedShortcut(event)) {
    event->accept();
    return;
  }
  if (TypesNoCharacter(event) || event->text().isEmpty()) {
    QLineEdit::keyPressEvent(event);
    return;
  }

  QString accepted;
  bool backspace = false;
  for (const int typed : TypedCodes(event)) {
    int KeyAscii = typed;
    emit KeyPress(KeyAscii);
    if (KeyAscii == 8) {
      backspace = true;
    } else if (KeyAscii != 0) {
      const char32_t code = static_cast<char32_t>(KeyAscii);
      accepted += QString::fromUcs4(&code, 1);
    }
  }
  if (backspace && accepted.isEmpty()) {
    QKeyEvent erase(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"),
                    event->isAutoRepeat());
    QLineEdit::keyPressEvent(&erase);
  } else if (accepted == event->text() && !(event->modifiers() & Qt::ControlModifier)) {
    QLineEdit::keyPressEvent(event);
  } else if (!accepted.isEmpty()) {
    insert(accepted);
  }
  // Refused characters (Enter and Escape among them) go nowhere else either.
  event->accept();
}

void AmountBox::keyReleaseEvent(QKeyEvent* event) {
  QLineEdit::keyReleaseEvent(event);
  if (event->isAutoRepeat()) return;
  emit KeyUp();
}

}  // namespace kestrova::ui
