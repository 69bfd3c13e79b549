// The main window: the formulas, the output file name, the three options, Start and Quit.
// Start hands the run to the worker, which runs the driver on its own thread; the window
// shows what the run changes, its progress, its derivation and how it ended.
#pragma once

#include <QWidget>
#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "run/option_entry.hpp"
#include "typesetting/typesetting.hpp"
#include "utilities/output_file.hpp"
#include "window/derivation_view.hpp"
#include "window/notice_box.hpp"
#include "window/quit_clock.hpp"
#include "window/run_worker.hpp"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QResizeEvent;
class QRadioButton;
class QTimer;

namespace umbrix::window {

class CheckDialog;
class PdfTypesetter;

class Form1 : public QWidget {
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
    /// Where the level, the check boxes and the output name are kept from one start to the
    /// next; empty: nothing is kept.
    QString settingsFile = {};
    /// Most bytes of a document while the size limit is ticked.
    std::int64_t documentLimit = kDefaultDocumentLimit;
    /// How long pdflatex may work for the PDF button.
    std::chrono::seconds typesettingLimit = kDefaultTypesettingTime;
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
  bool Running() const { return worker_.Running(); }
  /// PDF: typesets the written document, or cancels a typesetting under way.
  void PdfClicked();
  /// Whether pdflatex is at work for the PDF button.
  bool Typesetting() const;
  /// "Herleitung prüfen …": shows the window for checking one's own derivation.
  void OpenCheckDialog();

  /// Whether the run reads this entry of the option group.
  bool OptionSelected(OptionEntry entry) const { return worker_.OptionSelected(entry); }

 protected:
  /// Form_Unload: closing the window runs the Quit action unless it is already under way.
  void closeEvent(QCloseEvent* event) override;
  /// The reference arrangement adapted to the window's size.
  void resizeEvent(QResizeEvent* event) override;

 private:
  void BuildWidgets();
  void BuildInputs();
  void BuildLabels();
  void BuildActions();
  void BuildDerivation();
  void PlaceWidgets();
  void ApplyLayout(QSize size);
  void ShowHelp(bool shown);
  void UpdateMinimumSize();
  QSize StartSize() const;
  void SetTabOrder();
  void ConnectActions();
  void LoadSettings();
  void SaveSettings() const;

  RunWorker::WindowSide WorkerSide();
  void RunFinished();
  void ShowOutcome();
  void ShowProgress();
  void ShowDerivation();
  void FinishDerivation();
  void PdfFinished(bool ok, const QString& text);
  void EndProgram();

  Services services_;

  QLabel* formulasLabel_ = nullptr;
  QPlainTextEdit* text1Edit_ = nullptr;
  QLabel* legendLabel_ = nullptr;  // the connectives beside the formulas
  QLabel* helpLabel_ = nullptr;
  QLabel* notationLine_ = nullptr;  // under the help text: letters and symbols
  QLabel* helpToggle_ = nullptr;    // folds the help text and the notation lines away
  QLabel* outputNameLabel_ = nullptr;
  QLineEdit* text2Edit_ = nullptr;
  QPushButton* command1_ = nullptr;
  std::array<QRadioButton*, kOptionCount> option1_{};
  QCheckBox* gesetzeBox_ = nullptr;
  QCheckBox* ergebnisBox_ = nullptr;   // each block ends with the section "Ergebnis"
  QCheckBox* sizeLimitBox_ = nullptr;  // documents stop at the size limit
  QPushButton* command2_ = nullptr;
  QLabel* statusLine_ = nullptr;
  DerivationView* derivation_ = nullptr;
  QPushButton* pdfButton_ = nullptr;
  QPushButton* checkButton_ = nullptr;  // opens "Herleitung prüfen"
  CheckDialog* checkDialog_ = nullptr;
  PdfTypesetter* pdf_ = nullptr;
  DerivationFeed feed_;
  QString writtenFile_;  // the document of the last successful run
  QTimer* progressTimer_ = nullptr;
  // How a widget follows the window's size: it keeps its place, grows to the right, or moves
  // with the right edge; the formula input also gives up height before the derivation view does.
  enum class Anchor { Fixed, Widen, Right, Formulas, View };
  struct PlacedWidget {
    QWidget* widget;
    QRect box;  // at the reference size
    Anchor anchor;
  };
  std::vector<PlacedWidget> placed_;
  QSize referenceSize_;
  int leastHeight_ = 0;   // the least window height with the help text shown
  int belowHelpTop_ = 0;  // the top of the rows below the help text, at the reference size
  int helpHeight_ = 0;    // the room the help text and the notation lines take
  bool helpShown_ = true;
  bool helpChosen_ = false;  // the user folded or showed the help, so it is kept for the next start
  bool quitting_ = false;
  // Last, so that it is destroyed first: its destructor waits for a run that still writes to
  // the derivation feed.
  RunWorker worker_;
};

}  // namespace umbrix::window
