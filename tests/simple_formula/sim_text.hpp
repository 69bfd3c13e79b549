// Test helpers: builds a SimFormel tree from its own text form, so that cases can be written
// as "(X1;+-X2;)" exactly as Value prints them, constants included.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "simple_formula/sim_formel.hpp"
#include "simple_formula/simplify_mode.hpp"

namespace umbrix::test {

class SimTextReader {
 public:
  explicit SimTextReader(std::string_view text) : text_(text) {}

  SimFormel::Ptr Read() {
    SimFormel::Ptr node = Node();
    if (pos_ != text_.size()) throw std::invalid_argument("trailing text in " + std::string(text_));
    return node;
  }

 private:
  SimFormel::Ptr Node() {
    if (pos_ >= text_.size()) throw std::invalid_argument("text ends early: " + std::string(text_));
    const char c = text_[pos_++];
    if (c == '-') {
      auto node = std::make_shared<SimFormel>("-");
      node->Add(Node());
      return node;
    }
    if (c == 'C' || c == 'T') return std::make_shared<SimFormel>(std::string(1, c));
    if (c == 'X') {
      std::string digits;
      while (pos_ < text_.size() && text_[pos_] != ';') digits += text_[pos_++];
      ++pos_;  // the closing ";"
      return std::make_shared<SimFormel>(digits);
    }
    if (c == '(') {
      auto node = std::make_shared<SimFormel>();
      node->Add(Node());
      while (text_.at(pos_) != ')') {
        node->SetOperation(std::string(1, text_[pos_++]));
        node->Add(Node());
      }
      ++pos_;
      return node;
    }
    throw std::invalid_argument("unexpected character in " + std::string(text_));
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

/// The tree whose Value is text (every occurrence its own object).
inline SimFormel::Ptr Sim(std::string_view text) { return SimTextReader(text).Read(); }

/// The option group as Simplify sees it; switchable between two calls.
class StubMode : public SimplifyMode {
 public:
  explicit StubMode(bool fast) : fast_(fast) {}
  bool Fast() const override { return fast_; }
  void SetFast(bool fast) { fast_ = fast; }

 private:
  bool fast_;
};

}  // namespace umbrix::test
