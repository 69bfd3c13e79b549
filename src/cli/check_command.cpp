#include "cli/check_command.hpp"

#include <filesystem>
#include <ostream>

#include "cli/exit_codes.hpp"
#include "derivation_check/check_render.hpp"
#include "run/run_driver.hpp"
#include "typesetting/typesetting.hpp"
#include "utilities/large_stack.hpp"
#include "utilities/output_file.hpp"
#include "utilities/run_error.hpp"

namespace umbrix {

namespace {

void WriteDocument(const std::string& fileName, const std::string& latex) {
  OutputFile file = OutputFile::OpenNewFile(fileName);
  file.WriteText(latex);
  file.Close();
}

// The lines that could not be read, as the input check names them.
void ReportUnreadable(const std::vector<GepruefteHerleitung>& herleitungen, std::ostream& err) {
  for (const GepruefteHerleitung& herleitung : herleitungen)
    for (const Herleitungszeile& zeile : herleitung.gelesen.zeilen)
      if (zeile.problem)
        err << "umbrix: Zeile " << zeile.problem->line << ", Spalte " << zeile.problem->column << ": "
            << zeile.problem->message << '\n';
}

ExitCode Outcome(const std::vector<GepruefteHerleitung>& herleitungen) {
  bool wrong = false, unread = false, unchecked = false;
  for (const GepruefteHerleitung& herleitung : herleitungen) {
    for (const Herleitungszeile& zeile : herleitung.gelesen.zeilen) unread = unread || !zeile.formel;
    for (const Herleitungsschritt& schritt : herleitung.schritte) {
      wrong = wrong || schritt.bewertung.urteil == Urteil::Falsch;
      unchecked = unchecked || schritt.bewertung.urteil == Urteil::NichtGeprueft;
    }
  }
  if (unread) return ExitCode::kInput;
  if (wrong) return ExitCode::kWrongStep;
  return unchecked ? ExitCode::kTooLarge : ExitCode::kSuccess;
}

}  // namespace

int RunDerivationCheck(const CliOptions& options, std::ostream& out, std::ostream& err, int textWidth) {
  const std::string input = InputText(options);
  std::vector<GepruefteHerleitung> herleitungen;
  RunWithLargeStack([&] { herleitungen = PruefeHerleitungen(input, {options.ziel, options.hinweis}); });
  if (herleitungen.empty())
    throw RunError(RunError::Kind::Input,
                   "Die Eingabe enthält keine Herleitung: die Aufgabe und jeden Schritt als eine Zeile, eine "
                   "Leerzeile zwischen zwei Herleitungen.");
  const bool toStandardOutput = options.outputGiven && options.outputName == "-";
  if (toStandardOutput) {
    out << PruefungAlsLatex(herleitungen);
  } else {
    out << PruefungAlsText(herleitungen, static_cast<std::size_t>(options.width.value_or(textWidth)));
  }
  if (!out.flush())
    throw RunError(RunError::Kind::File, "Die Standardausgabe konnte nicht vollständig geschrieben werden.");
  ReportUnreadable(herleitungen, err);
  if (options.outputGiven && !toStandardOutput) {
    const std::string fileName = OutputFileName(options.outputName);
    WriteDocument(fileName, PruefungAlsLatex(herleitungen));
    err << std::filesystem::absolute(fileName).string() << '\n';
    if (options.pdf)
      err << std::filesystem::absolute(TypesetPdf(fileName, options.pdfTime).pdf).string() << '\n';
  }
  return ExitNumber(Outcome(herleitungen));
}

}  // namespace umbrix
