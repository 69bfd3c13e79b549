// The run driver. It only sequences the work and writes the fixed LaTeX frame; all logic
// about formulas lies in Formel and SimFormel.
#include "run/run_driver.hpp"

#include <cctype>
#include <optional>
#include <vector>

#include "input/input_check.hpp"
#include "render/latex_render.hpp"
#include "render/texts.hpp"
#include "run/platform.hpp"
#include "utilities/run_error.hpp"
#include "utilities/std_text.hpp"

namespace umbrix {

namespace {

// Blank lines between formulas vanish (single pass: two in a row leave one), blanks are
// deleted everywhere and every lower-case x becomes X.
std::string NormalisedWorkingText(const std::string& text) {
  const std::string lineBreak(LineBreak);
  return ReplaceAll(lineBreak + text + lineBreak, {RepeatText(LineBreak, 2), lineBreak, " ", "", "x", "X"});
}

// 0-based positions of every line break in the working text.
std::vector<std::size_t> LineBreakPositions(const std::string& w) {
  std::vector<std::size_t> positions;
  for (auto pos = w.find(LineBreak); pos != std::string::npos; pos = w.find(LineBreak, pos + 1))
    positions.push_back(pos);
  return positions;
}

}  // namespace

// One normal form's half of a block: the sentence that opens it, if any, whether it starts
// from the simple formula's copy of the reduced formula, its conversion and merging phases,
// the conversion's three operations, and the sentence that says the form is found.
struct NormalFormPhase {
  std::optional<Sentence> opening;
  bool fromCopy;
  Phase conversion;
  Phase merge;
  bool (SimFormel::*notNormal)() const;
  void (SimFormel::*makeStepwise)(bool&, const SimplifyMode&, GesetzSink*);
  void (SimFormel::*makeDirect)(bool, GesetzSink*);
  Sentence found;
};

namespace {

constexpr NormalFormPhase kNormalFormPhases[] = {
    {std::nullopt, true, Phase::Disjunctive, Phase::DisjunctiveMerge, &SimFormel::NotDis, &SimFormel::MakeDis,
     &SimFormel::MakeDisDirect, Sentence::DisjunctiveFound},
    {Sentence::TowardsConjunctive, false, Phase::Conjunctive, Phase::ConjunctiveMerge, &SimFormel::NotKon,
     &SimFormel::MakeKon, &SimFormel::MakeKonDirect, Sentence::ConjunctiveFound},
};

}  // namespace

const char* PhaseName(Phase phase) { return texts::TextsOf(phase).name.data(); }

std::string OutputFileName(const std::string& text2) {
  std::string name = text2;
  const std::size_t folderEnd = name.find_last_of('/');
  for (std::size_t i = folderEnd == std::string::npos ? 0 : folderEnd + 1; i < name.size(); ++i)
    name[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[i])));
  if (!name.ends_with(texts::kDocumentSuffix)) name += texts::kDocumentSuffix;
  return name;
}

bool RunDriver::OptionMode::Fast() const { return platform_.OptionSelected(OptionEntry::kFastSimplify); }

RunDriver::RunDriver(Platform& platform, OutputOpener opener)
    : platform_(platform), opener_(std::move(opener)), mode_(platform) {}

std::string RunDriver::Command1_Click() {
  platform_.EnableStart(false);
  std::string fileName;
  std::optional<OutputFile> file;
  bytesWritten_ = 0;
  withGesetze_ = platform_.GesetzeAngeben();
  closingCap_ = platform_.ClosingCap();
  capReached_ = false;
  try {
    const std::string text = platform_.Text1();
    CheckInputOrThrow(text);
    letters_ = CollectLetters(text);
    const std::string w = NormalisedWorkingText(text);
    platform_.SetText1(w.size() >= 4 ? w.substr(2, w.size() - 4) : std::string());
    fileName = PrepareOutputName();
    file.emplace(opener_(fileName));
    file_ = &*file;
    const std::int32_t formulas = WriteDocument(w);
    platform_.SetCaption(texts::kCaption);
    file->Close();
    EndRun();
    if (observer_ != nullptr) observer_->OnRunEnd({formulas, bytesWritten_});
  } catch (...) {
    // Only a closed document replaces the previous one; any other end removes what was written.
    EndRun();
    file.reset();
    platform_.SetCaption(texts::kCaption);
    platform_.EnableStart(true);
    throw;
  }
  platform_.EnableStart(true);
  return fileName;
}

