// The section's KV diagrams and Quine–McCluskey tables in LaTeX. A diagram is kvmacros'
// \karnaughmap in picture mode: it fills the cells in its own order (interleaving the bits of
// the columns' and the rows' Gray codes) and marks each variable with a bar over the columns
// or beside the rows where it is 1; its fifth argument carries the minterm numbers and the
// blocks, drawn as rounded rectangles, open on the side where a block goes on across an edge.
// Long tables are cut into parts of at most kTableLines lines set side by side.
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

constexpr std::size_t kTableLines = 32;
constexpr std::size_t kChartColumns = 16;
// The minterm lists of a table longer than this many characters break within a column of
// kMintermColumn.
constexpr std::size_t kLongestMintermList = 28;
constexpr const char* kMintermColumn = "p{4.5cm}";
// The side of a cell. A block keeps an inset from its cells' edges (in hundredths of a cell)
// that clears the minterm number in the lower left corner, and grows with each level of
// nesting.
constexpr const char* kCellSide = "10mm";
constexpr int kInsetHundredths = 17;
constexpr int kInsetStepHundredths = 6;
constexpr std::size_t kDeepestLevel = 3;
constexpr int kCornerHundredths = 25;
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

// A rectangle with rounded corners around a piece, inset from its cells, drawn side by side
// and corner by corner: the kernel's \oval would take corners as large as the box up to its
// largest circle and warn beyond that. A side open towards an edge of the diagram is left
// out, and the sides next to it run up to the edge.
std::string RoundedBox(const KvPiece& piece, int rows, int columns, int inset) {
  const int x0 = piece.openLeft ? 0 : static_cast<int>(piece.left) * 100 + inset;
  const int x1 = piece.openRight ? columns * 100 : static_cast<int>(piece.right + 1) * 100 - inset;
  const int y1 = piece.openTop ? rows * 100 : (rows - static_cast<int>(piece.top)) * 100 - inset;
  const int y0 = piece.openBottom ? 0 : (rows - static_cast<int>(piece.bottom) - 1) * 100 + inset;
  const int r = std::min({kCornerHundredths, (x1 - x0) / 2, (y1 - y0) / 2});
  const int xa = piece.openLeft ? x0 : x0 + r, xb = piece.openRight ? x1 : x1 - r;
  const int ya = piece.openBottom ? y0 : y0 + r, yb = piece.openTop ? y1 : y1 - r;
  const std::string corner = "\\oval(" + Coordinate(2 * r) + "," + Coordinate(2 * r) + ")";
  std::string box;
  if (!piece.openTop) box += Put(xa, y1, "\\line(1,0){" + Coordinate(xb - xa) + "}");
  if (!piece.openBottom) box += Put(xa, y0, "\\line(1,0){" + Coordinate(xb - xa) + "}");
  if (!piece.openLeft) box += Put(x0, ya, "\\line(0,1){" + Coordinate(yb - ya) + "}");
  if (!piece.openRight) box += Put(x1, ya, "\\line(0,1){" + Coordinate(yb - ya) + "}");
  if (!piece.openTop && !piece.openLeft) box += Put(x0 + r, y1 - r, corner + "[tl]");
  if (!piece.openTop && !piece.openRight) box += Put(x1 - r, y1 - r, corner + "[tr]");
  if (!piece.openBottom && !piece.openLeft) box += Put(x0 + r, y0 + r, corner + "[bl]");
  if (!piece.openBottom && !piece.openRight) box += Put(x1 - r, y0 + r, corner + "[br]");
  return box;
}

// The block's letter stands in the gap between its first piece's box and the upper left
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
  for (const KvPiece& piece : block.pieces) picture += RoundedBox(piece, rows, columns, inset);
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

// A table as tabulars side by side, each of at most kTableLines lines and with the header. A
// row takes lines[row] lines; it is written as atPartStart[row] where it opens a part (a
// group's number repeated), and a rule follows it where ruleAfter[row] is set.
struct LatexTable {
  std::string columns;
  std::string header;
  std::vector<std::string> rows = {};
  std::vector<std::string> atPartStart = {};
  std::vector<std::size_t> lines = {};
  std::vector<bool> ruleAfter = {};

  void Add(std::string row, std::size_t rowLines = 1, bool rule = false, std::string partStart = {}) {
    atPartStart.push_back(partStart.empty() ? row : std::move(partStart));
    rows.push_back(std::move(row));
    lines.push_back(rowLines);
    ruleAfter.push_back(rule);
  }
};

