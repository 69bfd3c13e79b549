// The fixed texts: what the front ends show (German, UTF-8) and the document's frame.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>

#include "render/run_events.hpp"
#include "utilities/std_text.hpp"

namespace umbrix::texts {

/// The window's initial formulas, each line ended by CR LF.
inline constexpr const char* kSampleFormulas = "-x2+x1\r\nx1v(x2+x3)\r\nx1<=x2vx3\r\nx1==x2+x3\r\nx1=>x2\r\n";

inline constexpr const char* kDefaultOutputName = "AUSGABE";

/// The window's caption, and while a run converts its formulas.
inline constexpr const char* kCaption = "Umbrix";
inline constexpr const char* kCaptionRunning = "Umbrix [aktiv]";
/// The check box beside the option group that names the laws of every step.
inline constexpr const char* kGesetzeCaption = "Gesetze angeben";
/// The check box that ends each block with the section "Ergebnis", and what it adds.
inline constexpr const char* kErgebnisCaption = "Ergebnis";
inline constexpr const char* kErgebnisHint =
    "Jede Umformung endet mit einem Abschnitt „Ergebnis“: Normalformen nach Absorption, minimale "
    "Formen, Wahrheitstafel, kanonische Normalformen, KV-Diagramme, Quine-McCluskey-Verfahren und die Probe "
    "jeder Zeile gegen die Eingabe.";
/// The window's check box that keeps a document within the default size limit.
inline constexpr const char* kSizeLimitCaption = "höchstens 100 MB";

/// How to get on when a document reaches the command line's size limit: fewer steps, unless
/// they are already few, or another limit.
inline std::string SizeLimitAdvice(bool fewSteps) {
  return std::string(fewSteps ? "" : "Weniger Zeilen schreibt die Stufe „wenig Zwischenschritte“ (-m 2). ") +
         "Eine andere Grenze setzt --max-size, etwa --max-size 1G; --max-size 0 schreibt ohne Grenze.";
}
/// The same for the window, whose check box sets the limit.
inline std::string WindowSizeLimitAdvice(bool fewSteps, std::string_view limitCaption) {
  return std::string(fewSteps ? "" : "Weniger Zeilen schreibt die Stufe „wenig Zwischenschritte“. ") +
         "Ohne das Häkchen „" + std::string(limitCaption) + "“ schreibt Umbrix ohne Grenze.";
}

/// The report when a run needs more memory than there is.
inline constexpr const char* kOutOfMemory = "Der Speicher reicht für diese Formel nicht aus.";
/// Stands on the web page in place of a formula too long to typeset there, after its length.
inline constexpr std::string_view kFormulaOnlyInDocument =
    " Zeichen; zu lang, um sie hier zu setzen. Sie steht im Dokument.";

inline constexpr const char* kConnectiveLegend =
    "----Zeichen----  -            nicht  +            und  v           oder <=    folgt aus "
    "=>    impliziert == äquivalent";

inline constexpr const char* kHelpText =
    "Die Leerzeichen sind optional. Als Index dürfen nur ganze Zahlen von 1 bis 99 verwendet "
    "werden. Als Variablenbezeichner darf nur der Buchstabe X verwendet werden. Groß- und "
    "Kleinschreibung wird nicht beachtet. Der Buchstabe darf auch weggelassen werden. Die Ausgabe "
    "von mehreren Formelumformungen kann in einer Datei erfolgen, wenn diese Formeln durch einfache "
    "Zeilenumbrüche voneinander getrennt werden. Leerzeilen werden nicht verarbeitet. Die Option "
    "\"sofort vereinfachen\" sorgt für eine ständige Vereinfachung der Formeln. Dies kann jedoch "
    "dazu führen, dass die Umformungen schwerer nachvollziehbar sind.";

/// The lines under the help text: what the input accepts beyond it, and the option's name.
inline constexpr const char* kNotationLine =
    "Zusätzlich zum Text oben: als Variablen auch einzelne Buchstaben (jeder außer v); ¬ ! ~ für -, "
    "∧ & für +, ∨ | für v, ← ⇐ < für <=, → ⇒ -> > für =>, ↔ ⇔ <-> = für ==. Die Option, die der Text "
    "\"sofort vereinfachen\" nennt, heißt \"schneller vereinfachen\".";

/// The start-up notice's disclaimer, which the command line's help repeats.
inline constexpr std::string_view kNoticeDisclaimer =
    "Dieses Programm habe ich geschrieben, um mir die Arbeit beim finden von konjunktiven und "
    "disjunktiven Umbrixen zu erleichtern. Ich übernehme ABSOLUT KEINE HAFTUNG für irgendwelche "
    "Schäden oder Problemen, die durch die (ggf. unsachgemäße) Verwendung von (ggf. veränderten) "
    "Teilen dieses Programms oder des Programms selbst entstanden bzw. aufgetreten sind. Außerdem "
    "garantiere ich nicht, dass dieses Programm wirklich die richtige Lösung ausgibt.";

/// What becomes of the document, without the closing full stop; the help repeats it too.
inline constexpr std::string_view kNoticeTranslation =
    "Die Ausgabe dieses Programms ist eine .TEX-Datei, die gesondert (in eine .PDF-, .DVI- oder "
    "was auch immer- Datei) übersetzt werden muss";

/// The whole start-up notice, naming the button that must be chosen.
inline std::string NoticeText(std::string_view button) {
  return std::string(kNoticeDisclaimer) + " Sie müssen übrigens [" + std::string(button) +
         "] wählen, um dieses Programm zu starten. " + std::string(kNoticeTranslation) +
         ". Die hierfür nötigen Programme werden logischerweise nicht von mir mitgeliefert.";
}

/// Names of the notice's buttons 0, 1 and 2, in this order.
inline constexpr const char* kNoticeButtons[] = {"Abbrechen", "Wiederholen", "Ignorieren"};

/// The German texts of each phase of a block: its name in a progress display, where the
/// member limit stopped it (LaTeX, for the document's closing paragraph), and the heading
/// above its steps in the readable renderings where the document opens the phase with no
/// sentence of its own.
struct PhaseTexts {
  Phase phase;
  std::string_view name;
  std::string_view stoppedWhere;
  std::string_view heading;
};

inline constexpr PhaseTexts kPhaseTexts[] = {
    {Phase::Input, "Einlesen", "beim Einlesen der Formel", ""},
    {Phase::Reduction, "Ersetzen von <=, => und ==", "beim Ersetzen der Implikationen und \\\"Aquivalenzen",
     "Ersetzen von ←, → und ↔:"},
    {Phase::Disjunctive, "disjunktive Normalform", "beim Umformen in die disjunktive Normalform",
     "Umformen in die disjunktive Normalform:"},
    {Phase::DisjunctiveMerge, "Zusammenfassen (disjunktiv)",
     "beim Zusammenfassen der disjunktiven Normalform", ""},
    {Phase::Conjunctive, "konjunktive Normalform", "beim Umformen in die konjunktive Normalform", ""},
    {Phase::ConjunctiveMerge, "Zusammenfassen (konjunktiv)",
     "beim Zusammenfassen der konjunktiven Normalform", ""},
};

inline const PhaseTexts& TextsOf(Phase phase) {
  for (const PhaseTexts& texts : kPhaseTexts)
    if (texts.phase == phase) return texts;
  return kPhaseTexts[std::size(kPhaseTexts) - 1];
}

/// The German sentences of a block, as the document and the readable renderings show them.
inline constexpr std::pair<Sentence, std::string_view> kSentenceTexts[] = {
    {Sentence::DisjunctiveFound, "Dies ist eine disjunktive Umbrix."},
    {Sentence::Merge, "Zusammenfassen der mehrfach vorkommenden Literale ergibt:"},
    {Sentence::TowardsConjunctive, "Nun zur konjunktiven Umbrix..."},
    {Sentence::ConjunctiveFound, "Damit haben wir auch eine konjunktive Umbrix gefunden."},
};

// The document's LaTeX frame around the formula lines and sentences.

/// Every document's file name ends so.
inline constexpr std::string_view kDocumentSuffix = ".TEX";

/// The preamble's last line.
inline constexpr const char* kDocumentBegin = "\\begin{document}";

/// The lines before the first formula's block.
inline constexpr const char* kDocumentPreamble[] = {
    "\\documentclass{article}",           "\\usepackage[german]{babel}",
    "\\setlength{\\parindent}{0cm}",      "\\setlength{\\oddsidemargin}{0cm}",
    "\\setlength{\\evensidemargin}{0cm}", "\\setlength{\\textwidth}{16cm}",
    "\\newcounter{countschritt}",         kDocumentBegin};

/// With the laws named: the macro that sets a step's laws at the right margin of its last
/// line, or flush right on a line of its own when they do not fit there (the construction of
/// the TeXbook's \signed macro); a list longer than a whole line is broken between its laws,
/// flush right, below the step. It goes before kDocumentBegin.
inline constexpr const char* kGesetzMacro =
    "\\newcommand{\\gesetz}[1]{\\setbox0=\\hbox{\\footnotesize #1}"
    "\\ifdim\\wd0>\\linewidth{\\par\\raggedleft\\footnotesize #1\\par}\\else"
    "{\\unskip\\nobreak\\hfil\\penalty50\\hskip2em\\hbox{}\\nobreak\\hfil"
    "\\mbox{\\footnotesize #1}\\parfillskip=0pt\\finalhyphendemerits=0\\par}\\fi}";

/// The document's last line.
inline constexpr const char* kDocumentEnd = "\\end{document}";

/// Before every formula line but a block's first.
inline constexpr std::string_view kStepPrefix = "$\\sim$ ";

/// After each of a block's two merging phases, when the document holds more than one formula.
inline constexpr const char* kBlockSpace = "\\vspace{1cm}";

/// Written behind the sentence that closes the conjunctive phase.
inline constexpr std::string_view kConjunctiveFoundSpace = "\\vspace{5mm}";

/// The heading of formula number (in words or digits) when the document holds more than one.
inline std::string FormulaHeading(const std::string& number) {
  return "\\par\\setcounter{countschritt}{0}" + std::string(LineBreak) + "\\textbf{" + number +
         ". Formel}\\par\\nopagebreak" + std::string(LineBreak);
}

/// The closing paragraph when the member limit stopped a derivation in phase; laterFormula
/// names the formula after which nothing more is converted, when there are more.
inline std::string MemberLimitParagraph(Phase phase, std::size_t maxMembers,
                                        const std::string& laterFormula) {
  std::string paragraph = "\\par\\medskip\\textbf{Abbruch.} Die Umformung endet hier " +
                          std::string(TextsOf(phase).stoppedWhere) +
                          ": ein Teil der Formel h\\\"atte mehr als " + std::to_string(maxMembers) +
                          " Glieder bekommen, und so gro{\\ss}e Formeln kann Umbrix nicht umformen.";
  if (!laterFormula.empty())
    paragraph += " Die Formeln nach der " + laterFormula + ". Formel werden nicht mehr umgeformt.";
  return paragraph;
}

/// The size as the reader says it: "200 MB".
inline std::string MegabytesText(std::int64_t bytes) { return std::to_string(bytes >> 20) + " MB"; }

/// The closing paragraph when a document reached the cap of a front end that keeps it in
/// memory; laterFormula as in MemberLimitParagraph.
inline std::string ClosingCapParagraph(std::int64_t cap, const std::string& laterFormula) {
  std::string paragraph =
      "\\par\\medskip\\textbf{Abbruch.} Das Dokument hat hier die Grenze von " + MegabytesText(cap) +
      " erreicht. Mit der Stufe ``wenig Zwischenschritte'' wird die Herleitung viel k\\\"urzer.";
  if (!laterFormula.empty())
    paragraph += " Die Formeln nach der " + laterFormula + ". Formel werden nicht mehr umgeformt.";
  return paragraph;
}

/// The message when a document reached that cap.
inline std::string ClosingCapMessage(std::int64_t cap) {
  return "Das Dokument hat die Grenze von " + MegabytesText(cap) +
         " erreicht; die Umformung endet dort. Wähle die Stufe \"wenig Zwischenschritte\": sie schreibt "
         "viel weniger. Das Dokument bis hierher ist abgeschlossen und lässt sich übersetzen.";
}

}  // namespace umbrix::texts
