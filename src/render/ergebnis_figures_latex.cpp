// The section's KV diagrams and Quine–McCluskey tables in LaTeX. A diagram is kvmacros'
// \karnaughmap in picture mode: it fills the cells in its own order (interleaving the bits of
// the columns' and the rows' Gray codes) and marks each variable with a bar over the columns
// or beside the rows where it is 1; its fifth argument carries the minterm numbers and the
// blocks, drawn as ovals, halves or quarters of ovals where a block goes on across an edge.
// Long tables are cut into parts of at most kTableRows rows set side by side.
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <utility>

#include "boolean_function/kv_diagram.hpp"
#include "boolean_function/quine_mccluskey.hpp"
#include "render/ergebnis_figures.hpp"
#include "render/ergebnis_texts.hpp"
#include "render/latex_render.hpp"
#include "utilities/std_text.hpp"

namespace umbrix {

namespace {

constexpr std::size_t kTableRows = 32;
constexpr std::size_t kChartColumns = 16;
// The minterm lists of a table longer than this many characters break within a column of
// kMintermColumn.
constexpr std::size_t kLongestMintermList = 28;
constexpr const char* kMintermColumn = "p{4.5cm}";
// The side of a cell. An oval keeps an inset from its cells' edges (in hundredths of a cell)
// that clears the minterm number in the lower left corner, and grows with each level of
// nesting.
constexpr const char* kCellSide = "10mm";
constexpr int kInsetHundredths = 17;
constexpr int kInsetStepHundredths = 6;
constexpr std::size_t kDeepestLevel = 3;
constexpr const char* kBlockColours[] = {"0.85 0.1 0.1", "0.1 0.3 0.85", "0.1 0.55 0.1",  "0.9 0.45 0",
                                         "0.6 0 0.7",    "0 0.55 0.65",  "0.55 0.35 0.1", "0.35 0.35 0.35"};
// Loads the KV macros once, at the first diagram of the document, outside any group so that
// they last to its end; the preamble stays as it is without the section.
constexpr const char* kLoadKvmacros =
    "\\ifdefined\\karnaughmap\\else\\IfFileExists{kvmacros.tex}{\\input{kvmacros.tex}}{}\\fi";

// A length in hundredths of a cell as picture coordinates: 308 gives "3.08", -50 gives "-0.5".
std::string Coordinate(int hundredths) {
  const int magnitude = hundredths < 0 ? -hundredths : hundredths;
  std::string text = (hundredths < 0 ? "-" : "") + std::to_string(magnitude / 100);
  const int fraction = magnitude % 100;
  if (fraction != 0)
    text += "." + std::to_string(fraction / 10) + (fraction % 10 ? std::to_string(fraction % 10) : "");
  return text;
}

std::string Put(int x, int y, const std::string& object) {
  return "\\put(" + Coordinate(x) + "," + Coordinate(y) + "){" + object + "}";
}

std::string VariableLatex(std::int16_t variable, const VariableNames* names) {
  return InlineFormula("X" + std::to_string(variable) + ";", names);
}

// kvmacros' order of the variables, its highest bit first: bit 2t of its cell number is bit t
// of the column's Gray code, bit 2t+1 that of the row's.
std::string KvmacrosVariables(const KvDiagram& diagram, const VariableNames* names) {
  const std::size_t columnBits = diagram.columnVariables.size();
  const std::size_t rowBits = diagram.rowVariables.size();
  std::string list;
  for (std::size_t bit = columnBits + rowBits; bit-- > 0;) {
    const std::int16_t variable = bit % 2 == 0 ? diagram.columnVariables[columnBits - 1 - bit / 2]
                                               : diagram.rowVariables[rowBits - 1 - bit / 2];
    list += "{" + VariableLatex(variable, names) + "}";
  }
  return list;
}

std::string KvmacrosContents(const KvDiagram& diagram, const TruthTable& values) {
  std::string contents(diagram.Rows() * diagram.Columns(), '0');
  for (std::size_t row = 0; row < diagram.Rows(); ++row) {
    for (std::size_t column = 0; column < diagram.Columns(); ++column) {
      std::size_t position = 0;
      for (std::size_t t = 0; t < 3; ++t) {
        position |= ((GrayCode(column) >> t) & 1U) << (2 * t);
        position |= ((GrayCode(row) >> t) & 1U) << (2 * t + 1);
      }
      if (values.values[diagram.cells[row][column]]) contents[position] = '1';
    }
  }
  return contents;
}

// The oval around a piece, inset from its cells; a side open towards an edge moves the oval's
// centre onto that edge and keeps the half (or quarter) inside.
std::string Oval(const KvPiece& piece, int rows, int columns, int inset) {
  const int left = static_cast<int>(piece.left) * 100 + inset;
  const int right = static_cast<int>(piece.right + 1) * 100 - inset;
  const int top = (rows - static_cast<int>(piece.top)) * 100 - inset;
  const int bottom = (rows - static_cast<int>(piece.bottom) - 1) * 100 + inset;
  int x = (left + right) / 2, y = (top + bottom) / 2, width = right - left, height = top - bottom;
  std::string part;
  if (piece.openTop) y = rows * 100, height = 2 * (rows * 100 - bottom), part += 'b';
  if (piece.openBottom) y = 0, height = 2 * top, part += 't';
  if (piece.openLeft) x = 0, width = 2 * right, part += 'r';
  if (piece.openRight) x = columns * 100, width = 2 * (columns * 100 - left), part += 'l';
  return Put(x, y,
             "\\oval(" + Coordinate(width) + "," + Coordinate(height) + ")" +
                 (part.empty() ? "" : "[" + part + "]"));
}

// The block's letter stands in the gap between its first piece's oval and the upper left
// corner of the cells (upper right for odd levels, a little further in from level 2 on), so
// that the letters of nested blocks stay apart and clear of the lines.
std::string BlockLetter(const KvBlock& block, std::size_t level, int rows) {
  const KvPiece& piece = block.pieces.front();
  const int further = level >= 2 ? 10 : 0;
  const bool left = level % 2 == 0;
  const int x = left ? static_cast<int>(piece.left) * 100 + 3 + further
                     : static_cast<int>(piece.right + 1) * 100 - 3 - further;
  const int y = (rows - static_cast<int>(piece.top)) * 100 - 2;
  return Put(
      x, y,
      std::string("\\makebox(0,0)[") + (left ? "tl" : "tr") + "]{\\tiny " + KvBlockName(block.term) + "}");
}

// Sets the colour of what follows in the PDF; pdfTeX's primitive, since the document loads no
// colour package. Other engines and DVI draw in black.
std::string PdfColour(const std::string& rgb) {
  return "\\ifdefined\\pdfliteral\\ifnum\\pdfoutput>0 \\pdfliteral{" + rgb + " rg " + rgb + " RG}\\fi\\fi";
}

std::string BlockPicture(const KvBlock& block, const KvFigure& figure, const KvDiagram& diagram) {
  const int rows = static_cast<int>(diagram.Rows());
  const int columns = static_cast<int>(diagram.Columns());
  const std::size_t level = std::min(figure.levels[block.term], kDeepestLevel);
  const int inset = kInsetHundredths + kInsetStepHundredths * static_cast<int>(level);
  std::string picture = PdfColour(kBlockColours[block.term % std::size(kBlockColours)]);
  for (const KvPiece& piece : block.pieces) picture += Oval(piece, rows, columns, inset);
  return picture + BlockLetter(block, level, rows) + PdfColour("0 0 0");
}

std::string MintermNumbers(const KvDiagram& diagram) {
  std::string numbers;
  const int rows = static_cast<int>(diagram.Rows());
  for (std::size_t row = 0; row < diagram.Rows(); ++row)
    for (std::size_t column = 0; column < diagram.Columns(); ++column)
      numbers += Put(static_cast<int>(column) * 100 + 4, (rows - 1 - static_cast<int>(row)) * 100 + 4,
                     "\\makebox(0,0)[bl]{\\kvindexsize " + std::to_string(diagram.cells[row][column]) + "}");
  return numbers;
}

std::string KvDiagramLatex(const KvFigure& figure, std::size_t d, const std::string& function,
                           const VariableNames* names) {
  const KvDiagram& diagram = figure.diagrams[d];
  std::string picture = MintermNumbers(diagram);
  for (const KvBlock& block : figure.blocks[d]) picture += BlockPicture(block, figure, diagram);
  const std::size_t variables = diagram.columnVariables.size() + diagram.rowVariables.size();
  return "\\karnaughmap{" + std::to_string(variables) + "}{$" + function + "$}{" +
         KvmacrosVariables(diagram, names) + "}{" + KvmacrosContents(diagram, figure.table) + "}{" + picture +
         "}";
}

// "$X_{1}=0$, $X_{2}=1$": the values of the diagram's fixed variables.
std::string FixedValues(const KvDiagram& diagram, const VariableNames* names) {
  std::string text;
  for (const Literal& literal : diagram.fixed) {
    const std::string name = VariableLatex(literal.index, names);
    text += (text.empty() ? "" : ", ") + name.substr(0, name.size() - 1) + (literal.negated ? "=0$" : "=1$");
  }
  return text;
}

// One diagram alone; two side by side; four in two rows, each under the values of the fixed
// variables.
std::string KvFigureLatex(const ErgebnisLine& line, const VariableNames* names) {
  const KvFigure& figure = *line.kv;
  const std::string lineBreak(LineBreak);
  const std::string function = TableFormulaName(figure.table, names);
  std::string out =
      "\\ifdefined\\karnaughmap{\\kvnoindex\\kvunitlength=" + std::string(kCellSide) + lineBreak;
  if (figure.diagrams.size() == 1) {
    out += KvDiagramLatex(figure, 0, function, names);
  } else {
    out += "\\begin{tabular}{cc}";
    for (std::size_t d = 0; d < figure.diagrams.size(); d += 2) {
      out += lineBreak + (d > 0 ? "\\\\[4mm]" : "") + FixedValues(figure.diagrams[d], names) + " & " +
             FixedValues(figure.diagrams[d + 1], names) + "\\\\" + lineBreak;
      out += KvDiagramLatex(figure, d, function, names) + lineBreak + "& " +
             KvDiagramLatex(figure, d + 1, function, names);
    }
    out += lineBreak + "\\end{tabular}";
  }
  return out + "}" + lineBreak + "\\else " + LatexText(texts::kKvWithoutKvmacros) + "\\fi";
}

// A table as tabulars of at most kTableRows rows side by side, each with the header; a rule
// follows every row whose ruleAfter is set.
struct LatexTable {
  std::string columns;
  std::string header;
  std::vector<std::string> rows;
  std::vector<bool> ruleAfter;
};

std::string Tabulars(const LatexTable& table) {
  const std::string lineBreak(LineBreak);
  std::string out;
  for (std::size_t first = 0; first < table.rows.size(); first += kTableRows) {
    out += (first > 0 ? "\\quad" : "") + std::string("\\begin{tabular}[t]{") + table.columns + "}" +
           lineBreak + table.header + "\\\\ \\hline" + lineBreak;
    for (std::size_t row = first; row < std::min(first + kTableRows, table.rows.size()); ++row)
      out += table.rows[row] + "\\\\" + (table.ruleAfter[row] ? " \\hline" : "") + lineBreak;
    out += "\\end{tabular}" + lineBreak;
  }
  return out;
}

// Small type; the parts of a long table follow each other as far as the line allows.
std::string Small(const std::string& tables) {
  return "{\\footnotesize\\setlength{\\tabcolsep}{3pt}\\raggedright" + std::string(LineBreak) + tables +
         "\\par}";
}

std::string PatternCells(const QmTerm& term, std::size_t variables) {
  std::string cells;
  for (char bit : term.Pattern(variables)) cells += bit == '-' ? " & --" : std::string(" & ") + bit;
  return cells;
}

std::string VariableHeader(const QuineMcCluskey& qm, const VariableNames* names) {
  std::string header;
  for (std::int16_t variable : qm.variables) header += " & " + VariableLatex(variable, names);
  return header;
}

// The minterm lists of terms, and the column that holds them: a narrow one breaks the longer
// lists after their semicolons.
std::pair<std::string, std::vector<std::string>> MintermColumn(const std::vector<const QmTerm*>& terms) {
  std::size_t longest = 0;
  for (const QmTerm* term : terms) longest = std::max(longest, term->MintermList().size());
  const bool narrow = longest > kLongestMintermList;
  std::vector<std::string> lists;
  for (const QmTerm* term : terms)
    lists.push_back(narrow ? "\\raggedright " + ReplaceAll(term->MintermList(), {";", ";\\allowbreak "})
                           : term->MintermList());
  return {narrow ? kMintermColumn : "l", lists};
}

std::string QmRoundLatex(const QuineMcCluskey& qm, std::size_t r, const VariableNames* names) {
  const std::size_t n = qm.variables.size();
  std::vector<const QmTerm*> terms;
  std::vector<std::size_t> groupOf;
  for (std::size_t k = 0; k < qm.rounds[r].groups.size(); ++k)
    for (const QmTerm& term : qm.rounds[r].groups[k]) terms.push_back(&term), groupOf.push_back(k);
  const auto [column, lists] = MintermColumn(terms);
  LatexTable table{"c|" + column + "|" + std::string(n, 'c') + "|c",
                   "Einsen & Minterme" + VariableHeader(qm, names) + " & ",
                   {},
                   {}};
  for (std::size_t t = 0; t < terms.size(); ++t) {
    const bool groupStart = t % kTableRows == 0 || groupOf[t] != groupOf[t - 1];
    table.rows.push_back((groupStart ? std::to_string(groupOf[t]) : std::string()) + " & " + lists[t] +
                         PatternCells(*terms[t], n) + (terms[t]->used ? " & $\\surd$" : " & "));
    table.ruleAfter.push_back(t + 1 < terms.size() && groupOf[t + 1] != groupOf[t]);
  }
  return Small(Tabulars(table));
}

std::string QmPrimesLatex(const QuineMcCluskey& qm, const VariableNames* names) {
  const std::size_t n = qm.variables.size();
  std::vector<const QmTerm*> terms;
  for (const QmTerm& prime : qm.primes) terms.push_back(&prime);
  const auto [column, lists] = MintermColumn(terms);
  LatexTable table{"l|" + column + "|" + std::string(n, 'c') + "|l",
                   " & Minterme" + VariableHeader(qm, names) + " & Term",
                   {},
                   {}};
  for (std::size_t p = 0; p < qm.primes.size(); ++p) {
    const TermList term{NormalFormKind::Dis, {TermOf(qm.primes[p], qm.variables)}};
    table.rows.push_back(QmPrimeName(p) + " & " + lists[p] + PatternCells(qm.primes[p], n) + " & " +
                         InlineFormula(term.FormelText(), names));
    table.ruleAfter.push_back(false);
  }
  return Small(Tabulars(table));
}

// The chart in parts of at most kChartColumns minterms, one below the other.
std::string QmChartLatex(const QuineMcCluskey& qm) {
  std::string out;
  for (std::size_t first = 0; first < qm.minterms.size(); first += kChartColumns) {
    const std::size_t end = std::min(first + kChartColumns, qm.minterms.size());
    LatexTable table{"l|" + std::string(end - first, 'c'), "", {}, {}};
    for (std::size_t m = first; m < end; ++m) table.header += " & " + std::to_string(qm.minterms[m]);
    for (std::size_t p = 0; p < qm.primes.size(); ++p) {
      std::string row = QmPrimeName(p) + (qm.essential[p] ? "$^{*}$" : "");
      for (std::size_t m = first; m < end; ++m)
        row += !qm.Covers(p, qm.minterms[m])    ? " & "
               : qm.SingleCover(qm.minterms[m]) ? " & $\\otimes$"
                                                : " & $\\times$";
      table.rows.push_back(row);
      table.ruleAfter.push_back(false);
    }
    out += (first > 0 ? "\\par\\smallskip" : "") + Tabulars(table);
  }
  return Small(out);
}

// The caption, unbroken by a page, and the figure on the same page with some space around.
std::string Captioned(const std::string& caption, const std::string& figure) {
  return "{\\interlinepenalty=10000 " + LatexText(caption) + "\\par}\\nopagebreak\\smallskip" +
         std::string(LineBreak) + figure + "\\par\\smallskip";
}

}  // namespace

std::string KvBlockName(std::size_t term) {
  if (term < 26) return std::string(1, static_cast<char>('A' + term));
  if (term < 52) return std::string(1, static_cast<char>('a' + term - 26));
  return KvBlockName(term % 26) + std::to_string(term / 26 - 1);
}

std::string QmPrimeName(std::size_t prime) { return "P" + std::to_string(prime + 1); }

std::string ErgebnisFigureLatex(const ErgebnisLine& line, const VariableNames* names) {
  switch (line.kind) {
    case ErgebnisLine::Kind::KvDiagrams:
      return kLoadKvmacros + std::string(LineBreak) + Captioned(line.text, KvFigureLatex(line, names));
    case ErgebnisLine::Kind::QmRound:
      return Captioned(line.text, QmRoundLatex(*line.qm, line.part, names));
    case ErgebnisLine::Kind::QmPrimes:
      return Captioned(line.text, QmPrimesLatex(*line.qm, names));
    case ErgebnisLine::Kind::QmChart:
      return Captioned(line.text, QmChartLatex(*line.qm));
    default:
      return {};
  }
}

}  // namespace umbrix
