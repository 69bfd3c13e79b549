// Typesetting of the formulas' text forms as inline LaTeX math.
#pragma once

#include <string>
#include <string_view>

namespace umbrix {

class Formel;
class SimFormel;

/// "$" + LaTeX of the general formula's marked text + "$" + line break.
std::string RenderFormel(const Formel& formel);
/// The same for a simple formula; an outermost pair of parentheses is dropped.
std::string RenderSimFormel(const SimFormel& formel);

/// RenderFormel for a marked text at hand, appended to out.
void AppendRenderedFormel(std::string& out, std::string_view formelText);
/// RenderSimFormel for a simple formula's text at hand, appended to out.
void AppendRenderedSimFormel(std::string& out, std::string_view formelText);

}  // namespace umbrix