void RunDriver::EndRun() {
  ergebnis_.Reset();
  ergebnisOn_ = false;
  ergebnisPending_ = false;
  if (file_ != nullptr) bytesWritten_ = file_->BytesWritten();
  file_ = nullptr;
  lineNames_ = nullptr;
}

void RunDriver::CheckInputOrThrow(const std::string& text) const {
  auto problems = CheckInput(text);
  if (!problems.empty()) throw RunError(RunError::Kind::Input, DescribeProblems(problems));
}

std::string RunDriver::PrepareOutputName() {
  std::string fileName = OutputFileName(platform_.Text2());
  platform_.SetText2(fileName);
  return fileName;
}

std::int32_t RunDriver::WriteDocument(const std::string& w) {
  for (const char* line : texts::kDocumentPreamble) {
    if (withGesetze_ && line == std::string_view(texts::kDocumentBegin))
      file_->WriteLine(texts::kGesetzMacro);
    file_->WriteLine(line);
  }
  const std::vector<std::size_t> breaks = LineBreakPositions(w);
  const auto count = static_cast<std::int32_t>(breaks.size()) - 1;
  for (std::int32_t n = 1; n <= count; ++n) {
    if (count > 1) file_->WriteLine(texts::FormulaHeading(NumberText(n)));
    const std::size_t a = breaks[static_cast<std::size_t>(n - 1)];
    const std::size_t b = breaks[static_cast<std::size_t>(n)];
    TranslatedLine line = TranslateLine(std::string_view(w).substr(a + 2, b - a - 2), letters_);
    lineNames_ = line.usesLetters ? &letters_.names : nullptr;
    try {
      WriteFormula(std::move(line.text), n, count);
    } catch (const RunError& error) {
      if (error.kind() == RunError::Kind::TooLarge) WriteStoppedEnd();
      throw;
    }
    platform_.ProcessEvents();
  }
  file_->WriteLine(texts::kDocumentEnd);
  return count < 0 ? 0 : count;
}

// The member limit or the closing cap ends the derivation where it stands: the document says
// why and is closed, so that it typesets and replaces the previous one.
void RunDriver::WriteStoppedEnd() {
  const std::string laterFormula = formula_ < formulaCount_ ? NumberText(formula_) : std::string();
  const std::string paragraph = capReached_ ? texts::ClosingCapParagraph(closingCap_, laterFormula)
                                            : texts::MemberLimitParagraph(phase_, kMaxMembers, laterFormula);
  file_->WriteLine(paragraph + std::string(LineBreak));
  if (ergebnisPending_) WriteStoppedErgebnis();
  file_->WriteLine(texts::kDocumentEnd);
  file_->Close();
}

// The section of the block that stopped, computed from the input's own function; left out
// when it would take the document past its size limit, so that the run ends as it would
// without it.
void RunDriver::WriteStoppedErgebnis() {
  ergebnisPending_ = false;
  const std::vector<ErgebnisLine> lines = ergebnis_.StoppedLines(lineNames_);
  std::string section;
  for (const std::string& paragraph : RenderErgebnisLatex(lines, ergebnis_.Table(), lineNames_))
    section.append(paragraph).append(LineBreak).append(LineBreak);
  if (!file_->HasRoomFor(section.size() + std::string_view(texts::kDocumentEnd).size() + LineBreak.size()))
    return;
  file_->WriteText(section);
  try {
    NotifyErgebnis(lines);
  } catch (const RunStopped&) {
    // The run ends here anyway, with the reason it stopped for.
  }
}

void RunDriver::WriteFormula(std::string line, std::int32_t n, std::int32_t count) {
  formula_ = n;
  formulaCount_ = count;
  if (observer_ != nullptr) observer_->OnFormulaStart({n, count, line});
  StartFormula(line);
  ReductionLoop();
  NormalFormPhases(count);
  if (observer_ != nullptr) observer_->OnFormulaEnd({n, count});
}

