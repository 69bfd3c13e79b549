#include "cli/arguments.hpp"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <fstream>
#include <iostream>
#include <iterator>
#include <utility>

#include "cli/exit_codes.hpp"
#include "input/input_check.hpp"
#include "render/texts.hpp"
#include "utilities/file_error.hpp"
#include "utilities/output_file.hpp"
#include "utilities/run_error.hpp"
#include "utilities/std_text.hpp"
#include "utilities/utf8_text.hpp"

namespace umbrix {

namespace {

OptionEntry ParseMode(const std::string& value) {
  if (const auto entry = EntryForWord(value)) return *entry;
  std::string allowed;
  for (const OptionInfo& info : kOptionTable)
    allowed += (allowed.empty() ? "" : ", ") + std::string(info.number) + "/" + std::string(info.word);
  throw UsageError("Unbekannter Modus " + QuotedExcerpt(value) + ": erlaubt sind " + allowed + ".");
}

// Width of a text in characters: UTF-8 continuation bytes do not count.
std::size_t Width(std::string_view text) {
  std::size_t width = 0;
  for (char c : text)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++width;
  return width;
}

// The lines of -m in the help: "0 oder viele:" and the caption, one entry per line.
std::string ModeHelp() {
  constexpr std::string_view kFirstIndent = "  -m, --mode MODUS    ";
  std::size_t labelWidth = 0;
  for (const OptionInfo& info : kOptionTable)
    labelWidth = std::max(labelWidth, info.number.size() + info.word.size() + 7);
  std::string help;
  for (const OptionInfo& info : kOptionTable) {
    help += help.empty() ? std::string(kFirstIndent) : std::string(kFirstIndent.size(), ' ');
    std::string label = std::string(info.number) + " oder " + std::string(info.word) + ":";
    label.resize(labelWidth + 1, ' ');
    std::string_view caption = info.caption;
    while (caption.ends_with(' ')) caption.remove_suffix(1);
    help += label + std::string(caption) + (info.entry == kOptionTable[0].entry ? " (Vorgabe)" : "") + "\n";
  }
  return help;
}

int ParseWidth(const std::string& value) {
  int width = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), width);
  if (error != std::errc() || end != value.data() + value.size() || width < kNarrowestText ||
      width > kWidestText)
    throw UsageError("Die Breite " + QuotedExcerpt(value) + " ist keine ganze Zahl von " +
                     std::to_string(kNarrowestText) + " bis " + std::to_string(kWidestText) + ".");
  return width;
}

// The value of an option: the rest of "--mode=2", or the next argument.
std::string OptionValue(const std::vector<std::string>& arguments, std::size_t& i, const std::string& name,
                        const std::string& inlineValue, bool hasInlineValue) {
  if (hasInlineValue) return inlineValue;
  if (i + 1 >= arguments.size()) throw UsageError("Die Option " + name + " braucht einen Wert.");
  return arguments[++i];
}

// An output name must name a file: "-o ordner/" or an empty name would give a hidden ".TEX".
// The example repeats the name only when the message can show it whole.
void CheckOutputName(const std::string& name) {
  if (name == "-") return;
  const std::string fileName = name.substr(name.find_last_of('/') + 1);
  if (!fileName.empty() && fileName != "." && fileName != "..") return;
  const std::string quoted = QuotedFileName(name);
  const std::string example = quoted == "\"" + name + "\""
                                  ? ", zum Beispiel: -o " + name + (fileName.empty() ? "" : "/") + "ausgabe"
                                  : ".";
  throw UsageError("Der Ausgabename " + quoted + " nennt keine Datei. Gib einen Dateinamen an" + example);
}

Ziel ParseZiel(const std::string& value) {
  if (const auto ziel = ZielFuerWort(value)) return *ziel;
  std::string allowed;
  for (const ZielInfo& info : kZielTabelle) allowed += (allowed.empty() ? "" : ", ") + std::string(info.wort);
  throw UsageError("Unbekanntes Ziel " + QuotedExcerpt(value) + ": erlaubt sind " + allowed + ".");
}

