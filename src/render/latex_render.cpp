// The rendering is defined by an ordered list of text replacements. No replacement text
// contains what a later pair searches for, and only the pairs "<=", "=>" and "==" are longer
// than one character, so a text without "<", "=" and ">" can be translated in one pass,
// character by character, with the same result. Simple formulas, which make up almost all
// of a document, never hold those characters.
#include "render/latex_render.hpp"

#include <algorithm>
#include <array>

#include "general_formula/formel.hpp"
#include "input/variable_names.hpp"
#include "render/symbols.hpp"
#include "simple_formula/sim_formel.hpp"
#include "utilities/std_text.hpp"

namespace umbrix {

namespace {

// The variable marks of the marked text forms: X<index>; becomes X_{<index>}.
constexpr std::string_view kVariableMarks[][2] = {{";", "}"}, {"X", "X_{"}};

// The symbols' pairs, the variable marks, and the constants last, which are translated only
// in simple formulas.
ReplacementList BuildReplacements(bool withConstants) {
  ReplacementList list;
  for (const SymbolInfo& symbol : kSymbolTable)
    if (!symbol.constant) list.insert(list.end(), {std::string(symbol.text), std::string(symbol.latex)});
  for (const auto& [mark, latex] : kVariableMarks)
    list.insert(list.end(), {std::string(mark), std::string(latex)});
  for (const SymbolInfo& symbol : kSymbolTable)
    if (symbol.constant && withConstants)
      list.insert(list.end(), {std::string(symbol.text), std::string(symbol.latex)});
  return list;
}

const ReplacementList& ConnectiveReplacements(bool withConstants) {
  static const ReplacementList general = BuildReplacements(false);
  static const ReplacementList simple = BuildReplacements(true);
  return withConstants ? simple : general;
}

// The same pairs for the one-character texts, indexed by character; empty where a character
// stands for itself.
using CharacterTable = std::array<std::string_view, 256>;

CharacterTable BuildCharacterTable(bool withConstants) {
  CharacterTable table{};
  auto set = [&table](std::string_view text, std::string_view latex) {
    if (text.size() == 1) table[static_cast<unsigned char>(text[0])] = latex;
  };
  for (const SymbolInfo& symbol : kSymbolTable)
    if (!symbol.constant || withConstants) set(symbol.text, symbol.latex);
  for (const auto& [mark, latex] : kVariableMarks) set(mark, latex);
  return table;
}

const CharacterTable& CharacterReplacements(bool withConstants) {
  static const CharacterTable general = BuildCharacterTable(false);
  static const CharacterTable simple = BuildCharacterTable(true);
  return withConstants ? simple : general;
}

// True when text holds "<", "=" or ">". One comparison per character: find_first_of searches
// the three characters again for every character of the text.
bool HasLongConnective(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return c == '<' || c == '=' || c == '>'; });
}

void AppendLatex(std::string& out, std::string_view text, bool withConstants) {
  if (HasLongConnective(text)) {
    out += ReplaceAll(text, ConnectiveReplacements(withConstants));
    return;
  }
  const CharacterTable& table = CharacterReplacements(withConstants);
  for (char c : text) {
    const std::string_view replacement = table[static_cast<unsigned char>(c)];
    if (replacement.empty())
      out += c;
    else
      out += replacement;
  }
}

// Shows every X_{index} from position start on by the variable's name, where it has one.
void ApplyNames(std::string& out, std::size_t start, const VariableNames& names) {
  std::string named;
  std::size_t copied = start;
  for (std::size_t pos = out.find("X_{", start); pos != std::string::npos; pos = out.find("X_{", pos + 1)) {
    const std::size_t close = out.find('}', pos);
    const std::string_view digits(out.data() + pos + 3, close - pos - 3);
    const std::string* name =
        digits.empty() || digits.size() > 2 ? nullptr : names.Name(std::stoi(std::string(digits)));
    if (name == nullptr) continue;
    named.append(out, copied, pos - copied);
    named += *name;
    copied = close + 1;
  }
  if (copied == start) return;
  named.append(out, copied);
  out.replace(start, std::string::npos, named);
}

// The simple formulas' LaTeX, piece by piece: the translation of a whole text equals the
// translations of its pieces put together, since no find text of the list spans two pieces.
class LatexSpelling : public SimFormel::Spelling {
 public:
  void Append(std::string& out, std::string_view piece) const override { AppendLatex(out, piece, true); }
};

