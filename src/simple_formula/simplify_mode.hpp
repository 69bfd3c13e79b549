// The one question that Simplify asks of the outside world: is "schneller vereinfachen "
// selected? The run driver answers it from the window's option group.
#pragma once

namespace umbrix {

class SimplifyMode {
 public:
  virtual ~SimplifyMode() = default;
  /// True while option entry 1 ("schneller vereinfachen ") is selected; asked at every use.
  virtual bool Fast() const = 0;
};

/// The behaviour of "viele Zwischenschritte": one pass per call.
const SimplifyMode& DefaultSimplifyMode();

}  // namespace umbrix