void RunDriver::StartFormula(const std::string& line) {
  ergebnisPending_ = false;
  platform_.SetCaption(texts::kCaptionRunning);
  StartPhase(Phase::Input);
  workFormel_.SetValue(line);  // the parser lower-cases the line and drops the letter X
  const std::string formelText = workFormel_.FormelText();
  line_.clear();
  AppendRenderedFormel(line_, formelText, lineNames_);
  line_ += LineBreak;
  WriteFormulaLine();
  NotifyStep(formelText, false, false);
  ergebnisOn_ = platform_.ErgebnisSelected();
  if (ergebnisOn_) ergebnis_.Start(workFormel_, withGesetze_);
  ergebnisPending_ = ergebnisOn_;
}

void RunDriver::ReductionLoop() {
  StartPhase(Phase::Reduction);
  while (workFormel_.NotSimForm()) {
    workFormel_.MakeSimForm(StartStep());
    WriteFormelStep(workFormel_.FormelText());
    if (ergebnisOn_) ergebnis_.CheckStep(workFormel_);
  }
}

void RunDriver::NormalFormPhases(std::int32_t count) {
  for (const NormalFormPhase& form : kNormalFormPhases) {
    if (form.opening) WriteSentence(*form.opening);
    StartPhase(form.conversion);
    if (form.fromCopy) {
      workSimFormel_.MakeCopy(workFormel_, StartStep());
      if (ergebnisOn_) ergebnis_.SetCopy(workSimFormel_);
      WriteSimFormelStep();
    }
    ConversionLoop(form);
    WriteSentence(form.found);
    WriteSentence(Sentence::Merge);
    StartPhase(form.merge);
    SimplificationLoop();
    if (ergebnisOn_) ErgebnisAfterMerge(form.merge);
    if (count > 1) file_->WriteLine(texts::kBlockSpace);
  }
}

// The section keeps the disjunctive normal form and ends the block after the conjunctive one.
void RunDriver::ErgebnisAfterMerge(Phase merge) {
  if (merge == Phase::DisjunctiveMerge)
    ergebnis_.SetDisjunctive(workSimFormel_);
  else
    WriteErgebnis();
}

// The section ends the block: each of its paragraphs as one line and a blank line.
void RunDriver::WriteErgebnis() {
  ergebnisPending_ = false;
  ergebnis_.SetConjunctive(workSimFormel_);
  const std::vector<ErgebnisLine> lines = ergebnis_.Lines(lineNames_);
  for (const std::string& paragraph : RenderErgebnisLatex(lines, ergebnis_.Table(), lineNames_))
    file_->WriteLine(paragraph + std::string(LineBreak));
  // The front end shows the section before a cap reached with it ends the run.
  NotifyErgebnis(lines);
  ReportProgress();
}

void RunDriver::NotifyErgebnis(const std::vector<ErgebnisLine>& lines) {
  if (observer_ == nullptr) return;
  const std::optional<TruthTable>& table = ergebnis_.Table();
  observer_->OnErgebnis({lines, table ? &*table : nullptr, lineNames_});
}

// Converts step by step while the formula is not in the normal form, one line per step.
void RunDriver::ConversionLoop(const NormalFormPhase& form) {
  while ((workSimFormel_.*form.notNormal)()) {
    if (DirectMode()) {
      (workSimFormel_.*form.makeDirect)(true, StartStep());
    } else {
      bool alreadyDone = false;
      (workSimFormel_.*form.makeStepwise)(alreadyDone, mode_, StartStep());
    }
    WriteSimFormelStep();
  }
}

// Simplifies until the text stops changing; the unchanged last result is written too.
void RunDriver::SimplificationLoop() {
  std::string before = workSimFormel_.Value();
  for (;;) {
    if (DirectMode())
      workSimFormel_.SimplifyDirect(StartStep());
    else
      workSimFormel_.Simplify(mode_, StartStep());
    // The formula keeps its text until it changes; a change rebuilds it from kept member texts.
    const bool unchanged = workSimFormel_.FormelText() == before;
    WriteSimFormelStep(unchanged);
    if (unchanged) return;
    before = workSimFormel_.FormelText();
  }
}

