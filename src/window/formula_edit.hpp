// The window's formula input (Text1). Qt lays a line out whole whenever it is shown or edited,
// which takes seconds for a line of megabytes; such a line is refused when it is pasted or
// dropped, and the window says where such formulas go instead.
#pragma once

#include <QPlainTextEdit>
#include <functional>

namespace umbrix::window {

class FormulaEdit : public QPlainTextEdit {
 public:
  /// Longest line that the input takes, in characters: far more than any formula typed by
  /// hand, and laid out in a blink.
  static constexpr qsizetype kLongestLine = 20000;

  /// refused is told the length of the longest line of a text that was not taken.
  FormulaEdit(QWidget* parent, std::function<void(qsizetype length)> refused);

 protected:
  void insertFromMimeData(const QMimeData* source) override;

 private:
  std::function<void(qsizetype length)> refused_;
};

}  // namespace umbrix::window
