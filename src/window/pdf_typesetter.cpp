#include "window/pdf_typesetter.hpp"

#include <QProcess>
#include <QRegularExpression>
#include <QTimer>
#include <utility>

#include "utilities/run_error.hpp"

namespace umbrix::window {

PdfTypesetter::PdfTypesetter(QObject* parent, Progress progress, Finished finished, std::chrono::seconds limit)
    : QObject(parent), progress_(std::move(progress)), finished_(std::move(finished)), limit_(limit) {
  clock_ = new QTimer(this);
  clock_->setSingleShot(true);
  connect(clock_, &QTimer::timeout, this, [this] { TimedOut(); });
}

PdfTypesetter::~PdfTypesetter() { Stop(); }

bool PdfTypesetter::Start(const QString& texPath, QString& message) {
  if (Running()) return false;
  const std::string pdflatex = FindOnPath("pdflatex");
  if (pdflatex.empty()) {
    message = QString::fromUtf8(kPdflatexMissing);
    return false;
  }
  try {
    job_ = std::make_unique<PdfJob>(texPath.toStdString());
  } catch (const RunError& error) {
    message = QString::fromUtf8(error.what());
    return false;
  }
  QStringList arguments;
  for (const std::string& argument : job_->Arguments()) arguments << QString::fromStdString(argument);
  output_.clear();
  pages_ = 0;
  process_ = new QProcess(this);
  process_->setWorkingDirectory(QString::fromStdString(job_->Folder().string()));
  process_->setStandardInputFile(QProcess::nullDevice());
  process_->setProcessChannelMode(QProcess::MergedChannels);
  process_->setChildProcessModifier([] { PrepareTypesettingChild(); });
  connect(process_, &QProcess::readyReadStandardOutput, this, [this] { ReadOutput(); });
  connect(process_, &QProcess::finished, this, [this](int exitCode, QProcess::ExitStatus status) {
    Done(exitCode, status == QProcess::CrashExit);
  });
  connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
    if (error == QProcess::FailedToStart) Done(127, true);
  });
  process_->start(QString::fromStdString(pdflatex), arguments);
  if (!Running()) return true;  // it failed to start, and Done has said so
  processGroup_ = process_->processId();
  if (limit_.count() > 0) clock_->start(std::chrono::milliseconds(limit_));
  return true;
}

// pdflatex writes "[n" when it ships out page n.
void PdfTypesetter::ReadOutput() {
  output_ += process_->readAllStandardOutput();
  static const QRegularExpression page(R"(\[(\d+))");
  int pages = pages_;
  for (auto it = page.globalMatch(QString::fromLatin1(output_)); it.hasNext();)
    pages = it.next().captured(1).toInt();
  // Only the tail can hold the start of a page number that is still being written.
  if (output_.size() > 64) output_ = output_.right(64);
  if (pages != pages_) {
    pages_ = pages;
    progress_(pages_);
  }
}

void PdfTypesetter::Done(int exitCode, bool crashed) {
  if (process_ == nullptr) return;
  clock_->stop();
  KillTypesettingGroup(static_cast<int>(std::exchange(processGroup_, 0)));  // what pdflatex left running
  process_->disconnect(this);
  process_->deleteLater();
  process_ = nullptr;
  bool ok = false;
  QString text;
  try {
    text = QString::fromStdString(job_->Finish(crashed && exitCode == 0 ? 1 : exitCode).string());
    ok = true;
  } catch (const RunError& error) {
    text = QString::fromUtf8(error.what());
  }
  job_.reset();
  finished_(ok, text);
}

void PdfTypesetter::Cancel() {
  if (!Running()) return;
  Stop();
  finished_(false, QString());
}

// At the time limit pdflatex and its group are stopped, and the message says so.
void PdfTypesetter::TimedOut() {
  if (!Running()) return;
  QString text;
  try {
    job_->FailTimedOut(limit_, {});
  } catch (const RunError& error) {
    text = QString::fromUtf8(error.what());
  }
  Stop();
  finished_(false, text);
}

void PdfTypesetter::Stop() {
  clock_->stop();
  KillTypesettingGroup(static_cast<int>(std::exchange(processGroup_, 0)));
  if (process_ != nullptr) {
    process_->disconnect(this);
    process_->kill();
    process_->waitForFinished(2000);
    delete process_;
    process_ = nullptr;
  }
  job_.reset();
}

}  // namespace umbrix::window
