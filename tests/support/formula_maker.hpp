// Test helper: seeded random input lines together with the formula tree they stand for.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <utility>

#include "support/formula_node.hpp"

namespace umbrix::test {

// Random input formulas: n-ary "+", "v", "==", binary "<=", "=>", negations; parentheses only
// where the parser's precedence needs them, so precedence is exercised as well.
class FormulaMaker {
 public:
  explicit FormulaMaker(std::uint32_t seed) : random_(seed) {}

  std::pair<Node, std::string> Make() {
    for (;;) {
      leaves_ = Pick(2, 5);
      equivalences_ = 0;
      Node node = Build(Pick(1, 3));
      if (Leaves(node) <= 5) return {node, Text(node)};
    }
  }

 private:
  static int Leaves(const Node& node) {
    int count = node.kids.empty() ? 1 : 0;
    for (const auto& kid : node.kids) count += Leaves(kid);
    return count;
  }

  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  Node Build(int depth) {
    if (depth == 0 || leaves_ <= 1 || Pick(0, 5) == 0) {
      --leaves_;
      Node leaf{'x', kVariables[Pick(0, kVariableCount - 1)], {}};
      return Pick(0, 3) == 0 ? Node{'-', 0, {leaf}} : leaf;
    }
    const char ops[] = {'-', '+', 'v', '<', '>', '=', '+', 'v'};
    char op = ops[Pick(0, 7)];
    if (op == '=' && ++equivalences_ > 1) op = 'v';
    if (op == '-') return Node{'-', 0, {Build(depth - 1)}};
    int arity = (op == '<' || op == '>' || op == '=') ? 2 : Pick(2, 3);
    Node node{op, 0, {}};
    for (int k = 0; k < arity; ++k) node.kids.push_back(Build(depth - 1));
    return node;
  }

  std::string Text(const Node& node) {
    switch (node.op) {
      case 'x':
        return (Pick(0, 1) ? "x" : "X") + std::to_string(node.variable);
      case '-': {
        const Node& kid = node.kids[0];
        return "-" + (Precedence(kid.op) <= 1 ? Text(kid) : "(" + Text(kid) + ")");
      }
      default:
        break;
    }
    const std::string connective = node.op == '<'   ? "<="
                                   : node.op == '>' ? "=>"
                                   : node.op == '=' ? "=="
                                                    : std::string(1, node.op);
    std::string text;
    for (std::size_t k = 0; k < node.kids.size(); ++k) {
      if (k > 0) text += Pick(0, 4) == 0 ? " " + connective + " " : connective;
      const Node& kid = node.kids[k];
      text += Precedence(kid.op) < Precedence(node.op) ? Text(kid) : "(" + Text(kid) + ")";
    }
    return text;
  }

  std::mt19937 random_;
  int leaves_ = 0;
  int equivalences_ = 0;
};

}  // namespace umbrix::test
