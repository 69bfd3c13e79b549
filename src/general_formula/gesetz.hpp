// The laws behind the rewriting steps, and the small interface through which the formula
// classes report each law at the moment they apply it. The caller supplies the interface (or
// nothing: then reporting costs one test of a null pointer per rule applied).
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace umbrix {

enum class Gesetz : std::uint8_t {
  Aequivalenz,        // A == B  to  (B => A) + (A => B)
  FolgtAus,           // A <= B  to  B => A
  Implikation,        // A => B  to  -A v B
  DoppelteNegation,   // --A  to  A
  DeMorgan,           // -(A + B)  to  -A v -B, and dually
  Assoziativ,         // (A + (B + C))  to  (A + B + C)
  Distributiv,        // (A v B) + C  to  (A + C) v (B + C), and dually
  Kommutativ,         // members reordered
  Idempotenz,         // A + A  to  A
  Komplement,         // A + -A  to  C,  A v -A  to  T
  Neutral,            // A + T  to  A,  A v C  to  A
  Dominanz,           // A + C  to  C,  A v T  to  T
  NegierteKonstante,  // -C  to  T,  -T  to  C
  KlammernWeglassen,  // a group, or a conjunction or disjunction of one member, dropped
  KlammernSetzen,     // a conjunction inside a disjunction gets its own parentheses
  Absorption,         // A v (A + B)  to  A, and dually
  KeineAenderung,     // not a law: the step left the formula as it was
};

/// The German name of a law as exercise solutions write it (UTF-8).
std::string_view GesetzName(Gesetz gesetz);

/// Receives every law that a rewriting operation applies, in the order applied.
class GesetzSink {
 public:
  virtual ~GesetzSink() = default;
  virtual void Report(Gesetz gesetz) = 0;
};

/// Reports gesetz when a sink was supplied.
inline void Report(GesetzSink* sink, Gesetz gesetz) {
  if (sink != nullptr) sink->Report(gesetz);
}

/// Collects the laws of one step: each law once, in the order first applied.
class GesetzListe : public GesetzSink {
 public:
  void Report(Gesetz gesetz) override;
  void Clear() {
    gesetze_.clear();
    seen_ = 0;
  }
  const std::vector<Gesetz>& Gesetze() const { return gesetze_; }
  bool Contains(Gesetz gesetz) const { return (seen_ & Bit(gesetz)) != 0; }

 private:
  static std::uint32_t Bit(Gesetz gesetz) { return std::uint32_t{1} << static_cast<unsigned>(gesetz); }
  std::vector<Gesetz> gesetze_;
  std::uint32_t seen_ = 0;
};

}  // namespace umbrix
