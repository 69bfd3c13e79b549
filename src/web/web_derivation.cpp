#include "web/web_derivation.hpp"

#include "render/ergebnis.hpp"
#include "render/texts.hpp"

namespace umbrix {

WebDerivation::WebDerivation()
    : HtmlDerivation([this](std::string_view piece) { Append(piece); }, PageMarkup()) {}

// The page's class names; the arrow before a mark comes from its style sheet.
HtmlMarkup WebDerivation::PageMarkup() {
  return {.blockClass = "herleitung-formel",
          .blockHeading = "h3",
          .phaseHeading = "h4",
          .stepClass = "schritt",
          .resultClass = "ergebnis",
          .numberSpan = true,
          .gap = "",
          .markStart = "<span class=\"marke\">",
          .markEnd = "</span>",
          .lineEnd = "",
          .formula = [this](const StepEvent& event) { return Formula(event); },
          .ergebnisFormula =
              [this](const std::string& formelText, const VariableNames* names) {
                // The document's inline formula without its two "$".
                const std::string inDocument = InlineFormula(formelText, names);
                return TexSpan(std::string_view(inDocument).substr(1, inDocument.size() - 2));
              }};
}

// The section in a box of its own, after the list of the last phase's steps.
void WebDerivation::OnErgebnis(const ErgebnisEvent& event) {
  EndSteps();
  Append("<div class=\"ergebnis-abschnitt\">");
  HtmlDerivation::OnErgebnis(event);
  Append("</div>");
}

void WebDerivation::Append(std::string_view piece) {
  if (tooLarge_) return;
  if (html_.size() + piece.size() > kLargestShownHtml) {
    tooLarge_ = true;
    html_.clear();
    html_.shrink_to_fit();
    return;
  }
  html_ += piece;
}

std::string WebDerivation::Formula(const StepEvent& event) { return TexSpan(event.latex); }

// The LaTeX as text until the page typesets it; nothing once the fragment is too large. A
// formula too long to typeset is named by its length, and the rest of the derivation and its
// section are still shown.
std::string WebDerivation::TexSpan(std::string_view latex) {
  if (tooLarge_) return {};
  if (latex.size() > kLongestShownFormula)
    return "<span class=\"formel-zu-lang\">Formel mit " + std::to_string(latex.size()) +
           std::string(texts::kFormulaOnlyInDocument) + "</span>";
  const std::string escaped = HtmlEscaped(latex);
  return "<span class=\"formel\" data-tex=\"" + escaped + "\">" + escaped + "</span>";
}

}  // namespace umbrix
