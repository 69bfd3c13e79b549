// The window's event handlers: the start-up notice, Start, Quit and closing, and what the
// window shows when a run ends.
#include "window/form1.hpp"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <cstdio>
#include <cstdlib>

#include "render/texts.hpp"
#include "utilities/output_file.hpp"
#include "window/check_dialog.hpp"
#include "window/pdf_typesetter.hpp"
#include "window/window_texts.hpp"

namespace umbrix::window {

namespace {

constexpr double kQuitWaitSeconds = 0.5;
constexpr unsigned long kQuitSliceMs = 10;
// How long Quit waits for the run to stop at its next written line.
constexpr int kStopWaitMs = 2000;
constexpr int kProgressIntervalMs = 100;

}  // namespace

Form1::Services Form1::DesktopServices() {
  return {std::make_shared<DesktopDialogs>(),
          ClockSeededButtonDraw(),
          &SecondsSinceMidnight,
          [] { QCoreApplication::exit(0); },
          [](const QString& path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); },
          QSettings(QSettings::IniFormat, QSettings::UserScope, "Umbrix", "umbrix-gui").fileName()};
}

Form1::Form1(Services services)
    : services_(std::move(services)), worker_(WorkerSide(), services_.documentLimit) {
  BuildWidgets();
  progressTimer_ = new QTimer(this);
  progressTimer_->setInterval(kProgressIntervalMs);
  pdf_ = new PdfTypesetter(
      this, [this](int pages) { statusLine_->setText(PdfProgressText(pages)); },
      [this](bool ok, const QString& text) { PdfFinished(ok, text); }, services_.typesettingLimit);
  worker_.Driver().SetObserver(&feed_);
  ConnectActions();
  LoadSettings();
}

Form1::~Form1() = default;

RunWorker::WindowSide Form1::WorkerSide() {
  return {this,
          [this](const QString& text) { text1Edit_->setPlainText(text); },
          [this](const QString& text) { text2Edit_->setText(text); },
          [this] { command1_->setEnabled(false); },
          [this](const QString& caption) {
            if (!quitting_) setWindowTitle(caption);
          },
          [this] { RunFinished(); }};
}

