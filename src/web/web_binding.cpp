// The web page's binding: the page's worker calls Run with the formulas, the file name, the
// chosen level, whether the laws are named and whether each block ends with the section
// "Ergebnis"; the Start action hands the document to the worker in pieces, byte for byte as it
// is written, and the derivation as HTML for the page. Bad input is reported line by line,
// exactly as the input check finds it, and nothing is written then.
#include <emscripten.h>
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cstdint>
#include <new>
#include <string>
#include <vector>

#include "derivation_check/check_render.hpp"
#include "derivation_check/derivation.hpp"
#include "input/input_check.hpp"
#include "render/texts.hpp"
#include "run/field_platform.hpp"
#include "run/option_entry.hpp"
#include "run/run_driver.hpp"
#include "utilities/run_error.hpp"
#include "web/web_derivation.hpp"

namespace umbrix {

namespace {

using emscripten::val;

/// Least time between two progress reports, so that a long run is not slowed by them.
constexpr double kProgressIntervalMs = 100;
/// The document the page keeps at most unless it asks for less: the run ends there with a
/// closed document, before the browser's memory runs out.
constexpr std::int64_t kDocumentCap = std::int64_t{200} << 20;

// The page's fields as the run driver sees them; progress goes to a JavaScript function.
class WebPlatform : public FieldPlatform {
 public:
  WebPlatform(std::string text1, std::string text2, OptionEntry option, bool gesetze, std::int64_t cap,
              val progress)
      : FieldPlatform(std::move(text1), std::move(text2), option, gesetze),
        cap_(cap),
        progress_(std::move(progress)) {}

  void ReportProgress(const RunProgress& progress) override {
    const double now = emscripten_get_now();
    if (now - lastReport_ < kProgressIntervalMs) return;
    lastReport_ = now;
    progress_(progress.formula, progress.total, static_cast<double>(progress.lines),
              static_cast<double>(progress.bytes));
  }

  std::int64_t ClosingCap() const override { return cap_; }

