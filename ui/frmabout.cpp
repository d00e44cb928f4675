#include "ui/frmabout.h"

#include <QCursor>
#include <QDate>
#include <QDesktopServices>
#include <QEvent>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>

#include <algorithm>
#include <utility>

#include "assets/hand_hotspot.h"
#include "kestrova/version.h"
#include "ui/units.h"
#include "ui/widgets.h"

namespace kestrova::ui {

namespace {

frmabout::UrlOpener& Opener() {
  static frmabout::UrlOpener opener;
  return opener;
}

frmabout::YearClock& Clock() {
  static frmabout::YearClock clock;
  return clock;
}

bool OpenUrl(const QUrl& url) {
  if (Opener()) return Opener()(url);
  return QDesktopServices::openUrl(url);
}

int CurrentYear() {
  if (Clock()) return Clock()();
  return QDate::currentDate().year();
}

// The icon carries a large and a small image; the pointer wants the large one.
QPixmap LoadHandPicture() {
  QImageReader reader(QStringLiteral(":/pictures/hand.ico"));
  QImage best;
  do {
    QImage image = reader.read();
    if (!image.isNull() && image.width() > best.width()) best = std::move(image);
  } while (reader.jumpToNextImage());
  return QPixmap::fromImage(best);
}

// Labels that size themselves: a wrapping one grows downwards, any other to its text.
void AutoSize(QLabel* label) {
  if (label->wordWrap()) {
    label->resize(label->width(), label->heightForWidth(label->width()));
    return;
  }
  // A line must not run past the window's edge; it keeps the margin of its left side.
  label->setFont(
      FontToFit(label->font(), label->text(), label->window()->width() - 2 * label->x()));
  label->resize(label->sizeHint());
}

}  // namespace

frmabout::frmabout(QWidget* mainWindow)
    : QDialog(mainWindow,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      mainWindow_(mainWindow) {
  setObjectName(QStringLiteral("frmabout"));
  setWindowTitle(tr("About"));
  setWindowModality(Qt::ApplicationModal);
  setFixedSize(Px(3300), Px(4395));
  setFont(SansFont(8.25));

  const QFont regular = SansFont(8.25);
  lblprogtitle_ = AddLabel("lblprogtitle", TwipsRect(360, 345, 3675, 330), SansFont(13.5));
  lblversion_ = AddLabel("lblversion", TwipsRect(360, 675, 3675, 195), SansFont(9.75, true));
  lblcopyright_ = AddLabel("lblcopyright", TwipsRect(360, 930, 795, 195), regular);
  lblcopyright2_ = AddLabel("lblcopyright2", TwipsRect(360, 1140, 2580, 240), regular);
  lblcopyright2_->setText(QStringLiteral("Venstrup"));

  const QColor dark = ColorFromBgr(0x00400040u, palette());
  const QColor highlight = ColorFromBgr(0x80000014u, palette());
  AddLine("Line1", TwipsRect(360, 1545, 2625, 15), dark);
  AddLine("Line5", TwipsRect(360, 1545, 2625, 15), dark);
  // The highlight half of each etched pair is two pixels thick.
  AddLine("Line2", QRect(Px(360), Px(1560), Px(2625), 2), highlight);

  lbltext1_ = AddLabel("lbltext1", TwipsRect(360, 1695, 3675, 195), regular);
  lbltext1_->setWordWrap(true);
  lbltext1_->setText(tr("Kestrova is freeware."));
  lbltext2_ = AddLabel("lbltext2", TwipsRect(360, 1890, 2460, 195), regular);
  lbltext2_->setText(tr("Copy it and pass it on freely."));
  lbltext3_ = AddLabel("lbltext3", TwipsRect(360, 2085, 1110, 195), regular);
  lbltext3_->setText(tr("Play and enjoy!"));

  AddLine("Line4", TwipsRect(360, 2415, 2625, 15), dark);
  AddLine("Line3", QRect(Px(360), Px(2430), Px(2625), 2), highlight);

  lbltext4_ = AddLabel("lbltext4", TwipsRect(360, 2700, 2265, 195), regular);
  lbltext4_->setText(tr("For updates and other freeware,"));
  {
    QPalette opaque = lbltext4_->palette();
    opaque.setColor(QPalette::Window, ColorFromBgr(0x80000005u, palette()));
    lbltext4_->setPalette(opaque);
    lbltext4_->setAutoFillBackground(true);
  }
  lbltext5_ = AddLabel("lbltext5", TwipsRect(360, 2895, 1545, 195), regular);
  lbltext5_->setText(tr("Visit my homepage at"));

  lblurl_ = AddLabel("lblurl", TwipsRect(360, 3105, 1740, 195), regular);
  lblurl_->setText(QString::fromUtf8(kHomepage));
  lblurl_->setAccessibleDescription(tr("Opens the homepage in the web browser"));
  {
    QPalette link = lblurl_->palette();
    link.setColor(QPalette::WindowText, ColorFromBgr(0x00C00000u, palette()));
    lblurl_->setPalette(link);
  }
  lblurl_->setMouseTracking(true);
  lblurl_->installEventFilter(this);

  for (QLabel* label : {lbltext1_, lbltext2_, lbltext3_, lbltext4_, lbltext5_, lblurl_}) {
    AutoSize(label);
  }

  // Readers name it by its caption.
  cmdok_ = new QPushButton(tr("&Ok"), this);
  cmdok_->setObjectName(QStringLiteral("cmdok"));
  cmdok_->setGeometry(TwipsRect(360, 3600, 1590, 390));
  // With the focus it takes Enter, yet it never claims Enter for the window by itself.
  cmdok_->setAutoDefault(true);
  cmdok_->setDefault(false);
  connect(cmdok_, &QPushButton::clicked, this, &frmabout::cmdok_Click);

  // Mostly below the client area: it carries the pointer picture, it is not meant to be seen.
  imghand_ = new QLabel(this);
  imghand_->setObjectName(QStringLiteral("imghand"));
  imghand_->setGeometry(TwipsRect(1605, 4380, 480, 480));
  imghand_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  imghand_->setPixmap(LoadHandPicture());
  HideFromReaders(imghand_);

  cmdok_->setFocus();
  Form_Load();
}

frmabout::~frmabout() = default;

void frmabout::SetUrlOpener(UrlOpener opener) { Opener() = std::move(opener); }

void frmabout::SetYearClock(YearClock clock) { Clock() = std::move(clock); }

QLabel* frmabout::AddLabel(const char* name, QRect geometry, const QFont& font) {
  auto* label = new QLabel(this);
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(geometry);
  label->setFont(font);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return label;
}

void frmabout::AddLine(const char* name, QRect geometry, const QColor& colour) {
  auto* line = new QWidget(this);
  line->setObjectName(QString::fromLatin1(name));
  line->setGeometry(geometry);
  QPalette pal = line->palette();
  pal.setColor(QPalette::Window, colour);
  line->setPalette(pal);
  line->setAutoFillBackground(true);
  line->setAttribute(Qt::WA_TransparentForMouseEvents);
  HideFromReaders(line);
}

void frmabout::Form_Load() {
  lblprogtitle_->setText(QStringLiteral("Kestrova"));
  lblversion_->setText(
      tr("Version %1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision));
  lblcopyright_->setText(QString(QChar(0x00A9)) + QStringLiteral(" 2002-") +
                         QString::number(CurrentYear()));
  AutoSize(lblcopyright_);

  for (QLabel* label : {lblprogtitle_, lblversion_, lblcopyright_, lblcopyright2_, lbltext1_,
                        lbltext2_, lbltext3_, lbltext4_, lbltext5_, lblurl_}) {
    label->setAccessibleName(label->text());
  }
}

void frmabout::cmdok_Click() { accept(); }

void frmabout::lblurl_Click() {
  if (mainWindow_) {
    mainWindow_->setWindowState((mainWindow_->windowState() & ~Qt::WindowActive) |
                                Qt::WindowMinimized);
  }
  // Whether a browser came up or not, the window goes.
  OpenUrl(QUrl(QString::fromUtf8(kHomepage)));
  accept();
}

void frmabout::lblurl_MouseMove() {
  const QPixmap hand = imghand_->pixmap();
  if (hand.isNull()) {
    lblurl_->setCursor(Qt::PointingHandCursor);
    return;
  }
  // A pointer reaches the screen pixel for pixel, hot spot and all, so on a dense screen the hand
  // is blown up by whole pixels (it is drawn by the pixel anyway) to keep its size beside the
  // others. The click lands where the finger points. Made once per density, not on every move.
  const int ratio = std::max(1, qRound(lblurl_->devicePixelRatioF()));
  if (handRatio_ != ratio) {
    QPixmap sized = hand.scaled(hand.size() * ratio, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    sized.setDevicePixelRatio(ratio);
    handCursor_ = QCursor(sized, assets::kHandHotspotX * ratio, assets::kHandHotspotY * ratio);
    handRatio_ = ratio;
  }
  lblurl_->setCursor(handCursor_);
}

bool frmabout::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lblurl_) {
    switch (event->type()) {
      case QEvent::MouseMove: lblurl_MouseMove(); break;
      case QEvent::MouseButtonPress:
        urlPressed_ = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
        break;
      case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const bool click = urlPressed_ && mouse->button() == Qt::LeftButton &&
                           lblurl_->rect().contains(mouse->position().toPoint());
        urlPressed_ = false;
        if (click) {
          lblurl_Click();
          return true;
        }
        break;
      }
      default: break;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void frmabout::keyPressEvent(QKeyEvent* event) {
  // A dialog would close on Esc; this one has no cancel button, so Esc does nothing.
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void ShowAbout(QWidget* mainWindow) {
  QPointer<frmabout> about = new frmabout(mainWindow);
  about->exec();
  // The main window may have taken the dialog down with it while the loop ran.
  delete about.data();
}

}  // namespace kestrova::ui