std::string Tabulars(const LatexTable& table) {
  const std::string lineBreak(LineBreak);
  std::string out;
  std::size_t used = kTableLines;
  for (std::size_t row = 0; row < table.rows.size(); ++row) {
    const bool partStart = used + table.lines[row] > kTableLines;
    if (partStart) {
      if (row > 0) out += "\\end{tabular}" + lineBreak + "\\quad";
      out += "\\begin{tabular}[t]{" + table.columns + "}" + lineBreak + table.header + "\\\\ \\hline" +
             lineBreak;
      used = 0;
    }
    used += table.lines[row];
    out += (partStart ? table.atPartStart[row] : table.rows[row]) + "\\\\" +
           (table.ruleAfter[row] ? " \\hline" : "") + lineBreak;
  }
  return table.rows.empty() ? out : out + "\\end{tabular}" + lineBreak;
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
// The minterm lists of terms, the column that holds them and the lines each takes there: a
// narrow column breaks the longer lists after their semicolons.
struct MintermLists {
  std::string column;
  std::vector<std::string> lists;
  std::vector<std::size_t> lines;
};

MintermLists MintermColumn(const std::vector<const QmTerm*>& terms) {
  std::size_t longest = 0;
  for (const QmTerm* term : terms) longest = std::max(longest, term->MintermList().size());
  const bool narrow = longest > kLongestMintermList;
  MintermLists column{narrow ? kMintermColumn : "l", {}, {}};
  for (const QmTerm* term : terms) {
    const std::string list = term->MintermList();
    column.lists.push_back(narrow ? "\\raggedright " + ReplaceAll(list, {";", ";\\allowbreak "}) : list);
    column.lines.push_back(narrow ? (list.size() + kLongestMintermList - 1) / kLongestMintermList : 1);
  }
  return column;
}

std::string QmRoundLatex(const QuineMcCluskey& qm, std::size_t r, const VariableNames* names) {
  const std::size_t n = qm.variables.size();
  std::vector<const QmTerm*> terms;
  std::vector<std::size_t> groupOf;
  for (std::size_t k = 0; k < qm.rounds[r].groups.size(); ++k)
    for (const QmTerm& term : qm.rounds[r].groups[k]) terms.push_back(&term), groupOf.push_back(k);
  const MintermLists minterms = MintermColumn(terms);
  LatexTable table{"c|" + minterms.column + "|" + std::string(n, 'c') + "|c",
                   "Einsen & Minterme" + VariableHeader(qm, names) + " & "};
  for (std::size_t t = 0; t < terms.size(); ++t) {
    const std::string rest =
        " & " + minterms.lists[t] + PatternCells(*terms[t], n) + (terms[t]->used ? " & $\\surd$" : " & ");
    const std::string group = std::to_string(groupOf[t]);
    const bool groupStart = t == 0 || groupOf[t] != groupOf[t - 1];
    table.Add((groupStart ? group : std::string()) + rest, minterms.lines[t],
              t + 1 < terms.size() && groupOf[t + 1] != groupOf[t], group + rest);
  }
  return Small(Tabulars(table));
}

std::string QmPrimesLatex(const QuineMcCluskey& qm, const VariableNames* names) {
  const std::size_t n = qm.variables.size();
  std::vector<const QmTerm*> terms;
  for (const QmTerm& prime : qm.primes) terms.push_back(&prime);
  const MintermLists minterms = MintermColumn(terms);
  LatexTable table{"l|" + minterms.column + "|" + std::string(n, 'c') + "|l",
                   " & Minterme" + VariableHeader(qm, names) + " & Term"};
  for (std::size_t p = 0; p < qm.primes.size(); ++p) {
    const TermList term{NormalFormKind::Dis, {TermOf(qm.primes[p], qm.variables)}};
    table.Add(QmPrimeName(p) + " & " + minterms.lists[p] + PatternCells(qm.primes[p], n) + " & " +
                  InlineFormula(term.FormelText(), names),
              minterms.lines[p]);
  }
  return Small(Tabulars(table));
}

// The chart in parts of at most kChartColumns minterms, one below the other.
std::string QmChartLatex(const QuineMcCluskey& qm) {
  std::string out;
  for (std::size_t first = 0; first < qm.minterms.size(); first += kChartColumns) {
    const std::size_t end = std::min(first + kChartColumns, qm.minterms.size());
    LatexTable table{"l|" + std::string(end - first, 'c'), ""};
    for (std::size_t m = first; m < end; ++m) table.header += " & " + std::to_string(qm.minterms[m]);
    for (std::size_t p = 0; p < qm.primes.size(); ++p) {
      std::string row = QmPrimeName(p) + (qm.essential[p] ? "$^{*}$" : "");
      for (std::size_t m = first; m < end; ++m)
        row += !qm.Covers(p, qm.minterms[m])    ? " & "
               : qm.SingleCover(qm.minterms[m]) ? " & $\\otimes$"
                                                : " & $\\times$";
      table.Add(row);
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
