#include "window/derivation_view.hpp"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QScrollBar>
#include <QSyntaxHighlighter>
#include <QTextCursor>

namespace umbrix::window {

namespace {

// Headings bold (a formula's number, the lines that open a phase, the heading of the section
// "Ergebnis"); the marked normal forms
// bold on a light green background. A fixed-width font squeezes the arrows ← → ↔ into one
// narrow cell, where they are hard to tell apart; they are drawn in the proportional font.
class DerivationHighlighter : public QSyntaxHighlighter {
 public:
  explicit DerivationHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {
    arrowFormat_.setFontFamilies({QFontDatabase::systemFont(QFontDatabase::GeneralFont).family()});
  }

 protected:
  void highlightBlock(const QString& text) override {
    MarkArrows(text);
    QTextCharFormat format;
    format.setFontWeight(QFont::Bold);
    if (text.contains(QChar(0x25C4)))
      format.setBackground(QColor(0xd8, 0xf0, 0xd0));
    else if (!text.endsWith(':') && !text.endsWith(". Formel") && !text.endsWith("...") && text != "Ergebnis")
      return;
    setFormat(0, static_cast<int>(text.size()), format);
    MarkArrows(text);
  }

 private:
  void MarkArrows(const QString& text) {
    for (qsizetype at = 0; at < text.size(); ++at)
      if (IsArrow(text[at])) {
        QTextCharFormat arrow = format(static_cast<int>(at));
        arrow.merge(arrowFormat_);
        setFormat(static_cast<int>(at), 1, arrow);
      }
  }
  static bool IsArrow(QChar c) { return c == QChar(0x2190) || c == QChar(0x2192) || c == QChar(0x2194); }

  QTextCharFormat arrowFormat_;
};

}  // namespace

void DerivationFeed::Begin(std::size_t width) {
  std::lock_guard lock(mutex_);
  pending_.clear();
  rendered_ = 0;
  truncated_ = false;
  text_.emplace([this](std::string_view piece) { Append(piece); }, width);
}

std::string DerivationFeed::TakePending() {
  std::lock_guard lock(mutex_);
  std::string taken;
  taken.swap(pending_);
  return taken;
}

void DerivationFeed::Append(std::string_view piece) {
  if (rendered_ + piece.size() > kShownBytes) {
    truncated_ = true;
    return;
  }
  rendered_ += piece.size();
  std::lock_guard lock(mutex_);
  pending_ += piece;
}

void DerivationFeed::OnFormulaStart(const FormulaStartEvent& event) {
  if (!truncated_) text_->OnFormulaStart(event);
}

void DerivationFeed::OnStep(const StepEvent& event) {
  if (!truncated_) text_->OnStep(event);
}

void DerivationFeed::OnSentence(const SentenceEvent& event) {
  if (!truncated_) text_->OnSentence(event);
}

void DerivationFeed::OnErgebnis(const ErgebnisEvent& event) {
  if (!truncated_) text_->OnErgebnis(event);
}

void DerivationFeed::OnFormulaEnd(const FormulaEndEvent& event) {
  if (!truncated_) text_->OnFormulaEnd(event);
}

DerivationView::DerivationView(QWidget* parent) : QPlainTextEdit(parent) {
  setObjectName("Herleitung");
  setReadOnly(true);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  setPlaceholderText("Nach Start steht hier die Herleitung.");
  new DerivationHighlighter(document());
}

int DerivationView::Columns() const {
  const int charWidth = QFontMetrics(font()).horizontalAdvance('X');
  const int usable = viewport()->width() - 2 * static_cast<int>(document()->documentMargin());
  return charWidth > 0 ? usable / charWidth : 80;
}

void DerivationView::AppendText(const QString& text) {
  const int scroll = verticalScrollBar()->value();
  QTextCursor end(document());
  end.movePosition(QTextCursor::End);
  end.insertText(text);
  verticalScrollBar()->setValue(scroll);
}

void DerivationView::ScrollToTop() {
  moveCursor(QTextCursor::Start);
  verticalScrollBar()->setValue(0);
}

}  // namespace umbrix::window
