// Typesetting of the formulas' text forms as inline LaTeX math.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "general_formula/gesetz.hpp"

namespace umbrix {

class Formel;
class SimFormel;
class VariableNames;

/// "$" + LaTeX of the general formula's marked text + "$" + line break.
std::string RenderFormel(const Formel& formel);
/// The same for a simple formula; an outermost pair of parentheses is dropped.
std::string RenderSimFormel(const SimFormel& formel);

/// RenderSimFormel for a simple formula's text at hand.
std::string RenderSimFormelText(std::string_view formelText);

/// RenderFormel for a marked text at hand, appended to out; variables that have a name in
/// names are shown by it instead of X_{index}.
void AppendRenderedFormel(std::string& out, std::string_view formelText,
                          const VariableNames* names = nullptr);
/// RenderSimFormel for a simple formula's text at hand, appended to out; names as above.
void AppendRenderedSimFormel(std::string& out, std::string_view formelText,
                             const VariableNames* names = nullptr);
/// RenderSimFormel appended to out, written straight from the tree: the LaTeX of a subtree
/// that has not changed since the last call is reused. Names as above.
void AppendRenderedSimFormel(std::string& out, const SimFormel& formel, const VariableNames* names = nullptr);

/// The names of a step's laws joined by ", " (UTF-8).
std::string GesetzeText(std::span<const Gesetz> gesetze);
/// A UTF-8 text in LaTeX: umlauts, "ß" and German quotation marks as LaTeX commands, so the
/// line stays ASCII.
std::string LatexText(std::string_view text);
/// GesetzeText in LaTeX as the argument of the document's \gesetz macro, appended to out.
void AppendLatexGesetze(std::string& out, std::span<const Gesetz> gesetze);

/// Longest line that the document holds: TeX reads at most 200,000 characters per input line
/// (and some installations fewer), so longer formula lines are broken.
inline constexpr std::size_t kLongestTexLine = 100000;
/// Longest formula that TeX is given as one paragraph: it keeps a whole paragraph in its
/// main memory, which a formula of about a million characters exhausts.
inline constexpr std::size_t kLongestTexParagraph = 400000;

/// A formula line longer than kLongestTexLine is broken after blanks into lines of at most
/// that length: TeX reads the line break as the blank it follows. Beyond kLongestTexParagraph
/// the formula is also closed and reopened after a connective, with an empty line between,
/// so that TeX sets it as several paragraphs. Shorter lines stay as they are.
std::string WrapLongLine(std::string_view line);
/// The same text handed to write piece by piece, without building it: the pieces of line and
/// the breaks between them.
void WriteWrappedLine(std::string_view line, const std::function<void(std::string_view)>& write);

}  // namespace umbrix
