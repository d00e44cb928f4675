#pragma once

#include <QSize>
#include <QString>

#include <functional>
#include <string>

class QWidget;

// The thin layer between the windows and the desktop: message boxes, the single running copy,
// the screen, and ending on a signal.
namespace kestrova::ui::platform {

enum class MessageIcon { None, Information };

struct MessageRequest {
  QString text;
  QString caption;
  MessageIcon icon = MessageIcon::None;
};

// Replaces the modal box (tests answer it themselves); an empty hook restores the real box.
void SetMessageHook(std::function<void(const MessageRequest&)> hook);

// A modal box with one OK button; returns when the user has closed it.
void ShowMessage(QWidget* parent, const MessageRequest& request);

// At most one running copy per user. The lock is an flock() on a file, so the kernel drops it
// with the process: a crashed copy never leaves it stuck, whatever became of its PID.
class SingleInstance {
 public:
  enum class State { First, AlreadyRunning, Failed };

  SingleInstance() = default;
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  State Acquire(const std::string& lockPath);
  void Release();

  // Set when Acquire gives Failed: an errno and its text.
  int errorNumber() const { return errorNumber_; }
  const std::string& errorText() const { return errorText_; }

  // $XDG_RUNTIME_DIR/Kestrova.lock, or the settings folder when that variable is unset.
  static std::string DefaultLockPath();

 private:
  int fd_ = -1;
  int errorNumber_ = 0;
  std::string errorText_;
};

// The whole primary screen in twips.
QSize ScreenSizeTwips();

// Whether the platform tells the program where its windows are on the screen and lets it place
// them (X11 does; a native Wayland session does not).
bool KnowsWindowPlace();

// SIGTERM, SIGINT and SIGHUP call `onQuit` from the event loop, never inside the handler.
void InstallQuitSignals(std::function<void()> onQuit);

}  // namespace kestrova::ui::platform
