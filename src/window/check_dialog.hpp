// "Herleitung prüfen": a window of its own beside the main window, where a student types a
// derivation (the exercise, then one step per line) and reads the verdict beside each step.
#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QPlainTextEdit;
class QPushButton;

namespace umbrix::window {

class CheckDialog : public QDialog {
 public:
  explicit CheckDialog(QWidget* parent = nullptr);

  /// Prüfen: judges the derivations of the input and shows the verdicts.
  void Check();

 private:
  QPlainTextEdit* input_ = nullptr;
  QComboBox* goal_ = nullptr;
  QCheckBox* hint_ = nullptr;
  QPushButton* checkButton_ = nullptr;
  QPlainTextEdit* verdicts_ = nullptr;
};

}  // namespace umbrix::window
