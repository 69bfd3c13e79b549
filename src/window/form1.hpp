// The main window: the formulas, the output file name, the three options, Start and Quit.
// Start runs the driver on a worker thread, so the window keeps repainting and Quit works at
// any moment; the window is the driver's platform, thread-safe where the worker calls it.
#pragma once

#include <QWidget>
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "frontend/platform.hpp"
#include "frontend/run_driver.hpp"
#include "window/derivation_view.hpp"
#include "window/notice_box.hpp"
#include "window/quit_clock.hpp"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QThread;
class QTimer;

namespace umbrix::window {

class PdfTypesetter;

class Form1 : public QWidget, public Platform {
 public:
  /// What the window needs from outside; tests replace each of them.
  struct Services {
    std::shared_ptr<Dialogs> dialogs;
    ButtonDraw drawButton;
    Clock clock;
    /// Ends the program; the window is already hidden and the run stopped.
    std::function<void()> endProgram;
    /// Opens a file with the desktop's viewer; none: nothing is opened.
    std::function<void(const QString& path)> openFile;
  };
  static Services DesktopServices();

  explicit Form1(Services services = DesktopServices());
  ~Form1() override;

  /// The start-up notice. Shows the window; false when it was answered wrongly and the Quit
  /// action has ended the program.
  bool Form_Load();
  /// Start: runs the conversion on the worker thread.
  void Command1_Click();
  /// Quit: half a second with an empty Start caption, then the program ends.
  void Command2_Click();
  /// Whether a run is under way.
  bool Running() const { return worker_ != nullptr; }
  /// PDF: typesets the written document, or cancels a typesetting under way.
  void PdfClicked();
  /// Whether pdflatex is at work for the PDF button.
  bool Typesetting() const;

  std::string Text1() const override;
  void SetText1(const std::string& text) override;
  std::string Text2() const override;
  void SetText2(const std::string& text) override;
  void EnableStart(bool enabled) override;
  void SetCaption(const std::string& caption) override;
  bool OptionSelected(OptionEntry entry) const override;
  bool GesetzeAngeben() const override { return gesetze_.load(); }
  bool ErgebnisSelected() const override;
  void ProcessEvents() override;
  void ReportProgress(const RunProgress& progress) override;

 protected:
  /// Form_Unload: closing the window runs the Quit action unless it is already under way.
  void closeEvent(QCloseEvent* event) override;

 private:
  struct Outcome {
    enum class Kind { Written, Failed, Stopped } kind = Kind::Stopped;
    std::string text;  // the file name or the message
  };

  void BuildWidgets();
  void BuildInputs();
  void BuildLabels();
  void BuildActions();
  void BuildDerivation();
  void PlaceWidgets();
  void SetTabOrder();
  void ConnectActions();

  void TakeSnapshot();
  void RunInWorker();
  void RunFinished();
  void ShowOutcome();
  void ShowProgress();
  void ShowDerivation();
  void FinishDerivation();
  void PdfFinished(bool ok, const QString& text);
  bool StopWorker();
  void EndProgram();
  void ThrowIfStopped() const;
  void PostToWindow(std::function<void()> change);

  Services services_;
  RunDriver driver_;

  QLabel* label1_ = nullptr;
  QPlainTextEdit* text1Edit_ = nullptr;
  QLabel* label4_ = nullptr;
  QLabel* label2_ = nullptr;
  QLabel* notationLine_ = nullptr;  // under the help text: letters and symbols
  QLabel* label3_ = nullptr;
  QLineEdit* text2Edit_ = nullptr;
  QPushButton* command1_ = nullptr;
  std::array<QRadioButton*, kOptionCount> option1_{};
  QCheckBox* gesetzeBox_ = nullptr;
  QCheckBox* ergebnisBox_ = nullptr;  // each block ends with the section "Ergebnis"
  QPushButton* command2_ = nullptr;
  QLabel* statusLine_ = nullptr;
  DerivationView* derivation_ = nullptr;
  QPushButton* pdfButton_ = nullptr;
  PdfTypesetter* pdf_ = nullptr;
  DerivationFeed feed_;
  QString writtenFile_;  // the document of the last successful run
  QTimer* progressTimer_ = nullptr;

  // The run's copies of Text1 and Text2, taken when Start is pressed.
  mutable std::mutex runTextsMutex_;
  std::string runText1_;
  std::string runText2_;
  std::atomic<OptionEntry> option_{kOptionTable[0].entry};
  std::atomic<bool> gesetze_{false};  // the check box, as taken when Start is pressed
  std::atomic<bool> ergebnis_{false};
  std::atomic<bool> stopRequested_{false};
  std::atomic<std::int32_t> progressFormula_{0};
  std::atomic<std::int32_t> progressTotal_{0};
  std::atomic<std::int64_t> progressLines_{0};
  std::atomic<std::int64_t> progressBytes_{0};
  QThread* worker_ = nullptr;
  Outcome outcome_;
  bool quitting_ = false;
};

}  // namespace umbrix::window
