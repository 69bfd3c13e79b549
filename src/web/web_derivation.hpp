// The derivation as the web page shows it: an HTML fragment built from the run's events, with
// every formula's LaTeX in a data-tex attribute for the page to typeset with KaTeX. The
// fragment stops growing beyond a size that a page can still show; the page then offers the
// document for download only. The section "Ergebnis" lies in a <div class="ergebnis-abschnitt">,
// its formulas as KaTeX spans like the steps, its tables, KV diagrams and Quine–McCluskey
// tables as HTML tables.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "render/readable_render.hpp"

namespace umbrix {

/// Largest fragment that the page is given.
inline constexpr std::size_t kLargestShownHtml = 2 << 20;
/// Longest formula that the page typesets; longer ones are named by their length only.
inline constexpr std::size_t kLongestShownFormula = 20000;

class WebDerivation : public HtmlDerivation {
 public:
  WebDerivation();

  /// The fragment; empty when the derivation was too large to show.
  std::string Html() const { return tooLarge_ ? std::string() : html_; }
  bool TooLarge() const { return tooLarge_; }

  void OnErgebnis(const ErgebnisEvent& event) override;

 private:
  HtmlMarkup PageMarkup();
  void Append(std::string_view piece);
  std::string Formula(const StepEvent& event);
  std::string TexSpan(std::string_view latex);

  std::string html_;
  bool tooLarge_ = false;
};

}  // namespace umbrix