bool RunDriver::DirectMode() const { return platform_.OptionSelected(OptionEntry::kFewSteps); }

// The sink for the laws of the next step, or none when the document names no laws.
GesetzSink* RunDriver::StartStep() {
  if (!withGesetze_) return nullptr;
  gesetze_.Clear();
  return &gesetze_;
}

// Appends the laws of the step to the rendered formula in line_, before its line break; a
// step that applied none left the formula as it was.
void RunDriver::AppendGesetze() {
  if (!withGesetze_) return;
  if (gesetze_.Gesetze().empty()) gesetze_.Report(Gesetz::KeineAenderung);
  line_.resize(line_.size() - LineBreak.size());
  AppendLatexGesetze(line_, gesetze_.Gesetze());
  line_ += LineBreak;
}

void RunDriver::StartStepLine() {
  line_.clear();
  line_ += texts::kStepPrefix;
}

void RunDriver::WriteFormulaLine() {
  // Long lines go to the file piece by piece, without a wrapped copy of the line.
  WriteWrappedLine(line_, [this](std::string_view piece) { file_->WriteText(piece); });
  file_->WriteText(LineBreak);
  ReportProgress();
}

// Tells the front end how far the run is, and ends the document at the closing cap.
void RunDriver::ReportProgress() {
  platform_.ReportProgress({formula_, formulaCount_, phase_, file_->LinesWritten(), file_->BytesWritten()});
  if (closingCap_ > 0 && file_->BytesWritten() >= closingCap_) {
    capReached_ = true;
    throw RunError(RunError::Kind::TooLarge, texts::ClosingCapMessage(closingCap_));
  }
}

void RunDriver::StartPhase(Phase phase) {
  phase_ = phase;
  stepNumber_ = 0;
}

void RunDriver::WriteFormelStep(const std::string& formelText) {
  StartStepLine();
  AppendRenderedFormel(line_, formelText, lineNames_);
  AppendGesetze();
  WriteFormulaLine();
  NotifyStep(formelText, false, false);
}

// With many small steps the LaTeX comes straight from the tree, whose unchanged subtrees keep
// their LaTeX from step to step. With few steps most of the tree changes between two lines:
// the text form, kept anyway for ordering the members, is translated, and no subtree holds
// its LaTeX as well. The text form is built for an observer too.
void RunDriver::WriteSimFormelStep(bool result) {
  StartStepLine();
  if (DirectMode())
    AppendRenderedSimFormel(line_, std::string_view(workSimFormel_.FormelText()), lineNames_);
  else
    AppendRenderedSimFormel(line_, workSimFormel_, lineNames_);
  AppendGesetze();
  WriteFormulaLine();
  if (ergebnisOn_) ergebnis_.CheckStep(workSimFormel_);
  NotifyStep(observer_ != nullptr ? std::string_view(workSimFormel_.FormelText()) : std::string_view(), true,
             result);
}

// The formula line just written is line_: an optional step prefix, then "$", the LaTeX, "$"
// and one or two line breaks.
void RunDriver::NotifyStep(std::string_view formelText, bool simple, bool result) {
  if (phase_ != Phase::Input) ++stepNumber_;
  if (observer_ == nullptr) return;
  const std::size_t open = line_.find('$', phase_ == Phase::Input ? 0 : texts::kStepPrefix.size()) + 1;
  const std::size_t close = line_.rfind('$');
  const std::string_view latex = std::string_view(line_).substr(open, close - open);
  std::span<const Gesetz> gesetze;
  if (withGesetze_ && phase_ != Phase::Input) gesetze = gesetze_.Gesetze();
  observer_->OnStep({phase_, stepNumber_, simple, formelText, latex, result, lineNames_, gesetze});
}

void RunDriver::WriteSentence(Sentence sentence) {
  line_.assign(SentenceText(sentence));
  if (sentence == Sentence::ConjunctiveFound) line_ += texts::kConjunctiveFoundSpace;
  line_ += LineBreak;
  file_->WriteLine(line_);
  if (observer_ != nullptr) observer_->OnSentence({sentence, SentenceText(sentence)});
}

}  // namespace umbrix