// --ziel and --hinweis belong to --pruefen, which in turn has no use for the options of a
// conversion.
void CheckDerivationOptions(const CliOptions& options) {
  if (!options.pruefen) {
    if (options.ziel || options.hinweis)
      throw UsageError("--ziel und --hinweis gelten nur zusammen mit --pruefen.");
    return;
  }
  if (options.gesetze || options.ergebnis || options.option != kOptionTable[0].entry)
    throw UsageError("--pruefen prüft eine eigene Herleitung; -m, -g und -e gelten nur für die Umformung.");
  if (options.pdf && !options.outputGiven)
    throw UsageError("--pdf braucht mit --pruefen einen Namen für das Dokument: -o NAME.");
  if (!options.inputFile && options.formulas.empty())
    throw UsageError(
        "--pruefen braucht eine Herleitung: die Aufgabe und jeden Schritt als Zeile, aus einer "
        "Datei (-i DATEI), von der Standardeingabe (-i -) oder als Argumente.");
}

}  // namespace

std::int64_t ParseSize(const std::string& value) {
  std::size_t digits = 0;
  while (digits < value.size() && value[digits] >= '0' && value[digits] <= '9') ++digits;
  const std::string suffix = value.substr(digits);
  static const std::string kSuffixes = "KMGT";
  const std::size_t power =
      suffix.empty() ? 0 : kSuffixes.find(static_cast<char>(std::toupper(static_cast<unsigned char>(suffix[0])))) + 1;
  if (digits == 0 || suffix.size() > 1 || (power == 0 && !suffix.empty()))
    throw UsageError("Ungültige Größe " + QuotedExcerpt(value) +
                     ": erlaubt ist eine ganze Zahl, wahlweise mit K, M, G "
                     "oder T, zum Beispiel 200M.");
  std::int64_t size = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + digits, size);
  bool fits = error == std::errc() && end == value.data() + digits;
  for (std::size_t k = 0; fits && k < power; ++k) {
    fits = size <= kLargestSize / 1024;
    size *= fits ? 1024 : 0;
  }
  if (!fits)
    throw UsageError("Die Größe " + QuotedExcerpt(value) + " ist zu groß: höchstens " +
                     std::to_string(kLargestSize >> 40) + "T. Ohne Grenze: --max-size 0.");
  return size;
}

std::chrono::seconds ParseDuration(const std::string& value) {
  constexpr std::pair<char, long long> kUnits[] = {{'s', 1}, {'m', 60}, {'h', 3600}};
  std::size_t digits = 0;
  while (digits < value.size() && value[digits] >= '0' && value[digits] <= '9') ++digits;
  long long unit = value.size() == digits ? 1 : 0;
  for (const auto& [letter, seconds] : kUnits)
    if (value.size() == digits + 1 && std::tolower(static_cast<unsigned char>(value[digits])) == letter)
      unit = seconds;
  if (digits == 0 || unit == 0)
    throw UsageError("Ungültige Dauer " + QuotedExcerpt(value) +
                     ": erlaubt ist eine ganze Zahl von Sekunden, wahlweise mit m (Minuten) oder h "
                     "(Stunden), zum Beispiel 30m.");
  const long long longest = std::chrono::seconds(kLongestTypesettingTime).count();
  long long count = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + digits, count);
  if (error != std::errc() || end != value.data() + digits || count > longest / unit)
    throw UsageError("Die Dauer " + QuotedExcerpt(value) + " ist zu lang: höchstens " +
                     std::to_string(kLongestTypesettingTime.count()) + "h. Ohne Grenze: --pdf-zeit 0.");
  return std::chrono::seconds(count * unit);
}

