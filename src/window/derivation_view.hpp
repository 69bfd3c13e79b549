// The derivation in the window: a read-only view below the inputs that fills while the run
// writes. The text is rendered on the worker thread (DerivationFeed, the driver's observer) and
// handed to the view in pieces; a very long derivation shows its beginning and a note.
#pragma once

#include <QPlainTextEdit>
#include <atomic>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>

#include "render/readable_render.hpp"

namespace umbrix::window {

/// The driver's observer in the window: renders the readable text into a buffer that the
/// window's thread takes from. Stops rendering once the view holds enough.
class DerivationFeed : public RunObserver {
 public:
  /// Most bytes of text that the view is given.
  static constexpr std::size_t kShownBytes = 2'000'000;

  /// A new run, its text wrapped at width columns; call before the worker starts.
  void Begin(std::size_t width);
  /// The text rendered since the last call.
  std::string TakePending();
  /// Whether the text was cut off at kShownBytes.
  bool Truncated() const { return truncated_; }

  void OnFormulaStart(const FormulaStartEvent& event) override;
  void OnStep(const StepEvent& event) override;
  void OnSentence(const SentenceEvent& event) override;
  void OnErgebnis(const ErgebnisEvent& event) override;
  void OnFormulaEnd(const FormulaEndEvent& event) override;

 private:
  void Append(std::string_view piece);

  std::mutex mutex_;
  std::string pending_;
  std::size_t rendered_ = 0;  // bytes rendered in this run
  std::atomic<bool> truncated_{false};
  std::optional<TextDerivation> text_;
};

/// The read-only view, in a fixed-width font; headings and the marked normal forms stand out.
class DerivationView : public QPlainTextEdit {
 public:
  explicit DerivationView(QWidget* parent);

  /// Columns that fit across the view.
  int Columns() const;
  /// Appends text at the end without moving what is shown.
  void AppendText(const QString& text);
  /// Shows the beginning.
  void ScrollToTop();
};

}  // namespace umbrix::window
