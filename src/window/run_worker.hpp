// A run of the driver on its own thread, so that the window keeps repainting and Quit works
// at any moment. The worker is the driver's platform: it hands the driver the window's texts
// as they were when Start was pressed and the option as it is at the moment of the call, and
// passes every change the driver makes on to the window's thread.
#pragma once

#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "run/platform.hpp"
#include "run/run_driver.hpp"

class QObject;
class QThread;

namespace umbrix::window {

class RunWorker : public Platform {
 public:
  /// How a run ended: the file written, the message of a failure, or stopped.
  struct Outcome {
    enum class Kind { Written, Failed, Stopped } kind = Kind::Stopped;
    std::string text;  // the file name or the message
  };

  /// What a run changes in the window; every call comes on the window's thread.
  struct WindowSide {
    QObject* window = nullptr;  // the changes are queued to its thread
    std::function<void(const QString&)> showText1;
    std::function<void(const QString&)> showText2;
    std::function<void()> disableStart;
    std::function<void(const QString&)> showCaption;
    /// The run has ended; Finish() takes its outcome.
    std::function<void()> finished;
  };

  /// What a run reads from the window, taken when Start is pressed.
  struct Request {
    QString text1;  // the formulas as the edit shows them, lines separated by "\n"
    QString text2;
    bool gesetze = false;  // the check box "Gesetze angeben"
    bool sizeLimit = true;  // the document stops at the size limit
  };

  /// documentLimit: most bytes of a document when a request asks for the size limit.
  RunWorker(WindowSide side, std::int64_t documentLimit);
  /// Stops a run under way and waits for its end.
  ~RunWorker() override;

  RunDriver& Driver() { return driver_; }
  /// Starts a run on the thread; nothing when one is under way.
  void Start(const Request& request);
  /// Whether a run is under way (until Finish has taken its outcome).
  bool Running() const { return thread_ != nullptr; }
  /// Asks the run to stop at its next written line; the document stays as written up to there.
  void RequestStop() { stopRequested_ = true; }
  /// Asks the run to stop and waits at most ms for it; false when it is still running.
  bool Stop(int ms);
  /// Joins the ended run's thread; the outcome stays readable until the next run.
  void Finish();
  const Outcome& LastOutcome() const { return outcome_; }
  /// Where the run stands, as last reported; total 0 before the first report.
  RunProgress Progress() const;
  /// The entry of the option group that the run reads from its next call on.
  void SelectOption(OptionEntry entry) { option_ = entry; }
  /// Whether blocks end with the section "Ergebnis", read by the run at the moment of use.
  void SelectErgebnis(bool selected) { ergebnis_ = selected; }

  std::string Text1() const override;
  void SetText1(const std::string& text) override;
  std::string Text2() const override;
  void SetText2(const std::string& text) override;
  void EnableStart(bool enabled) override;
  void SetCaption(const std::string& caption) override;
  bool OptionSelected(OptionEntry entry) const override;
  bool GesetzeAngeben() const override { return gesetze_.load(); }
  bool ErgebnisSelected() const override { return ergebnis_.load(); }
  void ProcessEvents() override;
  void ReportProgress(const RunProgress& progress) override;

 private:
  void Run();
  OutputFile OpenDocument(const std::string& fileName) const;
  void Keep(std::string& runText, const std::string& text);
  void ThrowIfStopped() const;
  void PostToWindow(std::function<void()> change);

  WindowSide side_;
  RunDriver driver_;

  // The run's copies of Text1 and Text2.
  mutable std::mutex runTextsMutex_;
  std::string runText1_;
  std::string runText2_;
  std::atomic<OptionEntry> option_{kOptionTable[0].entry};
  std::atomic<bool> gesetze_{false};
  std::int64_t documentLimit_;
  std::atomic<bool> sizeLimit_{true};
  std::atomic<bool> ergebnis_{false};
  std::atomic<bool> stopRequested_{false};
  std::atomic<std::int32_t> progressFormula_{0};
  std::atomic<std::int32_t> progressTotal_{0};
  std::atomic<std::int64_t> progressLines_{0};
  std::atomic<std::int64_t> progressBytes_{0};
  QThread* thread_ = nullptr;
  Outcome outcome_;
};

}  // namespace umbrix::window
