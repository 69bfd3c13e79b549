// Typesetting of the formulas' text forms as inline LaTeX math.
#pragma once

#include <string>

namespace umbrix {

class Formel;
class SimFormel;

/// "$" + LaTeX of the general formula's marked text + "$" + line break.
std::string RenderFormel(const Formel& formel);
/// The same for a simple formula; an outermost pair of parentheses is dropped.
std::string RenderSimFormel(const SimFormel& formel);
/// RenderSimFormel for a simple formula's text form that is already at hand.
std::string RenderSimFormelText(const std::string& formelText);

}  // namespace umbrix