CliOptions ParseArguments(const std::vector<std::string>& arguments) {
  CliOptions options;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
      options.formulas.push_back(argument);
      continue;
    }
    if (argument == "--") {
      optionsEnded = true;
      continue;
    }
    std::string name = argument;
    std::string inlineValue;
    bool hasInlineValue = false;
    if (auto equals = argument.find('='); argument.rfind("--", 0) == 0 && equals != std::string::npos) {
      name = argument.substr(0, equals);
      inlineValue = argument.substr(equals + 1);
      hasInlineValue = true;
    }
    if (name == "--help" || name == "-h") {
      options.action = CliOptions::Action::Help;
    } else if (name == "--version") {
      options.action = CliOptions::Action::Version;
    } else if (name == "-i" || name == "--input") {
      options.inputFile = OptionValue(arguments, i, name, inlineValue, hasInlineValue);
    } else if (name == "-o" || name == "--output") {
      options.outputName = OptionValue(arguments, i, name, inlineValue, hasInlineValue);
      options.outputGiven = true;
      CheckOutputName(options.outputName);
    } else if ((name == "-g" || name == "--gesetze") && !hasInlineValue) {
      options.gesetze = true;
    } else if ((name == "-e" || name == "--ergebnis") && !hasInlineValue) {
      options.ergebnis = true;
    } else if (name == "-m" || name == "--mode") {
      options.option = ParseMode(OptionValue(arguments, i, name, inlineValue, hasInlineValue));
    } else if (name == "-t" || name == "--text") {
      options.text = true;
    } else if (name == "--width") {
      options.width = ParseWidth(OptionValue(arguments, i, name, inlineValue, hasInlineValue));
    } else if (name == "--pdf") {
      options.pdf = true;
    } else if (name == "--pdf-zeit") {
      options.pdfTime = ParseDuration(OptionValue(arguments, i, name, inlineValue, hasInlineValue));
    } else if (name == "-q" || name == "--quiet") {
      options.quiet = true;
    } else if (name == "--max-size") {
      options.maxSize = ParseSize(OptionValue(arguments, i, name, inlineValue, hasInlineValue));
    } else if ((name == "--pruefen" || name == "--prüfen") && !hasInlineValue) {
      options.pruefen = true;
    } else if (name == "--ziel") {
      options.ziel = ParseZiel(OptionValue(arguments, i, name, inlineValue, hasInlineValue));
    } else if (name == "--hinweis" && !hasInlineValue) {
      options.hinweis = true;
    } else {
      throw UsageError("Unbekannte Option " + QuotedExcerpt(argument) +
                       ". Formeln, die mit \"-\" beginnen, stehen hinter \"--\", zum Beispiel: "
                       "umbrix -m 2 -- -x2+x1" +
                       (LooksLikeFormulaPiece(argument) ? std::string("\n") + kQuoteHint : std::string()));
    }
  }
  if (options.inputFile && !options.formulas.empty())
    throw UsageError(
        "Formeln und -i schließen sich aus: entweder Formeln als Argumente oder eine Eingabedatei.");
  if (options.outputName == "-" && options.text)
    throw UsageError("--text und -o - schreiben beide auf die Standardausgabe: nur eines von beiden.");
  if (options.outputName == "-" && options.pdf)
    throw UsageError("--pdf braucht eine .TEX-Datei: -o - schreibt keine.");
  CheckDerivationOptions(options);
  return options;
}

bool LooksSplitByShell(const CliOptions& options) {
  if (options.formulas.size() < 2) return false;
  for (const std::string& formula : options.formulas)
    if (LooksLikeFormulaPiece(formula)) return true;
  return false;
}

namespace {

// A folder or a block device read as text would give an empty or an endless input.
void CheckInputIsText(const std::string& name) {
  struct stat status {};
  if (::stat(name.c_str(), &status) != 0) return;  // the opening reports a missing file
  if (S_ISDIR(status.st_mode))
    throw RunError(RunError::Kind::File,
                   "Die Eingabedatei " + QuotedFileName(name) + " ist ein Ordner, keine Textdatei.");
  if (S_ISBLK(status.st_mode))
    throw RunError(RunError::Kind::File,
                   "Die Eingabedatei " + QuotedFileName(name) + " ist ein Gerät, keine Textdatei.");
}

}  // namespace

std::string ToCrLf(std::string_view text) {
  if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.remove_prefix(3);
  std::string result;
  result.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    if (text[i] == '\n')
      result += LineBreak;
    else
      result += text[i];
  }
  return result;
}

