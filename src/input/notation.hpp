// Formulas as exercise sheets write them (letters, symbols) translated into Umbrix's own
// notation, so that the formula classes only ever see X-indexes and "-", "+", "v", "<=",
// "=>", "==".
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "input/variable_names.hpp"

namespace umbrix {

/// The letters of a whole input: the index that stands for each, and the names to show.
struct LetterTable {
  std::array<int, 26> index{};  // by letter a to z; 0 where the letter does not occur
  VariableNames names;          // each letter as it first appears in the input
};

/// The letters of a valid input text (lines separated by CR LF). The letters are numbered in
/// alphabetical order, so the derivation orders them alphabetically too.
LetterTable CollectLetters(std::string_view text);

struct TranslatedLine {
  std::string text;  // the line in Umbrix's notation
  bool usesLetters;  // whether its variables are letters
};

/// A valid line in Umbrix's notation: a line that is written so already stays byte for byte,
/// any other is written anew from its tokens, letters as X-indexes from the table.
TranslatedLine TranslateLine(std::string_view line, const LetterTable& letters);

}  // namespace umbrix
