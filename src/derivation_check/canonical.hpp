// The order-free form of formulas: two formulas that differ only in the order of the members
// of "+", "v" and "==" and in parentheses (a+(b+c) is a+b+c) get the same number. Every form
// is kept once, so a form is compared by its number, and the form of a formula in which one
// part was replaced is built from the forms of the parts along the way to the root.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "derivation_check/expression.hpp"

namespace umbrix {

class Kanon {
 public:
  using Id = std::int32_t;

  /// The number of the formula's order-free form.
  Id Of(const Ausdruck::Ptr& formel);
  /// The form of a node with the operation of node and these members' forms: members of the
  /// same junction are taken in, the members of a junction or "==" sorted; a junction of one
  /// member is that member, of none its neutral constant.
  Id Make(const Ausdruck& node, std::vector<Id> members);
  /// The form of -formel.
  Id Negation(Id formel);

 private:
  struct Form {
    std::int32_t code;  // the operation: a variable's index, or a negative number per connective
    std::vector<Id> members;
  };

  Id Intern(std::int32_t code, std::vector<Id> members);
  void Grow();
  static std::int32_t CodeOf(const Ausdruck& node);
  static std::size_t HashOf(std::int32_t code, const std::vector<Id>& members);

  std::vector<Form> forms_;
  std::vector<std::size_t> hashes_;  // of each form's code and members
  // The forms by their hash: open addressing, a power of two of slots, at most half of them used.
  std::vector<Id> slots_;
  // The nodes of the lines read, numbered once; kept alive so that no other node takes their
  // address. The nodes that the laws make are numbered afresh each time: there are many, and
  // each is asked about once.
  std::unordered_map<const Ausdruck*, std::pair<Ausdruck::Ptr, Id>> known_;
};

}  // namespace umbrix
