#include "window/formula_edit.hpp"

#include <QMimeData>
#include <algorithm>

namespace umbrix::window {

namespace {

qsizetype LongestLine(const QString& text) {
  qsizetype longest = 0;
  qsizetype start = 0;
  for (qsizetype at = 0; at <= text.size(); ++at) {
    if (at < text.size() && text[at] != '\n' && text[at] != '\r') continue;
    longest = std::max(longest, at - start);
    start = at + 1;
  }
  return longest;
}

}  // namespace

FormulaEdit::FormulaEdit(QWidget* parent, std::function<void(qsizetype length)> refused)
    : QPlainTextEdit(parent), refused_(std::move(refused)) {}

void FormulaEdit::insertFromMimeData(const QMimeData* source) {
  if (source != nullptr && source->hasText()) {
    const qsizetype longest = LongestLine(source->text());
    if (longest > kLongestLine) {
      refused_(longest);
      return;
    }
  }
  QPlainTextEdit::insertFromMimeData(source);
}

}  // namespace umbrix::window