std::string ReadInput(std::istream& in, const std::string& name, std::size_t limit) {
  constexpr std::size_t kChunk = 1 << 20;
  std::string content;
  for (;;) {
    const std::size_t size = content.size();
    const std::size_t wanted = std::min(kChunk, limit + 1 - size);
    content.resize(size + wanted);
    in.read(content.data() + size, static_cast<std::streamsize>(wanted));
    content.resize(size + static_cast<std::size_t>(in.gcount()));
    if (content.size() > limit)
      throw RunError(RunError::Kind::Input, name + " ist größer als " +
                                                SizeText(static_cast<std::int64_t>(limit)) +
                                                "; so große Eingaben nimmt Umbrix nicht an. Nichts wurde "
                                                "geschrieben.");
    if (in.bad()) throw RunError(RunError::Kind::File, name + " konnte nicht vollständig gelesen werden.");
    if (in.eof()) return content;
  }
}

std::string InputText(const CliOptions& options) {
  if (!options.inputFile) {
    if (options.formulas.empty()) return texts::kSampleFormulas;
    std::string text;
    for (std::size_t i = 0; i < options.formulas.size(); ++i) {
      if (i > 0) text += LineBreak;
      text += options.formulas[i];
    }
    return ToCrLf(text);
  }
  if (*options.inputFile == "-") return ToCrLf(ReadInput(std::cin, "Die Standardeingabe", options.inputLimit));
  CheckInputIsText(*options.inputFile);
  errno = 0;
  std::ifstream file(*options.inputFile, std::ios::binary);
  if (!file)
    throw RunError(RunError::Kind::File, "Die Eingabedatei " + QuotedFileName(*options.inputFile) +
                                             " kann nicht gelesen werden: " + FileErrorCause(errno, true) +
                                             ".");
  return ToCrLf(ReadInput(file, "Die Eingabedatei " + QuotedFileName(*options.inputFile), options.inputLimit));
}

std::string ExitCodeHelp() {
  constexpr std::size_t kHelpWidth = 80;
  std::string help = "Rückgabewerte:";
  std::size_t column = Width(help);
  for (const ExitCodeInfo& info : kExitCodeTable) {
    const bool last = &info == &kExitCodeTable[std::size(kExitCodeTable) - 1];
    const std::string item =
        std::to_string(ExitNumber(info.code)) + " " + std::string(info.meaning) + (last ? "." : ",");
    const bool breakBefore = column + 1 + Width(item) > kHelpWidth;
    help += breakBefore ? "\n" : " ";
    column = (breakBefore ? 0 : column + 1) + Width(item);
    help += item;
  }
  return help + "\n";
}

