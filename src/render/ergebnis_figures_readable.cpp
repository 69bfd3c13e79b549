// The section's KV diagrams and Quine–McCluskey tables as plain text and as HTML. A KV cell
// shows its value and the letters of the blocks that hold it; the rows and columns are headed
// by the values of their variables in Gray order, as the bars of the LaTeX diagram mark them.
#include <algorithm>
#include <cstdint>

#include "boolean_function/kv_diagram.hpp"
#include "boolean_function/quine_mccluskey.hpp"
#include "render/ergebnis_figures.hpp"
#include "render/readable_render.hpp"

namespace umbrix {

namespace {

constexpr std::string_view kUsedMark = "✓";
constexpr std::string_view kCross = "×";
constexpr std::string_view kOnlyCross = "⊗";

std::string Padded(std::string text, std::size_t width) {
  const std::size_t columns = Columns(text);
  if (columns < width) text.append(width - columns, ' ');
  return text;
}

std::string VariableText(std::int16_t variable, const VariableNames* names, bool html) {
  const std::string text = "X" + std::to_string(variable) + ";";
  return html ? ReadableFormulaHtml(text, true, names) : ReadableFormula(text, true, names);
}

std::string VariablesText(const std::vector<std::int16_t>& variables, const VariableNames* names, bool html) {
  std::string text;
  for (std::int16_t variable : variables) text += VariableText(variable, names, html);
  return text;
}

// The values of a side's variables at position i of the Gray order: "01".
std::string GrayLabel(std::size_t i, std::size_t bits) {
  std::string label;
  for (std::size_t b = bits; b-- > 0;) label += ((GrayCode(i) >> b) & 1U) ? '1' : '0';
  return label;
}

// Per cell of diagram d, the letters of the blocks that hold it.
std::vector<std::vector<std::string>> BlockLetters(const KvFigure& figure, std::size_t d) {
  const KvDiagram& diagram = figure.diagrams[d];
  std::vector<std::vector<std::string>> letters(diagram.Rows(), std::vector<std::string>(diagram.Columns()));
  for (const KvBlock& block : figure.blocks[d])
    for (const KvPiece& piece : block.pieces)
      for (std::size_t row = piece.top; row <= piece.bottom; ++row)
        for (std::size_t column = piece.left; column <= piece.right; ++column)
          letters[row][column] += KvBlockName(block.term);
  return letters;
}

std::string CellText(const KvFigure& figure, std::size_t d, std::size_t row, std::size_t column,
                     const std::string& letters) {
  const bool value = figure.table.values[figure.diagrams[d].cells[row][column]];
  return (value ? "1" : "0") + (letters.empty() ? std::string() : " " + letters);
}

// "X₁ = 0, X₂ = 1": the values of the diagram's fixed variables.
std::string FixedValues(const KvDiagram& diagram, const VariableNames* names, bool html) {
  std::string text;
  for (const Literal& literal : diagram.fixed)
    text += (text.empty() ? "" : ", ") + VariableText(literal.index, names, html) +
            (literal.negated ? " = 0" : " = 1");
  return text;
}

// The widest cell of all diagrams, so that they line up.
std::size_t CellWidth(const KvFigure& figure) {
  std::size_t width = figure.diagrams.front().columnVariables.size();
  for (std::size_t d = 0; d < figure.diagrams.size(); ++d) {
    const std::vector<std::vector<std::string>> letters = BlockLetters(figure, d);
    for (std::size_t row = 0; row < figure.diagrams[d].Rows(); ++row)
      for (std::size_t column = 0; column < figure.diagrams[d].Columns(); ++column)
        width = std::max(width, Columns(CellText(figure, d, row, column, letters[row][column])));
  }
  return width;
}

void KvDiagramText(const KvFigure& figure, std::size_t d, std::size_t width, const VariableNames* names,
                   std::vector<std::string>& out) {
  const KvDiagram& diagram = figure.diagrams[d];
  const std::vector<std::vector<std::string>> letters = BlockLetters(figure, d);
  const std::string rowNames = VariablesText(diagram.rowVariables, names, false);
  const std::string corner =
      (rowNames.empty() ? "" : rowNames + "\\") + VariablesText(diagram.columnVariables, names, false);
  const std::size_t cornerWidth = std::max(Columns(corner), diagram.rowVariables.size());
  std::string header = Padded(corner, cornerWidth) + " |";
  for (std::size_t column = 0; column < diagram.Columns(); ++column)
    header += " " + Padded(GrayLabel(column, diagram.columnVariables.size()), width + 1);
  out.push_back(header);
  out.push_back(std::string(cornerWidth + 1, '-') + "+" + std::string(diagram.Columns() * (width + 2), '-'));
  for (std::size_t row = 0; row < diagram.Rows(); ++row) {
    std::string line = Padded(GrayLabel(row, diagram.rowVariables.size()), cornerWidth) + " |";
    for (std::size_t column = 0; column < diagram.Columns(); ++column)
      line += " " + Padded(CellText(figure, d, row, column, letters[row][column]), width + 1);
    out.push_back(line);
  }
}

std::vector<std::string> KvFigureText(const KvFigure& figure, const VariableNames* names) {
  std::vector<std::string> out;
  const std::size_t width = CellWidth(figure);
  for (std::size_t d = 0; d < figure.diagrams.size(); ++d) {
    if (!figure.diagrams[d].fixed.empty()) {
      if (d > 0) out.emplace_back();
      out.push_back(FixedValues(figure.diagrams[d], names, false) + ":");
    }
    KvDiagramText(figure, d, width, names, out);
  }
  return out;
}

// The columns of a term's pattern, each value below the start of its variable's name.
std::string PatternText(const QmTerm& term, const std::vector<std::size_t>& widths) {
  const std::string pattern = term.Pattern(widths.size());
  std::string text;
  for (std::size_t d = 0; d < widths.size(); ++d) text += Padded(std::string(1, pattern[d]), widths[d] + 1);
  return text;
}

struct PatternHeader {
  std::string text;
  std::vector<std::size_t> widths;
};

PatternHeader PatternHeaderOf(const QuineMcCluskey& qm, const VariableNames* names) {
  PatternHeader header;
  for (std::int16_t variable : qm.variables) {
    const std::string name = VariableText(variable, names, false);
    header.text += name + " ";
    header.widths.push_back(Columns(name));
  }
  return header;
}

std::size_t LongestMintermList(const std::vector<const QmTerm*>& terms) {
  std::size_t longest = 8;  // "Minterme"
  for (const QmTerm* term : terms) longest = std::max(longest, term->MintermList().size());
  return longest;
}

std::vector<std::string> QmRoundText(const QuineMcCluskey& qm, std::size_t r, const VariableNames* names) {
  const PatternHeader header = PatternHeaderOf(qm, names);
  std::vector<const QmTerm*> terms;
  for (const auto& group : qm.rounds[r].groups)
    for (const QmTerm& term : group) terms.push_back(&term);
  const std::size_t listWidth = LongestMintermList(terms);
  std::vector<std::string> out{"Einsen  " + Padded("Minterme", listWidth + 2) + header.text};
  for (std::size_t k = 0; k < qm.rounds[r].groups.size(); ++k) {
    const auto& group = qm.rounds[r].groups[k];
    if (group.empty()) continue;
    out.push_back(std::string(Columns(out.front()) + 2, '-'));
    for (std::size_t t = 0; t < group.size(); ++t)
      out.push_back(Padded(t == 0 ? std::to_string(k) : "", 8) +
                    Padded(group[t].MintermList(), listWidth + 2) + PatternText(group[t], header.widths) +
                    (group[t].used ? std::string(kUsedMark) : ""));
  }
  return out;
}

std::string PrimeTermText(const QuineMcCluskey& qm, std::size_t p, const VariableNames* names, bool html) {
  const std::string text = TermList{NormalFormKind::Dis, {TermOf(qm.primes[p], qm.variables)}}.FormelText();
  return html ? ReadableFormulaHtml(text, true, names) : ReadableFormula(text, true, names);
}

std::vector<std::string> QmPrimesText(const QuineMcCluskey& qm, const VariableNames* names) {
  const PatternHeader header = PatternHeaderOf(qm, names);
  std::vector<const QmTerm*> terms;
  for (const QmTerm& prime : qm.primes) terms.push_back(&prime);
  const std::size_t listWidth = LongestMintermList(terms);
  const std::size_t nameWidth = QmPrimeName(qm.primes.size() - 1).size() + 2;
  std::vector<std::string> out{std::string(nameWidth, ' ') + Padded("Minterme", listWidth + 2) + header.text +
                               " Term"};
  for (std::size_t p = 0; p < qm.primes.size(); ++p)
    out.push_back(Padded(QmPrimeName(p), nameWidth) + Padded(qm.primes[p].MintermList(), listWidth + 2) +
                  PatternText(qm.primes[p], header.widths) + " " + PrimeTermText(qm, p, names, false));
  return out;
}

std::string_view ChartCell(const QuineMcCluskey& qm, std::size_t p, std::size_t minterm) {
  if (!qm.Covers(p, minterm)) return {};
  return qm.SingleCover(minterm) ? kOnlyCross : kCross;
}

// The chart in parts as wide as fit into width columns, one below the other.
std::vector<std::string> QmChartText(const QuineMcCluskey& qm, std::size_t width) {
  const std::size_t labelWidth = QmPrimeName(qm.primes.size() - 1).size() + 2;
  const std::size_t perPart = std::max<std::size_t>(1, (width > labelWidth + 3 ? width - labelWidth : 3) / 3);
  std::vector<std::string> out;
  for (std::size_t first = 0; first < qm.minterms.size(); first += perPart) {
    const std::size_t end = std::min(first + perPart, qm.minterms.size());
    if (first > 0) out.emplace_back();
    std::string header(labelWidth, ' ');
    for (std::size_t m = first; m < end; ++m) header += Padded(std::to_string(qm.minterms[m]), 3);
    out.push_back(header);
    for (std::size_t p = 0; p < qm.primes.size(); ++p) {
      std::string row = Padded(QmPrimeName(p) + (qm.essential[p] ? "*" : ""), labelWidth);
      for (std::size_t m = first; m < end; ++m)
        row += Padded(std::string(ChartCell(qm, p, qm.minterms[m])), 3);
      out.push_back(row);
    }
  }
  return out;
}

std::string Cell(std::string_view tag, std::string_view content) {
  std::string cell;
  cell.append("<").append(tag).append(">").append(content).append("</").append(tag).append(">");
  return cell;
}

std::string KvDiagramHtml(const KvFigure& figure, std::size_t d, const VariableNames* names) {
  const KvDiagram& diagram = figure.diagrams[d];
  const std::vector<std::vector<std::string>> letters = BlockLetters(figure, d);
  const std::string rowNames = VariablesText(diagram.rowVariables, names, true);
  std::string html = "<div class=\"kv-diagramm\">\n";
  if (!diagram.fixed.empty())
    html += "<p class=\"kv-belegung\">" + FixedValues(diagram, names, true) + ":</p>\n";
  html += "<table class=\"kv\">\n<tr>" + Cell("th", (rowNames.empty() ? "" : rowNames + "\\") +
                                                        VariablesText(diagram.columnVariables, names, true));
  for (std::size_t column = 0; column < diagram.Columns(); ++column)
    html += Cell("th", GrayLabel(column, diagram.columnVariables.size()));
  html += "</tr>\n";
  for (std::size_t row = 0; row < diagram.Rows(); ++row) {
    html += "<tr>" + Cell("th", GrayLabel(row, diagram.rowVariables.size()));
    for (std::size_t column = 0; column < diagram.Columns(); ++column) {
      const bool value = figure.table.values[diagram.cells[row][column]];
      const std::string& blocks = letters[row][column];
      html += Cell("td", std::string(value ? "1" : "0") +
                             (blocks.empty() ? "" : " <span class=\"kv-block\">" + blocks + "</span>"));
    }
    html += "</tr>\n";
  }
  return html + "</table>\n</div>\n";
}

std::string PatternHtml(const QmTerm& term, std::size_t variables) {
  std::string html;
  for (char bit : term.Pattern(variables)) html += Cell("td", std::string(1, bit));
  return html;
}

std::string QmHeaderHtml(std::string_view first, const QuineMcCluskey& qm, const VariableNames* names,
                         std::string_view last) {
  std::string html = "<tr>" + Cell("th", first) + Cell("th", "Minterme");
  for (std::int16_t variable : qm.variables) html += Cell("th", VariableText(variable, names, true));
  return html + Cell("th", last) + "</tr>\n";
}

std::string QmRoundHtml(const QuineMcCluskey& qm, std::size_t r, const VariableNames* names) {
  std::string html = "<table class=\"qm\">\n" + QmHeaderHtml("Einsen", qm, names, "");
  for (std::size_t k = 0; k < qm.rounds[r].groups.size(); ++k) {
    const auto& group = qm.rounds[r].groups[k];
    for (std::size_t t = 0; t < group.size(); ++t)
      html += std::string(t == 0 ? "<tr class=\"gruppe\">" : "<tr>") +
              Cell("td", t == 0 ? std::to_string(k) : "") + Cell("td", group[t].MintermList()) +
              PatternHtml(group[t], qm.variables.size()) + Cell("td", group[t].used ? kUsedMark : "") +
              "</tr>\n";
  }
  return html + "</table>\n";
}

std::string QmPrimesHtml(const QuineMcCluskey& qm, const VariableNames* names) {
  std::string html = "<table class=\"qm\">\n" + QmHeaderHtml("", qm, names, "Term");
  for (std::size_t p = 0; p < qm.primes.size(); ++p)
    html += "<tr>" + Cell("td", QmPrimeName(p)) + Cell("td", qm.primes[p].MintermList()) +
            PatternHtml(qm.primes[p], qm.variables.size()) + Cell("td", PrimeTermText(qm, p, names, true)) +
            "</tr>\n";
  return html + "</table>\n";
}

std::string QmChartHtml(const QuineMcCluskey& qm) {
  std::string html = "<table class=\"qm-tafel\">\n<tr><th></th>";
  for (std::size_t minterm : qm.minterms) html += Cell("th", std::to_string(minterm));
  html += "</tr>\n";
  for (std::size_t p = 0; p < qm.primes.size(); ++p) {
    html += "<tr>" + Cell("th", QmPrimeName(p) + (qm.essential[p] ? "*" : ""));
    for (std::size_t minterm : qm.minterms) html += Cell("td", ChartCell(qm, p, minterm));
    html += "</tr>\n";
  }
  return html + "</table>\n";
}

std::string FigureHtml(const ErgebnisLine& line, const VariableNames* names) {
  switch (line.kind) {
    case ErgebnisLine::Kind::KvDiagrams: {
      std::string html = "<div class=\"kv-diagramme\">\n";
      for (std::size_t d = 0; d < line.kv->diagrams.size(); ++d) html += KvDiagramHtml(*line.kv, d, names);
      return html + "</div>\n";
    }
    case ErgebnisLine::Kind::QmRound:
      return QmRoundHtml(*line.qm, line.part, names);
    case ErgebnisLine::Kind::QmPrimes:
      return QmPrimesHtml(*line.qm, names);
    case ErgebnisLine::Kind::QmChart:
      return QmChartHtml(*line.qm);
    default:
      return {};
  }
}

std::vector<std::string> FigureText(const ErgebnisLine& line, const VariableNames* names, std::size_t width) {
  switch (line.kind) {
    case ErgebnisLine::Kind::KvDiagrams:
      return KvFigureText(*line.kv, names);
    case ErgebnisLine::Kind::QmRound:
      return QmRoundText(*line.qm, line.part, names);
    case ErgebnisLine::Kind::QmPrimes:
      return QmPrimesText(*line.qm, names);
    case ErgebnisLine::Kind::QmChart:
      return QmChartText(*line.qm, width);
    default:
      return {};
  }
}

}  // namespace

std::vector<std::string> ErgebnisFigureText(const ErgebnisLine& line, const VariableNames* names,
                                            std::size_t width) {
  std::vector<std::string> lines = FigureText(line, names, width);
  for (std::string& text : lines) text.erase(text.find_last_not_of(' ') + 1);
  return lines;
}

std::string ErgebnisFigureHtml(const ErgebnisLine& line, const VariableNames* names) {
  return "<p class=\"satz\">" + HtmlEscaped(line.text) + "</p>\n" + FigureHtml(line, names);
}

}  // namespace umbrix
