#include "cli/arguments.hpp"

#include <charconv>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "frontend/texts.hpp"
#include "utilities/run_error.hpp"
#include "utilities/std_text.hpp"

namespace umbrix {

namespace {

int ParseMode(const std::string& value) {
  if (value == "0" || value == "viele") return 0;
  if (value == "1" || value == "schneller") return 1;
  if (value == "2" || value == "wenig") return 2;
  throw UsageError("Unbekannter Modus \"" + value + "\": erlaubt sind 0/viele, 1/schneller, 2/wenig.");
}

int ParseWidth(const std::string& value) {
  int width = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), width);
  if (error != std::errc() || end != value.data() + value.size() || width < kNarrowestText ||
      width > kWidestText)
    throw UsageError("Die Breite \"" + value + "\" ist keine ganze Zahl von " +
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

}  // namespace

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
    } else if (name == "-m" || name == "--mode") {
      options.option = ParseMode(OptionValue(arguments, i, name, inlineValue, hasInlineValue));
    } else if (name == "-t" || name == "--text") {
      options.text = true;
    } else if (name == "--width") {
      options.width = ParseWidth(OptionValue(arguments, i, name, inlineValue, hasInlineValue));
    } else if (name == "--pdf") {
      options.pdf = true;
    } else {
      throw UsageError("Unbekannte Option \"" + argument +
                       "\". Formeln, die mit \"-\" beginnen, stehen hinter \"--\", zum Beispiel: "
                       "umbrix -m 2 -- -x2+x1");
    }
  }
  if (options.inputFile && !options.formulas.empty())
    throw UsageError(
        "Formeln und -i schließen sich aus: entweder Formeln als Argumente oder eine Eingabedatei.");
  if (options.outputName == "-" && options.text)
    throw UsageError("--text und -o - schreiben beide auf die Standardausgabe: nur eines von beiden.");
  if (options.outputName == "-" && options.pdf)
    throw UsageError("--pdf braucht eine .TEX-Datei: -o - schreibt keine.");
  return options;
}

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
  if (*options.inputFile == "-") {
    std::string content((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
    return ToCrLf(content);
  }
  std::ifstream file(*options.inputFile, std::ios::binary);
  if (!file)
    throw RunError(RunError::Kind::File,
                   "Die Eingabedatei \"" + *options.inputFile + "\" kann nicht gelesen werden.");
  std::ostringstream content;
  content << file.rdbuf();
  return ToCrLf(content.str());
}

std::string HelpText() {
  return std::string(
             "Aufruf: umbrix [OPTIONEN] [FORMEL ...]\n"
             "\n"
             "Formt aussagenlogische Formeln Schritt für Schritt in die disjunktive und die\n"
             "konjunktive Normalform um und schreibt jeden Zwischenschritt als LaTeX-Dokument.\n"
             "Jede FORMEL ist eine Zeile der Eingabe. Ohne FORMEL und ohne -i werden die fünf\n"
             "Beispielformeln umgeformt.\n"
             "\n"
             "Zeichen: - nicht, + und, v oder, <= folgt aus, => impliziert, == äquivalent,\n"
             "Klammern ( ). Variablen X1 bis X99; das X darf fehlen, Groß- und Kleinschreibung\n"
             "wird nicht beachtet.\n"
             "\n"
             "Optionen:\n"
             "  -i, --input DATEI   Formeln aus DATEI lesen, eine pro Zeile (- für die Standardeingabe)\n"
             "  -o, --output NAME   Name der Ausgabedatei (Vorgabe AUSGABE, daraus wird AUSGABE.TEX);\n"
             "                      - schreibt das Dokument auf die Standardausgabe\n"
             "  -m, --mode MODUS    0 oder viele:     viele Zwischenschritte (Vorgabe)\n"
             "                      1 oder schneller: schneller vereinfachen\n"
             "                      2 oder wenig:     wenig Zwischenschritte\n"
             "  -t, --text          die Herleitung lesbar auf die Standardausgabe (UTF-8), mit\n"
             "                      nummerierten Schritten und markierten Normalformen; ohne -o\n"
             "                      wird dann keine .TEX-Datei geschrieben\n"
             "      --width N       Breite dieses Textes in Zeichen (Vorgabe: Breite des\n"
             "                      Terminals, sonst 80)\n"
             "      --pdf           das Dokument danach mit pdflatex in ein PDF übersetzen;\n"
             "                      das PDF liegt neben der .TEX-Datei\n"
             "  --                  beendet die Optionen; nötig vor Formeln, die mit - beginnen:\n"
             "                      umbrix -m 2 -- -x2+x1\n"
             "  -h, --help          diese Hilfe\n"
             "      --version       Versionsangabe\n"
             "\n"
             "Rückgabewerte: 0 Erfolg, 1 ungültige Eingabe, 2 falscher Aufruf,\n"
             "3 Datei- oder Schreibfehler, 4 Formel zu groß, 5 kein PDF (pdflatex fehlt\n"
             "oder meldet einen Fehler; die .TEX-Datei bleibt).\n"
             "\n") +
         "Dieses Programm habe ich geschrieben, um mir die Arbeit beim finden von konjunktiven und "
         "disjunktiven Umbrixen zu erleichtern. Ich übernehme ABSOLUT KEINE HAFTUNG für irgendwelche "
         "Schäden oder Problemen, die durch die (ggf. unsachgemäße) Verwendung von (ggf. veränderten) "
         "Teilen dieses Programms oder des Programms selbst entstanden bzw. aufgetreten sind. Außerdem "
         "garantiere ich nicht, dass dieses Programm wirklich die richtige Lösung ausgibt.\n"
         "Die Ausgabe dieses Programms ist eine .TEX-Datei, die gesondert (in eine .PDF-, .DVI- oder "
         "was auch immer- Datei) übersetzt werden muss, zum Beispiel mit: pdflatex AUSGABE.TEX\n";
}

std::string VersionText() { return "umbrix 1.0.0\n"; }

}  // namespace umbrix
