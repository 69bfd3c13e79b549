// The window's "PDF" action: typesets the written document with pdflatex in the background,
// reports the pages done, can be cancelled, stops pdflatex (with its process group) at the time
// limit, and hands over the PDF's path or the reason why there is none.
#pragma once

#include <QObject>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>

#include "typesetting/typesetting.hpp"

class QProcess;
class QTimer;

namespace umbrix::window {

class PdfTypesetter : public QObject {
 public:
  /// ok: the PDF's path in text; otherwise the German message, or an empty text when cancelled.
  using Finished = std::function<void(bool ok, const QString& text)>;
  using Progress = std::function<void(int pages)>;

  /// limit: how long pdflatex may work before it is stopped (zero: as long as it takes).
  PdfTypesetter(QObject* parent, Progress progress, Finished finished,
                std::chrono::seconds limit = kDefaultTypesettingTime);
  ~PdfTypesetter() override;

  /// Starts typesetting texPath; false (and message set) when that is not possible right now.
  bool Start(const QString& texPath, QString& message);
  /// Stops a running pdflatex; the document stays, no PDF is made. Reports a cancelled run.
  void Cancel();
  bool Running() const { return process_ != nullptr; }

 private:
  void ReadOutput();
  void Done(int exitCode, bool crashed);
  void TimedOut();
  void Stop();

  Progress progress_;
  Finished finished_;
  std::chrono::seconds limit_;
  QProcess* process_ = nullptr;
  QTimer* clock_ = nullptr;  // the time limit
  qint64 processGroup_ = 0;  // pdflatex's process group while it runs
  std::unique_ptr<PdfJob> job_;
  QByteArray output_;
  int pages_ = 0;
};

}  // namespace umbrix::window
