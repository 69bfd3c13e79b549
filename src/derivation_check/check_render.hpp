// What a checked derivation says, in German: the sentences of each verdict and of the end of
// a derivation as pieces of text and formulas, which any front end can spell (text with
// Unicode symbols, LaTeX, HTML), and the two spellings of the command line: readable text and a
// LaTeX document that marks every step with ✓ or ✗.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "derivation_check/derivation.hpp"

namespace umbrix {

/// A piece of a sentence: plain text (UTF-8) or, where formel is set, a formula.
struct Satzteil {
  std::string text;
  Ausdruck::Ptr formel;
};
using Satz = std::vector<Satzteil>;

/// The verdict of a step as its first sentence ("richtig: Distributivgesetz"), then the
/// counterexample and the mistake of a wrong step.
std::vector<Satz> SchrittSaetze(const Herleitungsschritt& schritt, const GepruefteHerleitung& herleitung);
/// The sentences that end a derivation: how many steps are right, the normal form of the last
/// line, its comparison with the minimal form and the next step when it was asked for.
std::vector<Satz> AbschlussSaetze(const GepruefteHerleitung& herleitung);

/// A sentence as readable text, formulas with the real symbols.
std::string AlsText(const Satz& satz, const VariableNames* names);
/// A sentence as LaTeX, formulas as inline mathematics.
std::string AlsLatex(const Satz& satz, const VariableNames* names);

/// The names of a derivation's variables when they are letters, else nullptr.
const VariableNames* NamesOf(const GepruefteHerleitung& herleitung);

/// All derivations as readable text, lines of at most width columns where they can be broken.
std::string PruefungAlsText(const std::vector<GepruefteHerleitung>& herleitungen, std::size_t width);
/// All derivations as a complete LaTeX document.
std::string PruefungAlsLatex(const std::vector<GepruefteHerleitung>& herleitungen);

}  // namespace umbrix
