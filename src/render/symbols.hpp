// How the connectives and constants of the text forms are shown: one row per symbol with its
// LaTeX command and its Unicode character. The LaTeX commands of the connectives end with a
// blank so that a following X cannot run into the command.
#pragma once

#include <string_view>

#include "simple_formula/operation.hpp"

namespace umbrix {

struct SymbolInfo {
  std::string_view text;  // as it stands in a text form
  std::string_view latex;
  std::string_view unicode;
  bool constant;  // "C" and "T" are symbols only in simple formulas
};

inline constexpr SymbolInfo kSymbolTable[] = {
    {operation::kOr, "\\vee ", "∨", false},
    {operation::kAnd, "\\wedge ", "∧", false},
    {operation::kNot, "\\neg ", "¬", false},
    {operation::kFollowsFromWritten, "\\leftarrow ", "←", false},
    {operation::kImpliesWritten, "\\rightarrow ", "→", false},
    {operation::kEquivalentWritten, "\\leftrightarrow ", "↔", false},
    {operation::kFalse, "\\bot", "⊥", true},
    {operation::kTrue, "\\top", "⊤", true},
};

/// The symbol at the front of text, or nullptr when its first character stands for itself.
constexpr const SymbolInfo* SymbolAt(std::string_view text, bool simple) {
  for (const SymbolInfo& symbol : kSymbolTable)
    if ((simple || !symbol.constant) && text.starts_with(symbol.text)) return &symbol;
  return nullptr;
}

}  // namespace umbrix