std::string HelpText() {
  return std::string(
             "Aufruf: umbrix [OPTIONEN] [FORMEL ...]\n"
             "        umbrix --pruefen [--ziel ZIEL] [--hinweis] [-o NAME|-] [-i DATEI|-] [ZEILE ...]\n"
             "\n"
             "Formt aussagenlogische Formeln Schritt für Schritt in die disjunktive und die\n"
             "konjunktive Normalform um und schreibt jeden Zwischenschritt als LaTeX-Dokument.\n"
             "Jede FORMEL ist eine Zeile der Eingabe. Ohne FORMEL und ohne -i werden die fünf\n"
             "Beispielformeln umgeformt.\n"
             "\n"
             "Zeichen: - nicht, + und, v oder, <= folgt aus, => impliziert, == äquivalent,\n"
             "Klammern ( ). Variablen X1 bis X99; das X darf fehlen, Groß- und Kleinschreibung\n"
             "wird nicht beachtet.\n"
             "Auch wie auf dem Übungsblatt: ¬ ! ~ für -, ∧ & für +, ∨ | für v, ← ⇐ < für <=,\n"
             "→ ⇒ -> > für =>, ↔ ⇔ <-> = für ==; Variablen als einzelne Buchstaben (außer v;\n"
             "x nur, wenn keine Zahl folgt), aber nicht mit X1 bis X99 in derselben Zeile.\n"
             "So schreibst du es: (p ∨ q) ∧ ¬r, A -> (B & !C), a <-> b; xor: (p+-q)v(-p+q).\n"
             "Formeln in Anführungszeichen setzen: umbrix \"p -> q\"\n"
             "\n"
             "Optionen:\n"
             "  -i, --input DATEI   Formeln aus DATEI lesen, eine pro Zeile, höchstens 64 MB;\n"
             "                      - liest die Standardeingabe (auf einem Terminal bis Strg+D)\n"
             "  -o, --output NAME   Name der Ausgabedatei (Vorgabe AUSGABE, daraus wird AUSGABE.TEX);\n"
             "                      - schreibt das Dokument auf die Standardausgabe\n") +
         ModeHelp() +
         "  -t, --text          die Herleitung lesbar auf die Standardausgabe (UTF-8), mit\n"
         "                      nummerierten Schritten und markierten Normalformen; ohne -o\n"
         "                      wird dann keine .TEX-Datei geschrieben\n"
         "      --width N       Breite dieses Textes in Zeichen (Vorgabe: Breite des\n"
         "                      Terminals, sonst 80)\n"
         "      --pdf           das Dokument danach mit pdflatex in ein PDF übersetzen;\n"
         "                      das PDF liegt neben der .TEX-Datei\n"
         "      --pdf-zeit DAUER  pdflatex höchstens so lange arbeiten lassen, etwa 30m oder\n"
         "                      2h (Vorgabe 20m; 0 wartet ohne Grenze)\n"
         "  -g, --gesetze       nennt bei jedem Schritt die angewandten Gesetze\n"
         "                      (am rechten Rand, zum Beispiel Distributivgesetz)\n"
         "  -e, --ergebnis      jede Umformung endet mit dem Abschnitt \"Ergebnis\": Normalformen\n"
         "                      nach Absorption, minimale Formen, Wahrheitstafel, kanonische\n"
         "                      Normalformen, KV-Diagramme, Quine-McCluskey-Verfahren und die\n"
         "                      Probe jeder Zeile gegen die Eingabe\n"
         "      --pruefen       eine eigene Herleitung prüfen: die erste Zeile ist die Aufgabe,\n"
         "                      jede weitere ein Schritt, eine Leerzeile trennt Herleitungen;\n"
         "                      jeder Schritt richtig (mit Gesetz) oder falsch (mit Gegenbeispiel\n"
         "                      und typischem Fehler); Konstanten ⊤ ⊥ w f, bei Buchstaben 1 0;\n"
         "                      mit -o zusätzlich als LaTeX-Dokument\n"
         "      --ziel ZIEL     mit --pruefen: DNF, KNF oder beide (sonst die Form der letzten Zeile)\n"
         "      --hinweis       mit --pruefen: der nächste Schritt, wie Umbrix ihn macht\n"
         "  --                  beendet die Optionen; nötig vor Formeln, die mit - beginnen:\n"
         "                      umbrix -m 2 -- -x2+x1\n"
         "  -q, --quiet         keine Fortschrittsanzeige (sonst auf einem Terminal nach einer\n"
         "                      Sekunde: Formel, Phase und geschriebene Bytes)\n"
         "      --max-size GRÖSSE  das Dokument höchstens so groß werden lassen, zum Beispiel\n"
         "                      1G (K, M, G, T in Schritten von 1024); sonst hält der Lauf an\n"
         "                      und die vorige Ausgabedatei bleibt. Vorgabe 100M (Zehntausende\n"
         "                      Seiten); 0 schreibt ohne Grenze\n"
         "  -h, --help          diese Hilfe\n"
         "      --version       Versionsangabe\n"
         "\n" +
         ExitCodeHelp() + "\nDie vorige Ausgabedatei wird nur durch ein fertiges Dokument ersetzt.\n\n" +
         std::string(texts::kNoticeDisclaimer) + "\n" + std::string(texts::kNoticeTranslation) +
         ", zum Beispiel mit: pdflatex AUSGABE.TEX\n";
}

std::string VersionText() { return "umbrix 1.0.0\n"; }

}  // namespace umbrix
