// The window's event handlers: the start-up notice, Start, Quit and closing, and what the
// window shows when a run ends.
#include "window/form1.hpp"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "window/window_texts.hpp"

namespace umbrix::window {

namespace {

constexpr double kQuitWaitSeconds = 0.5;
constexpr unsigned long kQuitSliceMs = 10;
// How long Quit waits for the run to stop at its next written line.
constexpr int kStopWaitMs = 2000;
// The formula classes recurse along the depth of a formula.
constexpr uint kWorkerStackBytes = 512u << 20;
constexpr int kProgressIntervalMs = 100;

}  // namespace

Form1::Services Form1::DesktopServices() {
  return {std::make_shared<DesktopDialogs>(), ClockSeededButtonDraw(), &SecondsSinceMidnight,
          [] { QCoreApplication::exit(0); }};
}

Form1::Form1(Services services) : services_(std::move(services)), driver_(*this) {
  BuildWidgets();
  progressTimer_ = new QTimer(this);
  progressTimer_->setInterval(kProgressIntervalMs);
  ConnectActions();
}

Form1::~Form1() {
  stopRequested_ = true;
  if (worker_ != nullptr) {
    worker_->wait();
    delete worker_;
  }
}

void Form1::ConnectActions() {
  connect(command1_, &QPushButton::clicked, this, [this] { Command1_Click(); });
  connect(command2_, &QPushButton::clicked, this, [this] { Command2_Click(); });
  for (int entry = 0; entry < 3; ++entry)
    connect(option1_[entry], &QRadioButton::toggled, this, [this, entry](bool checked) {
      if (checked) option_ = entry;
    });
  connect(progressTimer_, &QTimer::timeout, this, [this] { ShowProgress(); });
}

bool Form1::Form_Load() {
  const int required = services_.drawButton();
  const int defaultButton = services_.drawButton();
  const int pressed = services_.dialogs->Notice(this, NoticeText(required), defaultButton);
  show();
  if (pressed == required) return true;
  QCoreApplication::processEvents();
  Command2_Click();
  return false;
}

void Form1::Command1_Click() {
  if (Running() || quitting_) return;
  command1_->setEnabled(false);  // at once: the driver's own request arrives queued
  TakeSnapshot();
  stopRequested_ = false;
  progressFormula_ = progressTotal_ = 0;
  progressLines_ = 0;
  statusLine_->clear();
  worker_ = QThread::create([this] { RunInWorker(); });
  worker_->setStackSize(kWorkerStackBytes);
  connect(worker_, &QThread::finished, this, [this] { RunFinished(); });
  worker_->start();
  progressTimer_->start();
}

void Form1::Command2_Click() {
  quitting_ = true;
  stopRequested_ = true;  // the document stays as written up to now
  setWindowTitle("Umbrix");
  const double start = services_.clock();
  do {
    setWindowTitle("Umbrix");
    command1_->setText(QString());
    QCoreApplication::processEvents();
    QThread::msleep(kQuitSliceMs);
  } while (ElapsedSince(start, services_.clock()) < kQuitWaitSeconds);
  EndProgram();
}

void Form1::closeEvent(QCloseEvent* event) {
  if (!command1_->text().isEmpty()) Command2_Click();
  event->accept();
}

void Form1::EndProgram() {
  if (!StopWorker()) {
    // The run is stuck inside one long step; ending at once is what Quit promises.
    std::fflush(nullptr);
    std::_Exit(0);
  }
  hide();
  services_.endProgram();
}

// Asks the run to stop and waits for it briefly; false when it is still running.
bool Form1::StopWorker() {
  stopRequested_ = true;
  return worker_ == nullptr || worker_->wait(QDeadlineTimer(kStopWaitMs));
}

void Form1::RunFinished() {
  if (worker_ == nullptr) return;
  worker_->wait();
  delete worker_;
  worker_ = nullptr;
  progressTimer_->stop();
  if (!quitting_) ShowOutcome();
}

void Form1::ShowOutcome() {
  command1_->setEnabled(true);
  switch (outcome_.kind) {
    case Outcome::Kind::Written:
      statusLine_->setText(
          WrittenText(QFileInfo(QFile::decodeName(outcome_.text.c_str())).absoluteFilePath()));
      break;
    case Outcome::Kind::Failed:
      statusLine_->setText("Nicht geschrieben: siehe Meldung.");
      services_.dialogs->Error(this, QString::fromUtf8(outcome_.text));
      break;
    case Outcome::Kind::Stopped:
      statusLine_->setText("Abgebrochen.");
      break;
  }
}

void Form1::ShowProgress() {
  if (progressTotal_ > 0)
    statusLine_->setText(ProgressText(progressFormula_, progressTotal_, progressLines_));
}

}  // namespace umbrix::window
