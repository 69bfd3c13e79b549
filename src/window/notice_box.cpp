#include "window/notice_box.hpp"

#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <random>

#include "frontend/texts.hpp"
#include "window/window_texts.hpp"

namespace umbrix::window {

namespace {

constexpr QMessageBox::StandardButton kNoticeButtons[kNoticeButtonCount] = {
    QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore};

}  // namespace

ButtonDraw ClockSeededButtonDraw() {
  const auto seed = std::chrono::system_clock::now().time_since_epoch().count();
  auto generator = std::make_shared<std::mt19937>(static_cast<std::mt19937::result_type>(seed));
  return [generator] { return std::uniform_int_distribution<int>(0, kNoticeButtonCount - 1)(*generator); };
}

std::unique_ptr<QMessageBox> MakeNoticeBox(QWidget* parent, const QString& text, int defaultButton) {
  auto box = std::make_unique<QMessageBox>(QMessageBox::Critical, NoticeTitle(), text,
                                           QMessageBox::NoButton, parent);
  for (int i = 0; i < kNoticeButtonCount; ++i) {
    QPushButton* button = box->addButton(kNoticeButtons[i]);
    button->setText(QString::fromUtf8(texts::kNoticeButtons[i]));
  }
  box->setDefaultButton(kNoticeButtons[defaultButton]);
  box->setEscapeButton(QMessageBox::Abort);
  return box;
}

int PressedNoticeButton(const QMessageBox& box) {
  for (int i = 0; i < kNoticeButtonCount; ++i)
    if (box.clickedButton() == box.button(kNoticeButtons[i])) return i;
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
