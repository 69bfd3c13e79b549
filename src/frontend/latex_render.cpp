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
      "v", "\\vee ",  "+", "\\wedge ",          "-", "\\neg ", "<=", "\\leftarrow ",
      "=>", "\\rightarrow ", "==", "\\leftrightarrow ", ";", "}",  "X",  "X_{"};
  static const ReplacementList simple = [] {
    ReplacementList list = general;
    list.insert(list.end(), {"C", "\\bot", "T", "\\top"});
    return list;
  }();
  return withConstants ? simple : general;
}

std::string InlineMath(const std::string& latex) { return "$" + latex + "$" + std::string(LineBreak); }

}  // namespace

std::string RenderFormel(const Formel& formel) {
  return InlineMath(ReplaceAll(formel.FormelText(), ConnectiveReplacements(false)));
}

std::string RenderSimFormel(const SimFormel& formel) { return RenderSimFormelText(formel.FormelText()); }

std::string RenderSimFormelText(const std::string& formelText) {
  std::string latex = ReplaceAll(formelText, ConnectiveReplacements(true));
  // Only a "+" or "v" node makes the text begin with "(": drop its outermost pair.
  if (latex.size() >= 2 && latex[0] == '(') latex = latex.substr(1, latex.size() - 2);
  return InlineMath(latex);
}

}  // namespace umbrix
