// The window's "PDF" action: typesets the written document with pdflatex in the background,
// reports the pages done, can be cancelled, and hands over the PDF's path or the reason why
// there is none.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QProcess;

namespace umbrix {
class PdfJob;
}

namespace umbrix::window {

class PdfTypesetter : public QObject {
 public:
  /// ok: the PDF's path in text; otherwise the German message, or an empty text when cancelled.
  using Finished = std::function<void(bool ok, const QString& text)>;
  using Progress = std::function<void(int pages)>;

  PdfTypesetter(QObject* parent, Progress progress, Finished finished);
  ~PdfTypesetter() override;

  /// Starts typesetting texPath; false (and message set) when that is not possible right now.
  bool Start(const QString& texPath, QString& message);
  /// Stops a running pdflatex; the document stays, no PDF is made. Reports a cancelled run.
  void Cancel();
  bool Running() const { return process_ != nullptr; }

 private:
  void ReadOutput();
  void Done(int exitCode, bool crashed);
  void Stop();

  Progress progress_;
  Finished finished_;
  QProcess* process_ = nullptr;
  std::unique_ptr<PdfJob> job_;
  QByteArray output_;
  int pages_ = 0;
};

}  // namespace umbrix::window
