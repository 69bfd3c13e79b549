// Test helper: the value of a general formula by plain recursion, independent of the
// equivalence engines, for checking their answers.
#pragma once

#include <functional>
#include <string>

#include "general_formula/formel.hpp"

namespace umbrix::test {

/// The value of formel; variable(index) gives the value of the variable with that index.
inline bool FormelValue(const Formel& formel, const std::function<bool(int index)>& variable) {
  const std::string& op = formel.Operation();
  auto sub = [&](std::int16_t k) { return FormelValue(formel.SubFormel(k), variable); };
  if (op == "(") return sub(0);
  if (op == "-") return !sub(0);
  if (op == "<") return sub(0) || !sub(1);
  if (op == ">") return !sub(0) || sub(1);
  if (op == "=") return sub(0) == sub(1);
  if (op == "+" || op == "v") {
    bool all = true, any = false;
    for (std::int16_t k = 0; k < formel.Count(); ++k) any = any || sub(k), all = all && sub(k);
    return op == "+" ? all : any;
  }
  return variable(std::stoi(op));
}

}  // namespace umbrix::test
