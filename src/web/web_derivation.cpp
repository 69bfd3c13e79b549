#include "web/web_derivation.hpp"

#include "frontend/latex_render.hpp"

namespace umbrix {

WebDerivation::WebDerivation() : DerivationRenderer([this](std::string_view piece) { Append(piece); }) {}

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

// The LaTeX as text until the page typesets it.
std::string WebDerivation::Formula(const StepEvent& event) {
  if (event.latex.size() > kLongestShownFormula) tooLarge_ = true;
  const std::string latex = HtmlEscaped(event.latex);
  return "<span class=\"formel\" data-tex=\"" + latex + "\">" + latex + "</span>";
}

void WebDerivation::BeginBlock(const FormulaStartEvent& event) {
  std::string html = "<section class=\"herleitung-formel\">";
  if (event.count > 1) html += "<h3>" + std::to_string(event.number) + ". Formel</h3>";
  Emit(html);
}

void WebDerivation::InputFormula(const StepEvent& event) {
  if (tooLarge_) return;
  Emit("<p class=\"eingabe\">" + Formula(event) + "</p>");
}

void WebDerivation::Heading(std::string_view text) { Emit("<h4>" + HtmlEscaped(text) + "</h4>"); }

void WebDerivation::Step(const StepEvent& event) {
  if (tooLarge_) return;
  std::string html;
  if (!listOpen_) html += "<ol class=\"schritte\">";
  listOpen_ = true;
  const std::string number = std::to_string(event.number);
  html += event.result ? "<li class=\"schritt ergebnis\" value=\"" : "<li class=\"schritt\" value=\"";
  html += number + "\"><span class=\"nummer\">" + number + ".</span>" + Formula(event);
  if (!event.gesetze.empty())
    html.append("<span class=\"gesetze\">").append(HtmlEscaped(GesetzeText(event.gesetze))).append("</span>");
  if (event.result) html.append("<span class=\"marke\">").append(ResultMark(event.phase)).append("</span>");
  html += "</li>";
  Emit(html);
}

void WebDerivation::Statement(std::string_view text) {
  Emit("<p class=\"satz\">" + HtmlEscaped(text) + "</p>");
}

// The page does not offer the section "Ergebnis"; a run that carries it shows it readable,
// as the HTML view does.
void WebDerivation::ErgebnisPart(const ErgebnisLine& line, const ErgebnisEvent& event) {
  Emit(ErgebnisHtml(line, event));
}

void WebDerivation::EndSteps() {
  if (listOpen_) Emit("</ol>");
  listOpen_ = false;
}

void WebDerivation::EndBlock() { Emit("</section>"); }

}  // namespace umbrix
