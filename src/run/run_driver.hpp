// The Start action: normalises the input, writes the document's frame and drives every
// formula through its reduction and normal form phases, one document line per step.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "general_formula/formel.hpp"
#include "input/notation.hpp"
#include "render/ergebnis.hpp"
#include "render/run_events.hpp"
#include "run/platform.hpp"
#include "simple_formula/sim_formel.hpp"
#include "utilities/output_file.hpp"

namespace umbrix {

class Platform;
struct NormalFormPhase;

/// The output file name for the text of Text2: the file-name part upper-cased (folders stay
/// as typed), ".TEX" appended unless the text already ends so.
std::string OutputFileName(const std::string& text2);

class RunDriver {
 public:
  using OutputOpener = std::function<OutputFile(const std::string& fileName)>;

  explicit RunDriver(Platform& platform, OutputOpener opener = OpenDocument);

  /// The usual opener: a new document in place of the named file (see OutputFile).
  static OutputFile OpenDocument(const std::string& fileName) { return OutputFile::OpenNewFile(fileName); }

  /// Runs the whole conversion and returns the output file name. Throws RunError for invalid
  /// input (before anything is changed or written), file errors and formulas beyond the member
  /// limit, RunStopped when the front end ends the run. The window is idle again afterwards.
  /// Only a complete document, or one closed at the member limit, replaces the previous file.
  std::string Command1_Click();

  /// Events of every following run go to observer (none: nullptr, the default); the observer
  /// must outlive the runs.
  void SetObserver(RunObserver* observer) { observer_ = observer; }

  /// Size of the document written by the last run, also when it stopped early.
  std::int64_t BytesWritten() const { return bytesWritten_; }

  /// The names of the variables of the formula being written, nullptr while it uses X-indexes;
  /// every rendering of the formula shows them.
  const VariableNames* LineNames() const { return lineNames_; }

  const Formel& WorkFormel() const { return workFormel_; }
  const SimFormel& WorkSimFormel() const { return workSimFormel_; }

 private:
  class OptionMode : public SimplifyMode {
   public:
    explicit OptionMode(const Platform& platform) : platform_(platform) {}
    bool Fast() const override;

   private:
    const Platform& platform_;
  };

  void CheckInputOrThrow(const std::string& text) const;
  void EndRun();
  std::string PrepareOutputName();
  std::int32_t WriteDocument(const std::string& w);
  void WriteStoppedEnd();
  void WriteStoppedErgebnis();
  void WriteFormula(std::string line, std::int32_t n, std::int32_t count);
  void StartFormula(const std::string& line);
  void ReductionLoop();
  void NormalFormPhases(std::int32_t count);
  void ConversionLoop(const NormalFormPhase& form);
  void SimplificationLoop();
  bool DirectMode() const;
  GesetzSink* StartStep();
  void StartStepLine();
  void AppendGesetze();
  void WriteFormulaLine();
  void ReportProgress();
  void StartPhase(Phase phase);
  void WriteFormelStep(const std::string& formelText);
  void WriteSimFormelStep(bool result = false);
  void NotifyStep(std::string_view formelText, bool simple, bool result);
  void WriteSentence(Sentence sentence);
  void ErgebnisAfterMerge(Phase merge);
  void WriteErgebnis();
  void NotifyErgebnis(const std::vector<ErgebnisLine>& lines);

  Platform& platform_;
  OutputOpener opener_;
  OptionMode mode_;
  OutputFile* file_ = nullptr;
  RunObserver* observer_ = nullptr;
  Phase phase_ = Phase::Input;
  std::int32_t stepNumber_ = 0;
  std::int64_t bytesWritten_ = 0;
  std::int32_t formula_ = 0;
  std::int32_t formulaCount_ = 0;
  std::string line_;  // the line being written, reused to spare large allocations
  LetterTable letters_;
  const VariableNames* lineNames_ = nullptr;
  bool withGesetze_ = false;
  GesetzListe gesetze_;  // the laws of the step being made
  Formel workFormel_;
  SimFormel workSimFormel_;
  ErgebnisCollector ergebnis_;
  bool ergebnisOn_ = false;  // read once per formula
  bool ergebnisPending_ = false;  // the block's section is still to be written
  std::int64_t closingCap_ = 0;  // read once per run
  bool capReached_ = false;
};

}  // namespace umbrix
