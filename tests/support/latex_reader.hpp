// Test helper: reads a formula of a written document back into a plain formula tree.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "support/formula_node.hpp"

namespace umbrix::test {

// Reads one LaTeX formula (without "$") with the parser's precedence: \neg binds tightest,
// then \wedge, \vee, \leftarrow and \rightarrow, \leftrightarrow; a chain of one level is one
// node; parentheses make a group.
class LatexReader {
 public:
  explicit LatexReader(std::string_view text) : text_(text) {}

  Node Read() {
    Node node = Level5();
    if (pos_ != text_.size()) Fail("trailing text");
    return node;
  }

 private:
  bool Take(std::string_view token) {
    if (text_.substr(pos_, token.size()) != token) return false;
    pos_ += token.size();
    return true;
  }
  [[noreturn]] void Fail(const std::string& what) const {
    throw std::invalid_argument(what + " at " + std::to_string(pos_) + " in " + std::string(text_));
  }

  Node Chain(char op, const std::vector<std::string_view>& tokens, Node (LatexReader::*operand)()) {
    Node first = (this->*operand)();
    Node node{op, 0, {first}};
    for (;;) {
      bool found = false;
      for (auto token : tokens) {
        if (Take(token)) {
          if (op == '<' || op == '>') node.op = token == "\\leftarrow " ? '<' : '>';
          found = true;
          break;
        }
      }
      if (!found) break;
      node.kids.push_back((this->*operand)());
    }
    return node.kids.size() == 1 ? node.kids[0] : node;
  }

  Node Level5() { return Chain('=', {"\\leftrightarrow "}, &LatexReader::Level4); }
  Node Level4() {
    Node node = Chain('>', {"\\leftarrow ", "\\rightarrow "}, &LatexReader::Level3);
    if ((node.op == '<' || node.op == '>') && node.kids.size() != 2) Fail("chain of implications");
    return node;
  }
  Node Level3() { return Chain('v', {"\\vee "}, &LatexReader::Level2); }
  Node Level2() { return Chain('+', {"\\wedge "}, &LatexReader::Level1); }
  Node Level1() {
    if (Take("\\neg ")) return Node{'-', 0, {Level1()}};
    return Atom();
  }
  Node Atom() {
    if (Take("(")) {
      Node inner = Level5();
      if (!Take(")")) Fail("missing )");
      return inner;
    }
    if (Take("\\bot")) return Node{'C', 0, {}};
    if (Take("\\top")) return Node{'T', 0, {}};
    if (Take("X_{")) {
      std::size_t end = text_.find('}', pos_);
      if (end == std::string_view::npos || end == pos_) Fail("bad variable");
      const int variable = std::stoi(std::string(text_.substr(pos_, end - pos_)));
      pos_ = end + 1;
      return Node{'x', variable, {}};
    }
    Fail("unexpected text");
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace umbrix::test
