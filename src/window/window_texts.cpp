#include "window/window_texts.hpp"

#include <QLocale>
#include <QStringList>

#include "render/texts.hpp"
#include "utilities/output_file.hpp"

namespace umbrix::window {

namespace {

constexpr const char* kCreditLine = "Umbrix – Normalformen der Aussagenlogik, Schritt für Schritt";

bool IsConnective(const QString& word) {
  static const QStringList connectives = {"-", "+", "v", "<=", "=>", "=="};
  return connectives.contains(word);
}

}  // namespace

QString NoticeTitle() { return QString::fromUtf8(texts::kCaption); }

QString NoticeText(int required) {
  return QString::fromUtf8(kCreditLine) + "\n\n" +
         QString::fromStdString(texts::NoticeText(texts::kNoticeButtons[required]));
}

// The legend's words: its first word is the heading, every connective opens a row and the
// words after it up to the next connective are its name.
LegendRows ConnectiveLegendRows(const char* legend) {
  const QStringList words = QString::fromUtf8(legend).split(' ', Qt::SkipEmptyParts);
  LegendRows result;
  for (const QString& word : words) {
    if (result.heading.isEmpty())
      result.heading = word;
    else if (IsConnective(word) || result.rows.empty())
      result.rows.emplace_back(word, QString());
    else
      result.rows.back().second += (result.rows.back().second.isEmpty() ? "" : " ") + word;
  }
  return result;
}

QString ProgressText(std::int32_t formula, std::int32_t total, std::int64_t lines, std::int64_t bytes) {
  return QStringLiteral("Formel %1 von %2, %3 Zeilen (%4) geschrieben")
      .arg(formula)
      .arg(total)
      .arg(lines)
      .arg(QString::fromUtf8(SizeText(bytes)));
}

QString WrittenText(const QString& absolutePath) {
  return QStringLiteral("Geschrieben: %1").arg(absolutePath);
}

QString TruncatedText(const QString& absolutePath, std::int64_t bytes) {
  return QStringLiteral(
             "\n… Die Herleitung ist zu lang für diese Ansicht; hier steht ihr Anfang.\n"
             "Vollständig im Dokument %1 (%2 MB).\n")
      .arg(absolutePath)
      .arg(QLocale(QLocale::German).toString(static_cast<double>(bytes) / 1e6, 'f', 1));
}

QString NoDerivationText(const QString& message) {
  return QStringLiteral("Keine Herleitung: %1\n").arg(message);
}

QString PdfProgressText(int pages) {
  return pages > 0 ? QStringLiteral("PDF wird erstellt … %1 Seiten gesetzt").arg(pages)
                   : QStringLiteral("PDF wird erstellt …");
}

QString LongLineText(qsizetype length, qsizetype longest) {
  const QLocale german(QLocale::German);
  return QStringLiteral(
             "Der eingefügte Text hat eine Zeile mit %1 Zeichen; das Eingabefeld nimmt höchstens %2 "
             "Zeichen je Zeile, weil das Fenster so lange Zeilen nur mit minutenlangem Stocken zeigen "
             "könnte. Nichts wurde eingefügt. So lange Formeln formt die Kommandozeile um: die Formel "
             "in eine Datei schreiben und umbrix -i DATEI aufrufen.")
      .arg(german.toString(length), german.toString(longest));
}

QString PdfWrittenText(const QString& pdfPath) { return QStringLiteral("PDF: %1").arg(pdfPath); }

QString HelpToggleText(bool helpShown) {
  return QString::fromUtf8(helpShown ? "<a href=\"#\">Hilfe zur Eingabe ausblenden</a>"
                                     : "<a href=\"#\">Hilfe zur Eingabe zeigen</a>");
}

}  // namespace umbrix::window
