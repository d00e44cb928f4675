#pragma once

#include <QSize>
#include <QString>

#include <functional>

#include "ui/SingleInstance.h"

class QWidget;

// The thin layer between the windows and the desktop: message boxes, the single running copy
// (SingleInstance.h), the screen, and ending on a signal.
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

// The whole primary screen in twips.
QSize ScreenSizeTwips();

// Whether the platform tells the program where its windows are on the screen and lets it place
// them (X11 does; a native Wayland session does not).
bool KnowsWindowPlace();

// SIGTERM, SIGINT and SIGHUP call `onQuit` from the event loop, never inside the handler.
void InstallQuitSignals(std::function<void()> onQuit);

}  // namespace kestrova::ui::platform
