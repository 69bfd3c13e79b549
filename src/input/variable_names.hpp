// The names under which variables are shown in the document: a formula written with letters
// keeps its letters, while X-indexes are shown as X with the index. The run driver holds one
// table per run and passes it, for the lines that use letters, to the renderers.
#pragma once

#include <array>
#include <string>

namespace umbrix {

class VariableNames {
 public:
  /// Variable index is shown as name (index 1 to 99).
  void Set(int index, std::string name) { names_.at(static_cast<std::size_t>(index)) = std::move(name); }

  /// The name of variable index, or nullptr when it is shown as X with its index.
  const std::string* Name(int index) const {
    if (index < 1 || index >= static_cast<int>(names_.size())) return nullptr;
    const std::string& name = names_[static_cast<std::size_t>(index)];
    return name.empty() ? nullptr : &name;
  }

 private:
  std::array<std::string, 100> names_;
};

}  // namespace umbrix
