// A window with every outside service replaced: the notice is answered by the test, errors
// are collected, the end of the program is counted, and files go to a temporary folder that
// is also the current directory.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "window/form1.hpp"

namespace umbrix::window::testing {

class FakeDialogs : public Dialogs {
 public:
  int Notice(QWidget*, const QString& text, int defaultButton) override {
    ++notices;
    noticeText = text;
    noticeDefault = defaultButton;
    return answer;
  }
  void Error(QWidget*, const QString& message) override { errors << message; }

  int answer = 0;
  int notices = 0;
  QString noticeText;
  int noticeDefault = -1;
  QStringList errors;
};

/// Processes events until done() holds or the time is up; returns done().
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 60000) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < timeoutMs) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

inline std::string ReadFile(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    previousDir_ = QDir::currentPath();
    QDir::setCurrent(folder_.path());
  }
  void TearDown() override {
    form_.reset();
    QDir::setCurrent(previousDir_);
  }

  /// Creates the window; draws are the notice's required and default buttons, in this order.
  /// settingsFile: where the window keeps its choices; empty: nowhere.
  Form1& MakeForm(std::deque<int> draws = {0, 0}, Clock clock = &SecondsSinceMidnight,
                  QString settingsFile = {}) {
    Form1::Services services{dialogs_,
                             [this, draws]() mutable {
                               int next = draws.empty() ? 0 : draws.front();
                               if (!draws.empty()) draws.pop_front();
                               return next;
                             },
                             std::move(clock), [this] { ++ends_; },
                             [this](const QString& path) { opened_ << path; }, std::move(settingsFile),
                             documentLimit_, typesettingLimit_};
    form_ = std::make_unique<Form1>(std::move(services));
    return *form_;
  }

  /// Sets Text1 and Text2, clicks Start and waits for the run to end.
  void RunWindow(const QString& text1, const QString& text2) {
    Edit<QPlainTextEdit>("Text1")->setPlainText(text1);
    Edit<QLineEdit>("Text2")->setText(text2);
    form_->Command1_Click();
    ASSERT_TRUE(WaitUntil([this] { return !form_->Running(); }));
  }

  template <typename Widget>
  Widget* Edit(const char* name) {
    auto* widget = form_->findChild<Widget*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  QString InFolder(const QString& name) const { return folder_.filePath(name); }
  QStringList FolderEntries() const { return QDir(folder_.path()).entryList(QDir::Files); }

  std::shared_ptr<FakeDialogs> dialogs_ = std::make_shared<FakeDialogs>();
  int ends_ = 0;
  QStringList opened_;  // files handed to the desktop's viewer
  std::int64_t documentLimit_ = kDefaultDocumentLimit;  // while the size limit is ticked
  std::chrono::seconds typesettingLimit_ = kDefaultTypesettingTime;
  std::unique_ptr<Form1> form_;

 private:
  QTemporaryDir folder_;
  QString previousDir_;
};

}  // namespace umbrix::window::testing
