#include "window/notice_box.hpp"

#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <random>

#include "render/texts.hpp"
#include "window/window_texts.hpp"

namespace umbrix::window {

namespace {

// Each button carries its number; all share one role, so the box keeps them in this order
// whatever order the platform's style gives abort, retry and ignore.
constexpr const char* kButtonNumber = "noticeButton";

}  // namespace

QAbstractButton* NoticeButton(const QMessageBox& box, int number) {
  for (QAbstractButton* button : box.buttons())
    if (button->property(kButtonNumber).toInt() == number) return button;
  return nullptr;
}

ButtonDraw ClockSeededButtonDraw() {
  const auto seed = std::chrono::system_clock::now().time_since_epoch().count();
  auto generator = std::make_shared<std::mt19937>(static_cast<std::mt19937::result_type>(seed));
  return [generator] { return std::uniform_int_distribution<int>(0, kNoticeButtonCount - 1)(*generator); };
}

std::unique_ptr<QMessageBox> MakeNoticeBox(QWidget* parent, const QString& text, int defaultButton) {
  auto box = std::make_unique<QMessageBox>(QMessageBox::Critical, NoticeTitle(), text, QMessageBox::NoButton,
                                           parent);
  for (int i = 0; i < kNoticeButtonCount; ++i) {
    QPushButton* button =
        box->addButton(QString::fromUtf8(texts::kNoticeButtons[i]), QMessageBox::ActionRole);
    button->setProperty(kButtonNumber, i);
    if (i == defaultButton) box->setDefaultButton(button);
    if (i == 0) box->setEscapeButton(button);
  }
  return box;
}

int PressedNoticeButton(const QMessageBox& box) {
  for (int i = 1; i < kNoticeButtonCount; ++i)
    if (box.clickedButton() != nullptr && box.clickedButton() == NoticeButton(box, i)) return i;
  return 0;
}

int DesktopDialogs::Notice(QWidget* parent, const QString& text, int defaultButton) {
  std::unique_ptr<QMessageBox> box = MakeNoticeBox(parent, text, defaultButton);
  QMessageBox* shown = box.get();
  // Raised to the foreground once it is on screen, with the default button focused.
  QTimer::singleShot(0, shown, [shown] {
    shown->raise();
    shown->activateWindow();
    if (shown->defaultButton() != nullptr) shown->defaultButton()->setFocus();
  });
  box->exec();
  return PressedNoticeButton(*box);
}

void DesktopDialogs::Error(QWidget* parent, const QString& message) {
  QMessageBox::warning(parent, NoticeTitle(), message);
}

}  // namespace umbrix::window
