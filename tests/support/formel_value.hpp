// Test helper: the value of a general formula by plain recursion, independent of the
// equivalence engines, for checking their answers.
#pragma once

#include <functional>
#include <string>

#include "general_formula/formel.hpp"
#include "general_formula/operation.hpp"

namespace umbrix::test {

/// The value of formel; variable(index) gives the value of the variable with that index.
inline bool FormelValue(const Formel& formel, const std::function<bool(int index)>& variable) {
  namespace op = operation;
  const std::string& operation = formel.Operation();
  auto sub = [&](std::int16_t k) { return FormelValue(formel.SubFormel(k), variable); };
  if (operation == op::kGroup) return sub(0);
  if (operation == op::kNot) return !sub(0);
  if (operation == op::kFollowsFrom) return sub(0) || !sub(1);
  if (operation == op::kImplies) return !sub(0) || sub(1);
  if (operation == op::kEquivalent) return sub(0) == sub(1);
  if (operation == op::kAnd || operation == op::kOr) {
    bool all = true, any = false;
    for (std::int16_t k = 0; k < formel.Count(); ++k) any = any || sub(k), all = all && sub(k);
    return operation == op::kAnd ? all : any;
  }
  return variable(std::stoi(operation));
}

}  // namespace umbrix::test
