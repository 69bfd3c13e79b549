#include "web/web_derivation.hpp"

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
          .formula = [this](const StepEvent& event) { return Formula(event); }};
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

// The LaTeX as text until the page typesets it; nothing once the fragment is too large.
std::string WebDerivation::Formula(const StepEvent& event) {
  if (tooLarge_) return {};
  if (event.latex.size() > kLongestShownFormula) tooLarge_ = true;
  const std::string latex = HtmlEscaped(event.latex);
  return "<span class=\"formel\" data-tex=\"" + latex + "\">" + latex + "</span>";
}

}  // namespace umbrix
