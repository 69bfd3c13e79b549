// The window as the run driver's platform. The driver runs on the worker thread: it reads
// the copies of Text1 and Text2 taken when Start was pressed and the option as it is at the
// moment of the call; every change of the window is handed to the window's thread.
#include <QCheckBox>
#include <QLineEdit>
#include <QMetaObject>
#include <QPlainTextEdit>
#include <QPushButton>
#include <new>

#include "frontend/texts.hpp"
#include "utilities/run_error.hpp"
#include "window/form1.hpp"

namespace umbrix::window {

namespace {

// The edit gives lines separated by "\n"; the driver expects CR LF.
std::string DriverText(const QString& shown) {
  std::string text = shown.toStdString();
  std::string result;
  result.reserve(text.size() + text.size() / 8);
  for (char c : text) {
    if (c == '\r') continue;
    if (c == '\n') result += '\r';
    result += c;
  }
  return result;
}

QString ShownText(const std::string& text) { return QString::fromUtf8(text).remove('\r'); }

constexpr const char* kInternalErrorAdvice =
    " Die vorige Ausgabedatei bleibt unverändert; bitte melde den Fehler mit der Eingabe.";

}  // namespace

void Form1::TakeSnapshot() {
  std::lock_guard lock(runTextsMutex_);
  runText1_ = DriverText(text1Edit_->toPlainText());
  runText2_ = text2Edit_->text().toStdString();
  gesetze_ = gesetzeBox_->isChecked();
}

void Form1::RunInWorker() {
  try {
    outcome_ = {Outcome::Kind::Written, driver_.Command1_Click()};
  } catch (const RunStopped&) {
    outcome_ = {Outcome::Kind::Stopped, {}};
  } catch (const RunError& error) {
    outcome_ = {Outcome::Kind::Failed, error.what()};
  } catch (const std::bad_alloc&) {
    outcome_ = {Outcome::Kind::Failed, texts::kOutOfMemory};
  } catch (const std::exception& error) {
    outcome_ = {Outcome::Kind::Failed,
                std::string("Interner Fehler: ") + error.what() + kInternalErrorAdvice};
  } catch (...) {
    outcome_ = {Outcome::Kind::Failed, std::string("Interner Fehler.") + kInternalErrorAdvice};
  }
}

std::string Form1::Text1() const {
  std::lock_guard lock(runTextsMutex_);
  return runText1_;
}

void Form1::SetText1(const std::string& text) {
  {
    std::lock_guard lock(runTextsMutex_);
    runText1_ = text;
  }
  PostToWindow([this, shown = ShownText(text)] { text1Edit_->setPlainText(shown); });
}

std::string Form1::Text2() const {
  std::lock_guard lock(runTextsMutex_);
  return runText2_;
}

void Form1::SetText2(const std::string& text) {
  {
    std::lock_guard lock(runTextsMutex_);
    runText2_ = text;
  }
  PostToWindow([this, shown = QString::fromStdString(text)] { text2Edit_->setText(shown); });
}

void Form1::EnableStart(bool enabled) {
  // Start comes back when the window has taken the run's outcome (RunFinished).
  if (!enabled) PostToWindow([this] { command1_->setEnabled(false); });
}

void Form1::SetCaption(const std::string& caption) {
  PostToWindow([this, shown = QString::fromUtf8(caption)] {
    if (!quitting_) setWindowTitle(shown);
  });
}

bool Form1::OptionSelected(OptionEntry entry) const { return option_.load() == entry; }

bool Form1::ErgebnisSelected() const { return ergebnis_.load(); }

void Form1::ProcessEvents() { ThrowIfStopped(); }

void Form1::ReportProgress(const RunProgress& progress) {
  progressFormula_ = progress.formula;
  progressTotal_ = progress.total;
  progressLines_ = progress.lines;
  progressBytes_ = progress.bytes;
  ThrowIfStopped();
}

void Form1::ThrowIfStopped() const {
  if (stopRequested_) throw RunStopped();
}

void Form1::PostToWindow(std::function<void()> change) {
  QMetaObject::invokeMethod(this, std::move(change), Qt::QueuedConnection);
}

}  // namespace umbrix::window
