// KV diagrams: the cell order of every size, neighbours that differ in one variable, and for
// every function of up to three variables and random ones of up to six the blocks of both
// minimal forms, which must be exactly the forms' terms on 1 cells (0 cells for clauses).
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "boolean_function/kv_diagram.hpp"
#include "boolean_function/minimal_form.hpp"
#include "function_support.hpp"

namespace umbrix {
namespace {

using Grid = std::vector<std::vector<std::size_t>>;

TEST(KvDiagram, CellsInTheOrderOfTheTextbooks) {
  struct Case {
    std::size_t variables;
    std::vector<std::int16_t> columns;  // of the first diagram
    std::vector<std::int16_t> rows;
    std::vector<Grid> diagrams;  // truth table rows
  };
  const Grid four = {{0, 4, 12, 8}, {1, 5, 13, 9}, {3, 7, 15, 11}, {2, 6, 14, 10}};
  auto shifted = [&four](std::size_t by) {
    Grid grid = four;
    for (auto& row : grid)
      for (std::size_t& cell : row) cell += by;
    return grid;
  };
  const Case cases[] = {
      {1, {1}, {}, {{{0, 1}}}},
      {2, {1}, {2}, {{{0, 2}, {1, 3}}}},
      {3, {1, 2}, {3}, {{{0, 2, 6, 4}, {1, 3, 7, 5}}}},
      {4, {1, 2}, {3, 4}, {four}},
      {5, {2, 3}, {4, 5}, {four, shifted(16)}},
      {6, {3, 4}, {5, 6}, {four, shifted(16), shifted(32), shifted(48)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.variables) + " variables");
    const TruthTable table = test::Table(c.variables, std::vector<bool>(std::size_t{1} << c.variables));
    const KvFigure figure = MakeKvFigure(table, TermList{});
    ASSERT_EQ(figure.diagrams.size(), c.diagrams.size());
    EXPECT_EQ(figure.diagrams[0].columnVariables, c.columns);
    EXPECT_EQ(figure.diagrams[0].rowVariables, c.rows);
    for (std::size_t d = 0; d < c.diagrams.size(); ++d) {
      EXPECT_EQ(figure.diagrams[d].cells, c.diagrams[d]);
      // The fixed variables take the bits of d, the first variable the high bit.
      const std::vector<Literal>& fixed = figure.diagrams[d].fixed;
      ASSERT_EQ(fixed.size(), c.variables - std::min<std::size_t>(c.variables, 4));
      for (std::size_t k = 0; k < fixed.size(); ++k) {
        EXPECT_EQ(fixed[k].index, static_cast<std::int16_t>(k + 1));
        EXPECT_EQ(fixed[k].negated, ((d >> (fixed.size() - 1 - k)) & 1U) == 0);
      }
    }
  }
}

bool OneBitApart(std::size_t a, std::size_t b) { return __builtin_popcountll(a ^ b) == 1; }

TEST(KvDiagram, NeighboursAcrossTheEdgesDifferInOneVariable) {
  for (std::size_t n = 1; n <= kMostKvVariables; ++n) {
    SCOPED_TRACE(std::to_string(n) + " variables");
    const KvFigure figure = MakeKvFigure(test::Table(n, std::vector<bool>(std::size_t{1} << n)), TermList{});
    std::multiset<std::size_t> shown;
    for (const KvDiagram& diagram : figure.diagrams) {
      for (std::size_t row = 0; row < diagram.Rows(); ++row) {
        for (std::size_t column = 0; column < diagram.Columns(); ++column) {
          const std::size_t cell = diagram.cells[row][column];
          shown.insert(cell);
          if (diagram.Columns() > 1) {
            EXPECT_TRUE(OneBitApart(cell, diagram.cells[row][(column + 1) % diagram.Columns()]));
          }
          if (diagram.Rows() > 1) {
            EXPECT_TRUE(OneBitApart(cell, diagram.cells[(row + 1) % diagram.Rows()][column]));
          }
        }
      }
    }
    ASSERT_EQ(shown.size(), std::size_t{1} << n);
    for (std::size_t row = 0; row < shown.size(); ++row) EXPECT_EQ(shown.count(row), 1U);
  }
}

// The pieces of every block lie in their diagram, and a piece open towards an edge has a
// partner piece at the opposite edge, open towards it.
void ExpectPiecesWithinAndJoined(const KvDiagram& diagram, const KvBlock& block) {
  for (const KvPiece& piece : block.pieces) {
    EXPECT_LE(piece.left, piece.right);
    EXPECT_LE(piece.top, piece.bottom);
    EXPECT_LT(piece.right, diagram.Columns());
    EXPECT_LT(piece.bottom, diagram.Rows());
    if (piece.openLeft) {
      EXPECT_EQ(piece.left, 0U);
    }
    if (piece.openTop) {
      EXPECT_EQ(piece.top, 0U);
    }
    const bool partnerAcross =
        std::any_of(block.pieces.begin(), block.pieces.end(), [&](const KvPiece& other) {
          return &other != &piece && other.openRight && other.right == diagram.Columns() - 1 &&
                 other.top == piece.top;
        });
    const bool partnerBelow =
        std::any_of(block.pieces.begin(), block.pieces.end(), [&](const KvPiece& other) {
          return &other != &piece && other.openBottom && other.bottom == diagram.Rows() - 1 &&
                 other.left == piece.left;
        });
    EXPECT_EQ(piece.openLeft, partnerAcross);
    EXPECT_EQ(piece.openTop, partnerBelow);
  }
}

// Per term, the table rows that its pieces cover, counting a row twice when two pieces hold it.
std::vector<std::multiset<std::size_t>> CellsOfTerms(const KvFigure& figure) {
  std::vector<std::multiset<std::size_t>> cells(figure.form.terms.size());
  for (std::size_t d = 0; d < figure.diagrams.size(); ++d) {
    for (const KvBlock& block : figure.blocks[d]) {
      ExpectPiecesWithinAndJoined(figure.diagrams[d], block);
      for (const KvPiece& piece : block.pieces)
        for (std::size_t row = piece.top; row <= piece.bottom; ++row)
          for (std::size_t column = piece.left; column <= piece.right; ++column)
            cells.at(block.term).insert(figure.diagrams[d].cells[row][column]);
    }
  }
  return cells;
}

TEST(KvDiagram, BlocksAreExactlyTheTermsOfTheMinimalForms) {
  for (const TruthTable& table : test::SmallFunctions()) {
    for (NormalFormKind kind : {NormalFormKind::Dis, NormalFormKind::Kon}) {
      const bool dis = kind == NormalFormKind::Dis;
      const MinimalForms forms = Minimise(table, kind);
      ASSERT_TRUE(forms.complete);
      const KvFigure figure = MakeKvFigure(table, forms.shown.front());
      SCOPED_TRACE(figure.form.FormelText());
      const std::vector<std::multiset<std::size_t>> cells = CellsOfTerms(figure);
      for (std::size_t t = 0; t < figure.form.terms.size(); ++t) {
        const Term& term = figure.form.terms[t];
        std::multiset<std::size_t> expected;  // where the term holds, where the clause fails
        for (std::size_t row = 0; row < table.values.size(); ++row)
          if (term.Value(table.Assignment(row), dis) == dis) expected.insert(row);
        EXPECT_EQ(cells[t], expected) << "term " << t;
        for (std::size_t row : cells[t]) EXPECT_EQ(table.values[row], dis) << "row " << row;
        for (std::size_t u = 0; u < t; ++u) {
          const bool share = std::any_of(cells[t].begin(), cells[t].end(),
                                         [&](std::size_t row) { return cells[u].count(row) > 0; });
          if (share) {
            EXPECT_NE(figure.levels[t], figure.levels[u]) << "terms " << u << " and " << t;
          }
        }
      }
    }
  }
}

TEST(KvDiagram, ABlockAcrossBothEdgesHasFourCorners) {
  // -X2 + -X4 over four variables: columns X1 X2 = 00 and 10, rows X3 X4 = 00 and 10.
  Term term;
  term.AddLiteral({2, true});
  term.AddLiteral({4, true});
  const TermList form{NormalFormKind::Dis, {term}};
  const KvFigure figure = MakeKvFigure(MakeTruthTable(form, test::FirstVariables(4)), form);
  ASSERT_EQ(figure.blocks.at(0).size(), 1U);
  const std::vector<KvPiece>& pieces = figure.blocks[0][0].pieces;
  ASSERT_EQ(pieces.size(), 4U);
  struct Corner {
    std::size_t column, row;
    bool openLeft, openRight, openTop, openBottom;
  };
  const Corner corners[] = {{0, 0, true, false, true, false},
                            {3, 0, false, true, true, false},
                            {0, 3, true, false, false, true},
                            {3, 3, false, true, false, true}};
  for (std::size_t k = 0; k < 4; ++k) {
    SCOPED_TRACE("piece " + std::to_string(k));
    const Corner& c = corners[k];
    EXPECT_EQ(pieces[k].left, c.column);
    EXPECT_EQ(pieces[k].right, c.column);
    EXPECT_EQ(pieces[k].top, c.row);
    EXPECT_EQ(pieces[k].bottom, c.row);
    EXPECT_EQ(pieces[k].openLeft, c.openLeft);
    EXPECT_EQ(pieces[k].openRight, c.openRight);
    EXPECT_EQ(pieces[k].openTop, c.openTop);
    EXPECT_EQ(pieces[k].openBottom, c.openBottom);
  }
}

}  // namespace
}  // namespace umbrix