// One formula line: "$", the formula as body appends it, its variables named, "$", the line break.
template <typename Body>
void AppendFormulaLine(std::string& out, const VariableNames* names, Body body) {
  out += '$';
  const std::size_t start = out.size();
  body();
  if (names != nullptr) ApplyNames(out, start, *names);
  out += '$';
  out += LineBreak;
}

}  // namespace

void AppendRenderedSimFormel(std::string& out, const SimFormel& formel, const VariableNames* names) {
  static const LatexSpelling latex;
  AppendFormulaLine(out, names, [&] {
    // Only a "+" or "v" node makes the text begin with "(": its outermost pair is dropped.
    formel.AppendSpelled(out, latex, true);
  });
}

void AppendRenderedFormel(std::string& out, std::string_view formelText, const VariableNames* names) {
  AppendFormulaLine(out, names, [&] { AppendLatex(out, formelText, false); });
}

void AppendRenderedSimFormel(std::string& out, std::string_view formelText, const VariableNames* names) {
  AppendFormulaLine(out, names, [&] {
    const std::size_t start = out.size();
    AppendLatex(out, formelText, true);
    // Only a "+" or "v" node makes the text begin with "(": its outermost pair is dropped.
    if (out.size() > start && out[start] == '(') {
      out.erase(start, 1);
      if (out.size() > start) out.pop_back();
    }
  });
}

namespace {

// Closes the formula's paragraph and opens the next one, with an empty line between.
constexpr std::string_view kParagraphBreak = "$\r\n\r\n$";

bool EndsWithConnective(std::string_view text) {
  return text.ends_with("\\vee ") || text.ends_with("\\wedge ");
}

// Length of the next piece of line: up to a blank, preferably one after a connective.
std::size_t NextPiece(std::string_view line, bool needConnective) {
  for (std::size_t blank = line.rfind(' ', kLongestTexLine - 1); blank != std::string_view::npos && blank > 0;
       blank = line.rfind(' ', blank - 1)) {
    if (!needConnective || EndsWithConnective(line.substr(0, blank + 1))) return blank + 1;
  }
  return needConnective ? NextPiece(line, false) : kLongestTexLine;
}

}  // namespace

void WriteWrappedLine(std::string_view line, const std::function<void(std::string_view)>& write) {
  std::size_t paragraph = 0;  // characters of the formula in the current paragraph
  while (line.size() > kLongestTexLine) {
    const bool closeParagraph = paragraph + kLongestTexLine > kLongestTexParagraph;
    const std::size_t cut = NextPiece(line, closeParagraph);
    const std::string_view piece = line.substr(0, cut);
    write(piece);
    line.remove_prefix(cut);
    if (closeParagraph && EndsWithConnective(piece)) {
      write(kParagraphBreak);
      paragraph = 0;
    } else {
      write(LineBreak);
      paragraph += cut;
    }
  }
  write(line);
}

std::string WrapLongLine(std::string_view line) {
  if (line.size() <= kLongestTexLine) return std::string(line);
  std::string wrapped;
  wrapped.reserve(line.size() + line.size() / 1000 + 16);
  WriteWrappedLine(line, [&wrapped](std::string_view piece) { wrapped += piece; });
  return wrapped;
}

std::string GesetzeText(std::span<const Gesetz> gesetze) {
  std::string text;
  for (Gesetz gesetz : gesetze) {
    if (!text.empty()) text += ", ";
    text += GesetzName(gesetz);
  }
  return text;
}

std::string LatexText(std::string_view text) {
  static const ReplacementList kLatexLetters = {"ä", "\\\"a",  "ö", "\\\"o",    "ü", "\\\"u",
                                                "Ä", "\\\"A",  "Ö", "\\\"O",    "Ü", "\\\"U",
                                                "ß", "\\ss{}", "„", "\\glqq{}", "“", "\\grqq{}"};
  return ReplaceAll(text, kLatexLetters);
}

void AppendLatexGesetze(std::string& out, std::span<const Gesetz> gesetze) {
  out += "\\gesetz{";
  out += LatexText(GesetzeText(gesetze));
  out += '}';
}

std::string RenderFormel(const Formel& formel) {
  std::string out;
  AppendRenderedFormel(out, formel.FormelText());
  return out;
}

std::string RenderSimFormel(const SimFormel& formel) {
  std::string out;
  AppendRenderedSimFormel(out, formel);
  return out;
}

std::string RenderSimFormelText(std::string_view formelText) {
  std::string out;
  AppendRenderedSimFormel(out, formelText);
  return out;
}

}  // namespace umbrix
