// The Karnaugh–Veitch diagram (KV-Diagramm) of a function of up to six variables, laid out as
// German courses draw it: the first half of the variables (rounded up) name the columns, the
// others the rows, each in Gray order 00, 01, 11, 10 with the earlier variable as the high
// bit, so that neighbouring cells, also across the edges, differ in one variable. A function
// of five or six variables gets two or four diagrams of four variables, one for each value of
// its first one or two variables. Each term of a minimal form is one block: the cells where
// the term holds (disjunctive form) or where the clause is false (conjunctive form).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "boolean_function/term_list.hpp"
#include "boolean_function/truth_table.hpp"

namespace umbrix {

/// Most variables of a function whose diagrams are drawn, and of one diagram.
inline constexpr std::size_t kMostKvVariables = 6;
inline constexpr std::size_t kMostKvDiagramVariables = 4;

/// One diagram: which variables name its columns and rows, the values that its function's
/// first variables have in it, and for every cell the row of the truth table it shows.
struct KvDiagram {
  std::vector<std::int16_t> columnVariables;  ///< high bit of the Gray code first
  std::vector<std::int16_t> rowVariables;
  /// The variables fixed in this diagram (five or six variables), each with its value.
  std::vector<Literal> fixed;                   ///< negated: the variable is false here
  std::vector<std::vector<std::size_t>> cells;  ///< [row][column]: the truth table's row

  std::size_t Rows() const { return cells.size(); }
  std::size_t Columns() const { return cells.front().size(); }
};

/// A rectangle of cells, columns left to right and rows top to bottom (inclusive), and the
/// edges of the diagram across which its block goes on.
struct KvPiece {
  std::size_t left = 0;
  std::size_t right = 0;
  std::size_t top = 0;
  std::size_t bottom = 0;
  bool openLeft = false;
  bool openRight = false;
  bool openTop = false;
  bool openBottom = false;
};

/// The part of one term's block inside one diagram: one rectangle, or two or four where the
/// block wraps around the edges.
struct KvBlock {
  std::size_t term = 0;  ///< position of the term in the form
  std::vector<KvPiece> pieces;
};

/// The diagrams of a function with the blocks of one minimal form.
struct KvFigure {
  TruthTable table;
  TermList form;
  std::vector<KvDiagram> diagrams;
  std::vector<std::vector<KvBlock>> blocks;  ///< per diagram
  /// Per term: 0 for the outermost drawing; terms whose blocks share a cell differ, so that a
  /// drawing can set them apart by an inset.
  std::vector<std::size_t> levels;
};

/// The diagrams of the table's function (at most kMostKvVariables columns) with one block per
/// term of form, a minimal disjunctive or conjunctive form of that function.
KvFigure MakeKvFigure(const TruthTable& table, const TermList& form);

/// Position i of the Gray order of b bits: the value whose bits the variables take there.
inline std::size_t GrayCode(std::size_t i) { return i ^ (i >> 1); }

}  // namespace umbrix
