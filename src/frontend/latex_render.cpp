// The rendering is defined by an ordered list of text replacements. No replacement text
// contains what a later pair searches for, and only the pairs "<=", "=>" and "==" are longer
// than one character, so a text without "<", "=" and ">" can be translated in one pass,
// character by character, with the same result. Simple formulas, which make up almost all
// of a document, never hold those characters.
#include "frontend/latex_render.hpp"

#include "general_formula/formel.hpp"
#include "simple_formula/sim_formel.hpp"
#include "utilities/std_text.hpp"

namespace umbrix {

namespace {

// The connectives' replacements end with a blank so that a following X cannot run into
// the command. The constants are translated only in simple formulas.
const ReplacementList& ConnectiveReplacements(bool withConstants) {
  static const ReplacementList general = {
      "v",  "\\vee ",        "+",  "\\wedge ",          "-", "\\neg ", "<=", "\\leftarrow ",
      "=>", "\\rightarrow ", "==", "\\leftrightarrow ", ";", "}",      "X",  "X_{"};
  static const ReplacementList simple = [] {
    ReplacementList list = general;
    list.insert(list.end(), {"C", "\\bot", "T", "\\top"});
    return list;
  }();
  return withConstants ? simple : general;
}

// Replacement of one character, or nullptr when it stands for itself.
const char* CharacterReplacement(char c, bool withConstants) {
  switch (c) {
    case 'v': return "\\vee ";
    case '+': return "\\wedge ";
    case '-': return "\\neg ";
    case ';': return "}";
    case 'X': return "X_{";
    case 'C': return withConstants ? "\\bot" : nullptr;
    case 'T': return withConstants ? "\\top" : nullptr;
    default: return nullptr;
  }
}

void AppendLatex(std::string& out, std::string_view text, bool withConstants) {
  if (text.find_first_of("<=>") != std::string_view::npos) {
    out += ReplaceAll(text, ConnectiveReplacements(withConstants));
    return;
  }
  for (char c : text) {
    if (const char* replacement = CharacterReplacement(c, withConstants))
      out += replacement;
    else
      out += c;
  }
}

}  // namespace

void AppendRenderedFormel(std::string& out, std::string_view formelText) {
  out += '$';
  AppendLatex(out, formelText, false);
  out += '$';
  out += LineBreak;
}

void AppendRenderedSimFormel(std::string& out, std::string_view formelText) {
  // Only a "+" or "v" node makes the text begin with "(": its outermost pair is dropped.
  if (formelText.size() >= 2 && formelText[0] == '(') formelText = formelText.substr(1, formelText.size() - 2);
  out += '$';
  AppendLatex(out, formelText, true);
  out += '$';
  out += LineBreak;
}

std::string RenderFormel(const Formel& formel) {
  std::string out;
  AppendRenderedFormel(out, formel.FormelText());
  return out;
}

std::string RenderSimFormel(const SimFormel& formel) {
  std::string out;
  AppendRenderedSimFormel(out, formel.FormelText());
  return out;
}

}  // namespace umbrix
