// The one exception type for failures that end a run: unusable input, file errors and
// formulas beyond the member limit. Its message is German and meant for the user.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace umbrix {

class RunError : public std::runtime_error {
 public:
  /// What failed: the input text, reading or writing a file, a formula beyond the limits, or
  /// typesetting the written document.
  enum class Kind { Input, File, TooLarge, Typesetting };

  RunError(Kind kind, const std::string& message) : std::runtime_error(message), kind_(kind) {}

  Kind kind() const { return kind_; }

 private:
  Kind kind_;
};

/// Most members one connective node can hold: member counts are 16-bit signed numbers.
inline constexpr std::size_t kMaxMembers = 32767;

/// The stop at the member limit, wherever a formula would outgrow it.
inline RunError MemberLimitError() {
  return RunError(RunError::Kind::TooLarge,
                  "Die Formel ist zu groß: ein Teil der Formel hätte mehr als 32767 Glieder bekommen. "
                  "Die Ausgabe bis hierher bleibt erhalten.");
}

}  // namespace umbrix
