// The engine without a library: a function is its truth table, 64 rows per machine word. A
// circuit is evaluated one word of rows at a time, so its gates need one word each whatever
// the number of variables.
#include <bit>
#include <stdexcept>

#include "boolean_function/equivalence.hpp"

namespace umbrix {

namespace {

using Word = std::uint64_t;
constexpr std::size_t kWordBits = 64;
constexpr unsigned kRowsPerWordBits = 6;  // 2^6 rows in a word

// The rows of one word in which a column is true, for the columns that change within a word:
// the column whose value is bit s of the row number.
constexpr Word kInWordPatterns[kRowsPerWordBits] = {
    0xAAAAAAAAAAAAAAAAULL, 0xCCCCCCCCCCCCCCCCULL, 0xF0F0F0F0F0F0F0F0ULL,
    0xFF00FF00FF00FF00ULL, 0xFFFF0000FFFF0000ULL, 0xFFFFFFFF00000000ULL,
};

class TruthTableEngine : public EquivalenceEngine {
 public:
  explicit TruthTableEngine(const VariableSet& variables)
      : columns_(Indices(variables)), columnSet_(variables), column_(100, -1) {
    for (std::size_t c = 0; c < columns_.size(); ++c)
      column_[static_cast<std::size_t>(columns_[c])] = static_cast<int>(c);
    if (columns_.size() > kMostTruthTableVariables) return;
    const std::size_t rows = std::size_t{1} << columns_.size();
    words_ = rows < kWordBits ? 1 : rows / kWordBits;
    lastMask_ = rows < kWordBits ? (Word{1} << rows) - 1 : ~Word{0};
  }

  std::optional<Function> FunctionOf(const Circuit& circuit, Circuit::Id output) override {
    if (words_ == 0 || !Covers(circuit)) return std::nullopt;
    std::vector<Word> table(words_);
    std::vector<Word> values(circuit.Gates().size());
    for (std::size_t w = 0; w < words_; ++w) {
      Evaluate(circuit, w, values);
      table[w] = values[output] & (w + 1 == words_ ? lastMask_ : ~Word{0});
    }
    tables_.push_back(std::move(table));
    return tables_.size() - 1;
  }

  /// The rows of a function, all false first.
  std::vector<bool> Values(Function f) const {
    const std::size_t rows = std::size_t{1} << columns_.size();
    std::vector<bool> values(rows);
    for (std::size_t row = 0; row < rows; ++row)
      values[row] = ((tables_.at(f)[row / kWordBits] >> (row % kWordBits)) & 1U) != 0;
    return values;
  }

  bool Equal(Function a, Function b) override { return tables_.at(a) == tables_.at(b); }

  std::optional<VariableSet> FirstDifference(Function a, Function b) override {
    const std::vector<Word>& first = tables_.at(a);
    const std::vector<Word>& second = tables_.at(b);
    for (std::size_t w = 0; w < words_; ++w) {
      const Word differ = first[w] ^ second[w];
      if (differ != 0) return Assignment(w * kWordBits + static_cast<std::size_t>(std::countr_zero(differ)));
    }
    return std::nullopt;
  }

 private:
  bool Covers(const Circuit& circuit) const { return (circuit.Variables() & ~columnSet_).none(); }

  // Row r gives column c the bit (columns - 1 - c) of r: the first column changes slowest.
  Word ColumnWord(std::int16_t variable, std::size_t w) const {
    const auto shift = static_cast<unsigned>(columns_.size() - 1) -
                       static_cast<unsigned>(column_[static_cast<std::size_t>(variable)]);
    if (shift < kRowsPerWordBits) return kInWordPatterns[shift];
    return ((w >> (shift - kRowsPerWordBits)) & 1U) != 0 ? ~Word{0} : 0;
  }

  void Evaluate(const Circuit& circuit, std::size_t w, std::vector<Word>& values) const {
    const std::vector<Circuit::Gate>& gates = circuit.Gates();
    for (std::size_t g = 0; g < gates.size(); ++g) values[g] = GateWord(circuit, gates[g], w, values);
  }

  Word GateWord(const Circuit& circuit, const Circuit::Gate& gate, std::size_t w,
                const std::vector<Word>& values) const {
    const std::span<const Circuit::Id> in = circuit.Inputs(gate);
    switch (gate.kind) {
      case Circuit::Kind::Variable:
        return ColumnWord(gate.variable, w);
      case Circuit::Kind::False:
        return 0;
      case Circuit::Kind::True:
        return ~Word{0};
      case Circuit::Kind::Not:
        return ~values[in[0]];
      case Circuit::Kind::And: {
        Word result = ~Word{0};
        for (Circuit::Id input : in) result &= values[input];
        return result;
      }
      case Circuit::Kind::Or: {
        Word result = 0;
        for (Circuit::Id input : in) result |= values[input];
        return result;
      }
      case Circuit::Kind::Implies:
        return ~values[in[0]] | values[in[1]];
      case Circuit::Kind::Equivalent: {
        Word result = ~Word{0};
        for (std::size_t k = 0; k + 1 < in.size(); ++k) result &= ~(values[in[k]] ^ values[in[k + 1]]);
        return result;
      }
    }
    throw std::logic_error("TruthTableEngine: unbekanntes Gatter");
  }

  VariableSet Assignment(std::size_t row) const {
    VariableSet assignment;
    for (std::size_t c = 0; c < columns_.size(); ++c)
      if (((row >> (columns_.size() - 1 - c)) & 1U) != 0)
        assignment.set(static_cast<std::size_t>(columns_[c]));
    return assignment;
  }

  std::vector<std::int16_t> columns_;
  VariableSet columnSet_;
  std::vector<int> column_;  // by variable index: its column, -1 if none
  std::size_t words_ = 0;    // 0: too many variables
  Word lastMask_ = 0;        // the rows of the last word that exist
  std::vector<std::vector<Word>> tables_;
};

}  // namespace

std::unique_ptr<EquivalenceEngine> MakeTruthTableEngine(const VariableSet& variables) {
  return std::make_unique<TruthTableEngine>(variables);
}

std::optional<TruthTable> CircuitTruthTable(const Circuit& circuit, Circuit::Id output) {
  TruthTableEngine engine(circuit.Variables());
  const std::optional<EquivalenceEngine::Function> function = engine.FunctionOf(circuit, output);
  if (!function) return std::nullopt;
  return TruthTable{Indices(circuit.Variables()), engine.Values(*function)};
}

}  // namespace umbrix
