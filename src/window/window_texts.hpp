// The window's composed texts: the start-up notice, the connective legend as rows, and the
// status line. The fixed parts come from render/texts.hpp.
#pragma once

#include <QString>
#include <cstdint>
#include <utility>
#include <vector>

namespace umbrix::window {

inline constexpr int kNoticeButtonCount = 3;

/// The notice's title bar.
QString NoticeTitle();
/// The whole notice naming button `required` (0, 1 or 2); lines separated by "\n".
QString NoticeText(int required);

/// The legend split into its heading and one (connective, name) row per connective.
struct LegendRows {
  QString heading;
  std::vector<std::pair<QString, QString>> rows;
};
LegendRows ConnectiveLegendRows(const char* legend);

/// "Formel n von L, x Zeilen geschrieben".
QString ProgressText(std::int32_t formula, std::int32_t total, std::int64_t lines, std::int64_t bytes);
/// The status after a successful run, with the full path of the file.
QString WrittenText(const QString& absolutePath);

/// The note below a derivation that is too long for the view.
QString TruncatedText(const QString& absolutePath, std::int64_t bytes);
/// The view's text after a failed run.
QString NoDerivationText(const QString& message);
/// The status while pdflatex works, pages done so far.
QString PdfProgressText(int pages);
/// Why a pasted text with a line of length characters was not taken, and where it goes instead.
QString LongLineText(qsizetype length, qsizetype longest);
/// The link above the formulas that folds the help text away or shows it again.
QString HelpToggleText(bool helpShown);
/// The status after the PDF was written.
QString PdfWrittenText(const QString& pdfPath);

}  // namespace umbrix::window
