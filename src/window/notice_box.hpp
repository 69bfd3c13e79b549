// The window's message boxes behind a small interface, so that tests can answer the start-up
// notice and collect error messages without a person at the screen.
#pragma once

#include <functional>
#include <memory>

class QAbstractButton;
class QMessageBox;
class QString;
class QWidget;

namespace umbrix::window {

/// Draws a button number 0, 1 or 2, uniformly.
using ButtonDraw = std::function<int()>;

/// A generator seeded from the clock; every call draws anew.
ButtonDraw ClockSeededButtonDraw();

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  /// Shows the start-up notice with defaultButton focused; returns the button pressed
  /// (0 abort, 1 retry, 2 ignore).
  virtual int Notice(QWidget* parent, const QString& text, int defaultButton) = 0;
  /// Shows a failed run's message.
  virtual void Error(QWidget* parent, const QString& message) = 0;
};

/// Real, modal message boxes.
class DesktopDialogs : public Dialogs {
 public:
  int Notice(QWidget* parent, const QString& text, int defaultButton) override;
  void Error(QWidget* parent, const QString& message) override;
};

/// The notice box: stop icon, the buttons "Abbrechen", "Wiederholen", "Ignorieren" in this
/// order, defaultButton as the default.
std::unique_ptr<QMessageBox> MakeNoticeBox(QWidget* parent, const QString& text, int defaultButton);

/// The number (0, 1, 2) of the box's button that was pressed; closing the box counts as abort.
int PressedNoticeButton(const QMessageBox& box);
/// The box's button with the given number, or nullptr.
QAbstractButton* NoticeButton(const QMessageBox& box, int number);

}  // namespace umbrix::window
