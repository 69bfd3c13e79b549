// The pictures and tables of the section "Ergebnis": the KV diagrams with their blocks and
// the tables of the Quine–McCluskey method, as LaTeX, as plain text and as HTML. The three
// show the same cells in the same places, the same block letters and the same rows.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "render/ergebnis.hpp"

namespace umbrix {

class VariableNames;

/// The letter of the block of term t: A to Z, then a to z, then A1, B1, ...
std::string KvBlockName(std::size_t term);

/// The name of prime implicant p in the tables and sentences: P1, P2, ...
std::string QmPrimeName(std::size_t prime);

/// A line of kind KvDiagrams, QmRound, QmPrimes or QmChart, its caption and its figure, as
/// LaTeX paragraphs kept on one page. The KV diagrams need kvmacros.tex (Debian's
/// texlive-science); without it the document says so in their place.
std::string ErgebnisFigureLatex(const ErgebnisLine& line, const VariableNames* names);

/// The figure alone as lines of plain UTF-8 text; a chart wider than width columns is cut into
/// parts.
std::vector<std::string> ErgebnisFigureText(const ErgebnisLine& line, const VariableNames* names,
                                            std::size_t width);

/// The caption and the figure as HTML: a paragraph, then tables.
std::string ErgebnisFigureHtml(const ErgebnisLine& line, const VariableNames* names);

}  // namespace umbrix
