// The fixed German texts that both front ends show (UTF-8).
#pragma once

#include <string>
#include <string_view>

namespace umbrix::texts {

/// The window's initial formulas, each line ended by CR LF.
inline constexpr const char* kSampleFormulas = "-x2+x1\r\nx1v(x2+x3)\r\nx1<=x2vx3\r\nx1==x2+x3\r\nx1=>x2\r\n";

inline constexpr const char* kDefaultOutputName = "AUSGABE";

/// The window's caption, and while a run converts its formulas.
inline constexpr const char* kCaption = "Umbrix";
inline constexpr const char* kCaptionRunning = "Umbrix [aktiv]";
/// The check box beside the option group that names the laws of every step.
inline constexpr const char* kGesetzeCaption = "Gesetze angeben";

/// The report when a run needs more memory than there is.
inline constexpr const char* kOutOfMemory = "Der Speicher reicht für diese Formel nicht aus.";

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

/// The line under the help text: what else the input accepts.
inline constexpr const char* kNotationLine =
    "Auch erlaubt: einzelne Buchstaben als Variablen (außer v); ¬ ! ~ für -, ∧ & für +, ∨ | für v, "
    "← ⇐ < für <=, → ⇒ -> > für =>, ↔ ⇔ <-> = für ==";

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

}  // namespace umbrix::texts