 private:
  std::int64_t cap_;
  val progress_;
  double lastReport_ = emscripten_get_now();
};

// The failure's kind as the page names it.
const char* KindName(RunError::Kind kind) {
  switch (kind) {
    case RunError::Kind::Input:
      return "input";
    case RunError::Kind::File:
      return "file";
    case RunError::Kind::TooLarge:
      return "tooLarge";
    case RunError::Kind::Typesetting:
      break;
  }
  return "typesetting";
}

val ProblemList(const std::vector<InputProblem>& problems) {
  val list = val::array();
  for (const InputProblem& problem : problems) {
    val item = val::object();
    item.set("line", problem.line);
    item.set("column", problem.column);
    item.set("message", problem.message);
    list.call<void>("push", item);
  }
  return list;
}

// The name offered for download: the file-name part of the output name.
std::string DownloadName(const std::string& text2) {
  const std::string name = OutputFileName(text2);
  const std::size_t folderEnd = name.find_last_of('/');
  return folderEnd == std::string::npos ? name : name.substr(folderEnd + 1);
}

// One run of the Start action. The result holds failure ("" after success, else "input",
// "file" or "tooLarge"), message, problems (line, column, message), fileName, bytesWritten,
// derivation (HTML, empty when tooLarge) and document (the document's pieces, an array of
// Uint8Array, or null where the run ended without a document). cap: the most bytes the document
// may have (at most kDocumentCap).
val Run(const std::string& text1, const std::string& text2, int option, bool gesetze, bool ergebnis,
        double cap, val progress) {
  val result = val::object();
  const std::vector<InputProblem> problems = CheckInput(text1);
  result.set("problems", ProblemList(problems));
  result.set("fileName", DownloadName(text2));
  result.set("failure", std::string());
  result.set("message", std::string());
  result.set("bytesWritten", 0);
  result.set("derivation", std::string());
  result.set("tooLarge", false);
  result.set("document", val::null());
  if (!problems.empty()) {
    result.set("failure", std::string(KindName(RunError::Kind::Input)));
    result.set("message", DescribeProblems(problems));
    return result;
  }
  const auto entry = static_cast<std::size_t>(option) < kOptionCount ? static_cast<OptionEntry>(option)
                                                                     : kOptionTable[0].entry;
  const std::int64_t documentCap =
      cap >= 1 && cap < static_cast<double>(kDocumentCap) ? static_cast<std::int64_t>(cap) : kDocumentCap;
  WebPlatform platform(text1, text2, entry, gesetze, documentCap, std::move(progress));
  platform.SelectErgebnis(ergebnis);
  // Pieces copied out of the module's memory as they are written, rather than a file in its
  // file system, which grows by copying itself (most of a long run's time) and stays in memory.
  val pieces = val::array();
  DocumentPieces document{[&pieces](std::string_view piece) {
    pieces.call<void>("push", val::global("Uint8Array")
                                  .new_(emscripten::typed_memory_view(
                                      piece.size(), reinterpret_cast<const unsigned char*>(piece.data()))));
  }};
  RunDriver driver(platform,
                   [&document](const std::string& name) { return OutputFile::IntoPieces(document, name); });
  WebDerivation derivation;
  driver.SetObserver(&derivation);
  try {
    driver.Command1_Click();
  } catch (const RunError& error) {
    result.set("failure", std::string(KindName(error.kind())));
    result.set("message", std::string(error.what()));
  } catch (const std::bad_alloc&) {
    result.set("failure", std::string(KindName(RunError::Kind::TooLarge)));
    result.set("message", std::string(texts::kOutOfMemory));
  }
  result.set("bytesWritten", static_cast<double>(driver.BytesWritten()));
  result.set("derivation", derivation.Html());
  result.set("tooLarge", derivation.TooLarge());
  if (document.closed) result.set("document", pieces);
  return result;
}

/// Width of the checked derivation's text on the page.
constexpr std::size_t kCheckTextWidth = 72;

// "Eigene Herleitung prüfen": the derivations of the text judged step by step. goal: an index
// of kZielTabelle, anything else: taken from each derivation's last line. The result holds
// text (the verdicts as the command line writes them) and allRight.
val Check(const std::string& text, int goal, bool hint) {
  Pruefoptionen options;
  if (goal >= 0 && static_cast<std::size_t>(goal) < std::size(kZielTabelle))
    options.ziel = kZielTabelle[static_cast<std::size_t>(goal)].ziel;
  options.hinweis = hint;
  const std::vector<GepruefteHerleitung> derivations = PruefeHerleitungen(text, options);
  bool allRight = !derivations.empty();
  for (const GepruefteHerleitung& derivation : derivations) allRight = allRight && derivation.AllesRichtig();
  val result = val::object();
  result.set("text", PruefungAlsText(derivations, kCheckTextWidth));
  result.set("allRight", allRight);
  return result;
}

// The fixed texts that the page shows beside its own.
val Texts() {
  val result = val::object();
  result.set("sampleFormulas", std::string(texts::kSampleFormulas));
  result.set("defaultOutputName", std::string(texts::kDefaultOutputName));
  val captions = val::array();
  for (const OptionInfo& info : kOptionTable) captions.call<void>("push", std::string(info.caption));
  result.set("optionCaptions", captions);
  result.set("gesetzeCaption", std::string(texts::kGesetzeCaption));
  result.set("ergebnisCaption", std::string(texts::kErgebnisCaption));
  result.set("ergebnisHint", std::string(texts::kErgebnisHint));
  result.set("helpText", std::string(texts::kHelpText));
  result.set("notationLine", std::string(texts::kNotationLine));
  result.set("documentCap", static_cast<double>(kDocumentCap));
  return result;
}

}  // namespace

EMSCRIPTEN_BINDINGS(umbrix) {
  emscripten::function("run", &Run);
  emscripten::function("texts", &Texts);
  emscripten::function("check", &Check);
}

}  // namespace umbrix
