// The run on its thread and the driver's platform. The driver reads the copies of Text1 and
// Text2 taken when Start was pressed and the option as it is at the moment of the call; every
// change of the window is queued to the window's thread.
#include "window/run_worker.hpp"

#include <QDeadlineTimer>
#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <new>

#include "render/texts.hpp"
#include "utilities/run_error.hpp"

namespace umbrix::window {

namespace {

// The formula classes recurse along the depth of a formula.
constexpr uint kWorkerStackBytes = 512u << 20;

constexpr const char* kInternalErrorAdvice =
    " Die vorige Ausgabedatei bleibt unverändert; bitte melde den Fehler mit der Eingabe.";

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

}  // namespace

RunWorker::RunWorker(WindowSide side, std::int64_t documentLimit)
    : side_(std::move(side)),
      driver_(*this, [this](const std::string& fileName) { return OpenDocument(fileName); }),
      documentLimit_(documentLimit) {}

OutputFile RunWorker::OpenDocument(const std::string& fileName) const {
  OutputLimits limits;
  limits.maxBytes = sizeLimit_ ? documentLimit_ : 0;
  limits.sizeAdvice = texts::WindowSizeLimitAdvice(OptionSelected(OptionEntry::kFewSteps), texts::kSizeLimitCaption);
  return OutputFile::OpenNewFile(fileName, limits);
}

RunWorker::~RunWorker() {
  RequestStop();
  Finish();
}

void RunWorker::Start(const Request& request) {
  if (Running()) return;
  {
    std::lock_guard lock(runTextsMutex_);
    runText1_ = DriverText(request.text1);
    runText2_ = request.text2.toStdString();
  }
  gesetze_ = request.gesetze;
  sizeLimit_ = request.sizeLimit;
  stopRequested_ = false;
  progressFormula_ = progressTotal_ = 0;
  progressLines_ = 0;
  progressBytes_ = 0;
  thread_ = QThread::create([this] { Run(); });
  thread_->setStackSize(kWorkerStackBytes);
  QObject::connect(thread_, &QThread::finished, side_.window, [this] { side_.finished(); });
  thread_->start();
}

bool RunWorker::Stop(int ms) {
  RequestStop();
  return thread_ == nullptr || thread_->wait(QDeadlineTimer(ms));
}

void RunWorker::Finish() {
  if (thread_ == nullptr) return;
  thread_->wait();
  delete thread_;
  thread_ = nullptr;
}

RunProgress RunWorker::Progress() const {
  RunProgress progress;
  progress.formula = progressFormula_;
  progress.total = progressTotal_;
  progress.lines = progressLines_;
  progress.bytes = progressBytes_;
  return progress;
}

void RunWorker::Run() {
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

std::string RunWorker::Text1() const {
  std::lock_guard lock(runTextsMutex_);
  return runText1_;
}

void RunWorker::SetText1(const std::string& text) {
  Keep(runText1_, text);
  PostToWindow([this, shown = ShownText(text)] { side_.showText1(shown); });
}

std::string RunWorker::Text2() const {
  std::lock_guard lock(runTextsMutex_);
  return runText2_;
}

void RunWorker::SetText2(const std::string& text) {
  Keep(runText2_, text);
  PostToWindow([this, shown = QString::fromStdString(text)] { side_.showText2(shown); });
}

void RunWorker::EnableStart(bool enabled) {
  // Start comes back when the window has taken the run's outcome.
  if (!enabled) PostToWindow([this] { side_.disableStart(); });
}

void RunWorker::SetCaption(const std::string& caption) {
  PostToWindow([this, shown = QString::fromUtf8(caption)] { side_.showCaption(shown); });
}

bool RunWorker::OptionSelected(OptionEntry entry) const { return option_.load() == entry; }

void RunWorker::ProcessEvents() { ThrowIfStopped(); }

void RunWorker::ReportProgress(const RunProgress& progress) {
  progressFormula_ = progress.formula;
  progressTotal_ = progress.total;
  progressLines_ = progress.lines;
  progressBytes_ = progress.bytes;
  ThrowIfStopped();
}

void RunWorker::Keep(std::string& runText, const std::string& text) {
  std::lock_guard lock(runTextsMutex_);
  runText = text;
}

void RunWorker::ThrowIfStopped() const {
  if (stopRequested_) throw RunStopped();
}

void RunWorker::PostToWindow(std::function<void()> change) {
  QMetaObject::invokeMethod(side_.window, std::move(change), Qt::QueuedConnection);
}

}  // namespace umbrix::window
