// KV diagrams: the cells of each diagram in Gray order, and the blocks of a minimal form's
// terms, cut into rectangles where a block goes on across an edge.
#include "boolean_function/kv_diagram.hpp"

#include <cstdint>
#include <optional>
#include <stdexcept>

namespace umbrix {

namespace {

// A run of neighbouring positions along one side of a diagram.
struct Span {
  std::size_t first = 0;
  std::size_t last = 0;
  bool openBefore = false;  // the block goes on across the edge before the first position
  bool openAfter = false;
};

// The value a variable has inside the block of a term: a term of a disjunctive form holds
// where its literals are true, a clause of a conjunctive form is false where they are false.
std::optional<bool> BlockValue(const Term& term, std::int16_t variable, NormalFormKind kind) {
  const auto index = static_cast<std::size_t>(variable);
  const bool dis = kind == NormalFormKind::Dis;
  if (term.positive.test(index) && term.negative.test(index)) return std::nullopt;  // no cell
  if (term.positive.test(index)) return dis;
  if (term.negative.test(index)) return !dis;
  return std::nullopt;
}

bool Constrains(const Term& term, std::int16_t variable) {
  const auto index = static_cast<std::size_t>(variable);
  return term.positive.test(index) || term.negative.test(index);
}

// Whether the variables take values inside the term's block when their bits, high bit first,
// are those of code.
bool InsideBlock(const Term& term, NormalFormKind kind, const std::vector<std::int16_t>& variables,
                 std::size_t code) {
  for (std::size_t k = 0; k < variables.size(); ++k) {
    if (!Constrains(term, variables[k])) continue;
    const std::optional<bool> value = BlockValue(term, variables[k], kind);
    const bool bit = (code >> (variables.size() - 1 - k)) & 1U;
    if (!value || *value != bit) return false;
  }
  return true;
}

// The positions of one side (columns or rows, in Gray order) inside the block, as runs; the
// first and the last run join across the edges when they touch both.
std::vector<Span> Spans(const Term& term, NormalFormKind kind, const std::vector<std::int16_t>& variables) {
  const std::size_t size = std::size_t{1} << variables.size();
  std::vector<Span> spans;
  for (std::size_t i = 0; i < size; ++i) {
    if (!InsideBlock(term, kind, variables, GrayCode(i))) continue;
    if (!spans.empty() && spans.back().last + 1 == i)
      spans.back().last = i;
    else
      spans.push_back({i, i});
  }
  if (spans.size() > 1 && spans.front().first == 0 && spans.back().last == size - 1) {
    spans.front().openBefore = true;
    spans.back().openAfter = true;
  }
  return spans;
}

bool FitsFixedValues(const Term& term, NormalFormKind kind, const std::vector<Literal>& fixed) {
  for (const Literal& literal : fixed) {
    if (!Constrains(term, literal.index)) continue;
    const std::optional<bool> value = BlockValue(term, literal.index, kind);
    if (!value || *value == literal.negated) return false;
  }
  return true;
}

// The diagram in which the first fixedCount variables take the bits of selector.
KvDiagram MakeDiagram(const TruthTable& table, std::size_t fixedCount, std::size_t selector) {
  const std::vector<std::int16_t>& variables = table.variables;
  const std::size_t inside = variables.size() - fixedCount;
  const std::size_t columnCount = (inside + 1) / 2;
  const auto columnsStart = variables.begin() + static_cast<std::ptrdiff_t>(fixedCount);
  const auto rowsStart = columnsStart + static_cast<std::ptrdiff_t>(columnCount);
  KvDiagram diagram{{columnsStart, rowsStart}, {rowsStart, variables.end()}, {}, {}};
  for (std::size_t k = 0; k < fixedCount; ++k)
    diagram.fixed.push_back({variables[k], ((selector >> (fixedCount - 1 - k)) & 1U) == 0});
  const std::size_t rowBits = inside - columnCount;
  diagram.cells.assign(std::size_t{1} << rowBits, std::vector<std::size_t>(std::size_t{1} << columnCount));
  for (std::size_t row = 0; row < diagram.Rows(); ++row)
    for (std::size_t column = 0; column < diagram.Columns(); ++column)
      diagram.cells[row][column] = (selector << inside) | (GrayCode(column) << rowBits) | GrayCode(row);
  return diagram;
}

std::vector<KvBlock> BlocksOf(const KvDiagram& diagram, const TermList& form) {
  std::vector<KvBlock> blocks;
  for (std::size_t t = 0; t < form.terms.size(); ++t) {
    const Term& term = form.terms[t];
    if (!FitsFixedValues(term, form.kind, diagram.fixed)) continue;
    KvBlock block{t, {}};
    for (const Span& rows : Spans(term, form.kind, diagram.rowVariables))
      for (const Span& columns : Spans(term, form.kind, diagram.columnVariables))
        block.pieces.push_back({columns.first, columns.last, rows.first, rows.last, columns.openBefore,
                                columns.openAfter, rows.openBefore, rows.openAfter});
    if (!block.pieces.empty()) blocks.push_back(std::move(block));
  }
  return blocks;
}

// Per term, the table rows inside its block (at most 64 rows).
std::vector<std::uint64_t> CoveredRows(const KvFigure& figure) {
  std::vector<std::uint64_t> covered(figure.form.terms.size());
  for (std::size_t d = 0; d < figure.diagrams.size(); ++d)
    for (const KvBlock& block : figure.blocks[d])
      for (const KvPiece& piece : block.pieces)
        for (std::size_t row = piece.top; row <= piece.bottom; ++row)
          for (std::size_t column = piece.left; column <= piece.right; ++column)
            covered[block.term] |= std::uint64_t{1} << figure.diagrams[d].cells[row][column];
  return covered;
}

// Each term takes the lowest level that no earlier term sharing a cell with it has.
std::vector<std::size_t> Levels(const std::vector<std::uint64_t>& covered) {
  std::vector<std::size_t> levels(covered.size());
  for (std::size_t t = 0; t < covered.size(); ++t) {
    std::uint64_t taken = 0;
    for (std::size_t u = 0; u < t; ++u)
      if ((covered[t] & covered[u]) != 0) taken |= std::uint64_t{1} << levels[u];
    while ((taken >> levels[t]) & 1U) ++levels[t];
  }
  return levels;
}

}  // namespace

KvFigure MakeKvFigure(const TruthTable& table, const TermList& form) {
  const std::size_t n = table.variables.size();
  if (n > kMostKvVariables) throw std::invalid_argument("MakeKvFigure: zu viele Variablen");
  const std::size_t fixedCount = n > kMostKvDiagramVariables ? n - kMostKvDiagramVariables : 0;
  KvFigure figure{table, form, {}, {}, {}};
  for (std::size_t selector = 0; selector < (std::size_t{1} << fixedCount); ++selector) {
    figure.diagrams.push_back(MakeDiagram(table, fixedCount, selector));
    figure.blocks.push_back(BlocksOf(figure.diagrams.back(), form));
  }
  figure.levels = Levels(CoveredRows(figure));
  return figure;
}

}  // namespace umbrix
