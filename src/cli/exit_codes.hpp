// The command line's exit codes: what each failure kind returns, in one table with the
// German words that the help text prints for it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "utilities/run_error.hpp"

namespace umbrix {

enum class ExitCode {
  kSuccess = 0,
  kInput = 1,
  kUsage = 2,
  kFile = 3,
  kTooLarge = 4,
  kTypesetting = 5,
  kWrongStep = 6,  // --pruefen: a step of a derivation is wrong
  kInternal = 70,
  kHungUp = 129,       // SIGHUP
  kInterrupted = 130,  // SIGINT
  kTerminated = 143,   // SIGTERM
};

struct ExitCodeInfo {
  ExitCode code;
  std::optional<RunError::Kind> kind;  // the failure that returns it
  std::string_view meaning;            // for the help text
};

inline constexpr ExitCodeInfo kExitCodeTable[] = {
    {ExitCode::kSuccess, std::nullopt, "Erfolg"},
    {ExitCode::kInput, RunError::Kind::Input, "ungültige Eingabe"},
    {ExitCode::kUsage, std::nullopt, "falscher Aufruf"},
    {ExitCode::kFile, RunError::Kind::File,
     "Datei- oder Schreibfehler (auch: zu wenig Platz, --max-size erreicht)"},
    {ExitCode::kTooLarge, RunError::Kind::TooLarge, "Formel zu groß"},
    {ExitCode::kTypesetting, RunError::Kind::Typesetting,
     "kein PDF (pdflatex fehlt, scheitert oder braucht zu lange; die .TEX-Datei bleibt)"},
    {ExitCode::kWrongStep, std::nullopt, "ein Schritt der Herleitung ist falsch (--pruefen)"},
    {ExitCode::kInternal, std::nullopt, "interner Fehler"},
    {ExitCode::kHungUp, std::nullopt, "beendet, weil das Terminal geschlossen wurde (SIGHUP)"},
    {ExitCode::kInterrupted, std::nullopt, "abgebrochen mit Strg+C"},
    {ExitCode::kTerminated, std::nullopt, "beendet mit SIGTERM"},
};

/// The exit code for a run that failed with the given kind.
constexpr ExitCode ExitCodeFor(RunError::Kind kind) {
  for (const ExitCodeInfo& info : kExitCodeTable)
    if (info.kind == kind) return info.code;
  return ExitCode::kFile;  // not reached: every kind has its row
}

constexpr int ExitNumber(ExitCode code) { return static_cast<int>(code); }

/// "Rückgabewerte: 0 Erfolg, 1 ..." from the table, a line broken before an entry that would
/// pass the 80th column.
std::string ExitCodeHelp();

}  // namespace umbrix
