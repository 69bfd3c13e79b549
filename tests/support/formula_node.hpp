// Test helper: a plain formula tree, independent of the formula classes, with its truth table
// and the normal-form checks, so that a document's formulas can be judged by their meaning.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace umbrix::test {

/// op: 'x' variable, 'C', 'T', '-', '+', 'v', '<' (follows from), '>' (implies), '=' (equivalent).
struct Node {
  char op = 'x';
  int variable = 0;
  std::vector<Node> kids;
};

/// How loosely an operation binds: 0 for variables and constants, 5 for the equivalence.
inline int Precedence(char op) {
  switch (op) {
    case '-':
      return 1;
    case '+':
      return 2;
    case 'v':
      return 3;
    case '<':
    case '>':
      return 4;
    case '=':
      return 5;
    default:
      return 0;
  }
}

/// The variables a formula may use, and the bit each one has in an assignment.
inline constexpr int kVariables[] = {1, 2, 3, 5, 7, 10, 12, 19};
inline constexpr int kVariableCount = 8;

inline int Slot(int variable) {
  for (int i = 0; i < kVariableCount; ++i)
    if (kVariables[i] == variable) return i;
  throw std::invalid_argument("unknown variable " + std::to_string(variable));
}

inline bool Evaluate(const Node& node, unsigned assignment) {
  switch (node.op) {
    case 'x':
      return (assignment >> Slot(node.variable)) & 1u;
    case 'C':
      return false;
    case 'T':
      return true;
    case '-':
      return !Evaluate(node.kids.at(0), assignment);
    case '+':
      for (const auto& kid : node.kids)
        if (!Evaluate(kid, assignment)) return false;
      return true;
    case 'v':
      for (const auto& kid : node.kids)
        if (Evaluate(kid, assignment)) return true;
      return false;
    case '>':
      return !Evaluate(node.kids.at(0), assignment) || Evaluate(node.kids.at(1), assignment);
    case '<':
      return Evaluate(node.kids.at(0), assignment) || !Evaluate(node.kids.at(1), assignment);
    case '=': {
      const bool first = Evaluate(node.kids.at(0), assignment);
      for (const auto& kid : node.kids)
        if (Evaluate(kid, assignment) != first) return false;
      return true;
    }
  }
  throw std::logic_error("bad node");
}

/// All 256 assignments of the eight variables, as eight words.
inline std::vector<std::uint32_t> FullTable(const Node& node) {
  std::vector<std::uint32_t> table;
  for (unsigned high = 0; high < 8; ++high) {
    std::uint32_t bits = 0;
    for (unsigned a = 0; a < 32; ++a)
      bits |= static_cast<std::uint32_t>(Evaluate(node, (high << 5) | a)) << a;
    table.push_back(bits);
  }
  return table;
}

inline bool IsLiteral(const Node& node) {
  if (node.op == '-') return Precedence(node.kids.at(0).op) == 0;
  return Precedence(node.op) == 0;
}

/// outer 'v', inner '+' for the disjunctive normal form; exchanged for the conjunctive one.
inline bool IsNormal(const Node& node, char outer, char inner) {
  auto clause = [&](const Node& n) {
    if (IsLiteral(n)) return true;
    if (n.op != inner) return false;
    for (const auto& kid : n.kids)
      if (!IsLiteral(kid)) return false;
    return true;
  };
  if (clause(node)) return true;
  if (node.op != outer) return false;
  for (const auto& kid : node.kids)
    if (!clause(kid)) return false;
  return true;
}

}  // namespace umbrix::test
