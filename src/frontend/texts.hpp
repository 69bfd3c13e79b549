// The fixed German texts that both front ends show (UTF-8).
#pragma once

#include <string>

namespace umbrix::texts {

/// The window's initial formulas, each line ended by CR LF.
inline constexpr const char* kSampleFormulas = "-x2+x1\r\nx1v(x2+x3)\r\nx1<=x2vx3\r\nx1==x2+x3\r\nx1=>x2\r\n";

inline constexpr const char* kDefaultOutputName = "AUSGABE";

/// Captions of the option group's entries 0, 1 and 2 (entry 1 with its trailing blank).
inline constexpr const char* kOptionCaptions[] = {"viele Zwischenschritte", "schneller vereinfachen ",
                                                  "wenig Zwischenschritte"};

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

/// The start-up notice up to the name of the button that must be chosen.
inline constexpr const char* kNoticeBeforeButton =
    "Dieses Programm habe ich geschrieben, um mir die Arbeit beim finden von konjunktiven und "
    "disjunktiven Umbrixen zu erleichtern. Ich übernehme ABSOLUT KEINE HAFTUNG für irgendwelche "
    "Schäden oder Problemen, die durch die (ggf. unsachgemäße) Verwendung von (ggf. veränderten) "
    "Teilen dieses Programms oder des Programms selbst entstanden bzw. aufgetreten sind. Außerdem "
    "garantiere ich nicht, dass dieses Programm wirklich die richtige Lösung ausgibt. Sie müssen "
    "übrigens [";

/// The start-up notice after the name of the button.
inline constexpr const char* kNoticeAfterButton =
    "] wählen, um dieses Programm zu starten. Die Ausgabe dieses Programms ist eine .TEX-Datei, "
    "die gesondert (in eine .PDF-, .DVI- oder was auch immer- Datei) übersetzt werden muss. Die "
    "hierfür nötigen Programme werden logischerweise nicht von mir mitgeliefert.";

/// Names of the notice's buttons 0, 1 and 2, in this order.
inline constexpr const char* kNoticeButtons[] = {"Abbrechen", "Wiederholen", "Ignorieren"};

}  // namespace umbrix::texts