void Form1::ConnectActions() {
  connect(command1_, &QPushButton::clicked, this, [this] { Command1_Click(); });
  connect(command2_, &QPushButton::clicked, this, [this] { Command2_Click(); });
  connect(pdfButton_, &QPushButton::clicked, this, [this] { PdfClicked(); });
  connect(checkButton_, &QPushButton::clicked, this, [this] { OpenCheckDialog(); });
  connect(helpToggle_, &QLabel::linkActivated, this, [this] {
    helpChosen_ = true;
    ShowHelp(!helpShown_);
  });
  for (const OptionInfo& info : kOptionTable)
    connect(option1_[EntryNumber(info.entry)], &QRadioButton::toggled, this,
            [this, entry = info.entry](bool checked) {
              if (checked) worker_.SelectOption(entry);
            });
  connect(ergebnisBox_, &QCheckBox::toggled, this, [this](bool checked) { worker_.SelectErgebnis(checked); });
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

// The level, the check boxes and the output name of the last session.
void Form1::LoadSettings() {
  if (services_.settingsFile.isEmpty()) return;
  const QSettings settings(services_.settingsFile, QSettings::IniFormat);
  const std::size_t level = settings.value("stufe", 0).toUInt();
  if (level < kOptionCount) option1_[level]->setChecked(true);
  gesetzeBox_->setChecked(settings.value("gesetze", false).toBool());
  ergebnisBox_->setChecked(settings.value("ergebnis", false).toBool());
  const QString name = settings.value("ausgabe").toString();
  if (!name.isEmpty()) text2Edit_->setText(name);
  helpChosen_ = settings.contains("hilfe");
  if (helpChosen_) ShowHelp(settings.value("hilfe").toBool());
}

void Form1::SaveSettings() const {
  if (services_.settingsFile.isEmpty()) return;
  QSettings settings(services_.settingsFile, QSettings::IniFormat);
  for (std::size_t level = 0; level < kOptionCount; ++level)
    if (option1_[level]->isChecked()) settings.setValue("stufe", static_cast<unsigned>(level));
  settings.setValue("gesetze", gesetzeBox_->isChecked());
  settings.setValue("ergebnis", ergebnisBox_->isChecked());
  settings.setValue("ausgabe", text2Edit_->text());
  if (helpChosen_) settings.setValue("hilfe", helpShown_);
}

void Form1::Command1_Click() {
  if (Running() || quitting_) return;
  SaveSettings();
  command1_->setEnabled(false);  // at once: the driver's own request arrives queued
  pdf_->Cancel();                // the document is about to be written anew
  pdfButton_->setEnabled(false);
  writtenFile_.clear();
  derivation_->clear();
  feed_.Begin(static_cast<std::size_t>(derivation_->Columns()));
  statusLine_->clear();
  worker_.Start(
      {text1Edit_->toPlainText(), text2Edit_->text(), gesetzeBox_->isChecked(), sizeLimitBox_->isChecked()});
  progressTimer_->start();
}

void Form1::Command2_Click() {
  quitting_ = true;
  worker_.RequestStop();  // the document stays as written up to now
  pdf_->Cancel();
  setWindowTitle(texts::kCaption);
  const double start = services_.clock();
  do {
    setWindowTitle(texts::kCaption);
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
  if (!worker_.Stop(kStopWaitMs)) {
    // The run is stuck inside one long step; ending at once is what Quit promises. The
    // unfinished document goes, the previous one stays.
    RemovePendingTemporaryFile();
    std::fflush(nullptr);
    std::_Exit(0);
  }
  SaveSettings();
  hide();
  services_.endProgram();
}

void Form1::RunFinished() {
  if (!worker_.Running()) return;
  worker_.Finish();
  progressTimer_->stop();
  if (quitting_) return;
  FinishDerivation();
  ShowOutcome();
}

void Form1::ShowOutcome() {
  using Outcome = RunWorker::Outcome;
  const Outcome& outcome = worker_.LastOutcome();
  command1_->setEnabled(true);
  switch (outcome.kind) {
    case Outcome::Kind::Written:
      writtenFile_ = QFileInfo(QFile::decodeName(outcome.text.c_str())).absoluteFilePath();
      statusLine_->setText(WrittenText(writtenFile_));
      pdfButton_->setEnabled(true);
      break;
    case Outcome::Kind::Failed:
      statusLine_->setText("Nicht geschrieben: siehe Meldung.");
      services_.dialogs->Error(this, QString::fromUtf8(outcome.text));
      break;
    case Outcome::Kind::Stopped:
      statusLine_->setText("Abgebrochen.");
      break;
  }
}

void Form1::ShowProgress() {
  const RunProgress progress = worker_.Progress();
  if (progress.total > 0)
    statusLine_->setText(ProgressText(progress.formula, progress.total, progress.lines, progress.bytes));
  ShowDerivation();
}

void Form1::ShowDerivation() {
  const std::string text = feed_.TakePending();
  if (!text.empty()) derivation_->AppendText(QString::fromUtf8(text));
}

// The rest of the text; a note where the view stops short; the message of a failed run.
void Form1::FinishDerivation() {
  using Outcome = RunWorker::Outcome;
  const Outcome& outcome = worker_.LastOutcome();
  ShowDerivation();
  if (feed_.Truncated() && outcome.kind == Outcome::Kind::Written)
    derivation_->AppendText(
        TruncatedText(QFileInfo(QFile::decodeName(outcome.text.c_str())).absoluteFilePath(),
                      worker_.Driver().BytesWritten()));
  else if (outcome.kind == Outcome::Kind::Failed)
    derivation_->AppendText(NoDerivationText(QString::fromUtf8(outcome.text)));
  derivation_->ScrollToTop();
}

bool Form1::Typesetting() const { return pdf_->Running(); }

void Form1::OpenCheckDialog() {
  if (checkDialog_ == nullptr) checkDialog_ = new CheckDialog(this);
  checkDialog_->show();
  checkDialog_->raise();
  checkDialog_->activateWindow();
}

void Form1::PdfClicked() {
  if (pdf_->Running()) {
    pdf_->Cancel();
    return;
  }
  if (writtenFile_.isEmpty()) return;
  QString message;
  if (!pdf_->Start(writtenFile_, message)) {
    services_.dialogs->Error(this, message);
    return;
  }
  pdfButton_->setText("PDF abbrechen");
  statusLine_->setText(PdfProgressText(0));
}

void Form1::PdfFinished(bool ok, const QString& text) {
  pdfButton_->setText("&PDF");
  if (quitting_) return;
  if (!ok) {
    statusLine_->setText(text.isEmpty() ? QStringLiteral("PDF abgebrochen.")
                                        : QStringLiteral("Kein PDF: siehe Meldung."));
    if (!text.isEmpty()) services_.dialogs->Error(this, text);
    return;
  }
  statusLine_->setText(PdfWrittenText(text));
  if (services_.openFile) services_.openFile(text);
}

}  // namespace umbrix::window
