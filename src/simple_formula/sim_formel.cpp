// The SimFormel node: members, copy from a general formula, and the text form.
#include "simple_formula/sim_formel.hpp"

#include <stdexcept>

#include "general_formula/formel.hpp"
#include "simple_formula/operators.hpp"
#include "utilities/run_error.hpp"

namespace umbrix {

namespace {

class StepwiseOnly : public SimplifyMode {
 public:
  bool Fast() const override { return false; }
};

}  // namespace

const SimplifyMode& DefaultSimplifyMode() {
  static const StepwiseOnly mode;
  return mode;
}

void SimFormel::CheckMemberCount(std::size_t count) {
  if (count > kMaxMembers) throw MemberLimitError();
}

void SimFormel::Add(Ptr wert) {
  CheckMemberCount(members_.size() + 1);
  members_.push_back(std::move(wert));
  trailing_.reset();
}

Level SimFormel::Stufe() const { return Formel::OperatorLevel(operation_); }

SimFormel::Ptr SimFormel::SubFormel(std::int16_t index) {
  if (index < 0 || index > Count()) throw std::out_of_range("SimFormel::SubFormel: Index außerhalb");
  if (index < Count()) return members_[static_cast<std::size_t>(index)];
  if (!trailing_) trailing_ = std::make_shared<SimFormel>();
  return trailing_;
}

void SimFormel::Reset() {
  operation_.clear();
  members_.clear();
  trailing_.reset();
}

void SimFormel::Become(const SimFormel& other) {
  // Copy first: other may be one of this node's own members.
  std::string operation = other.operation_;
  std::vector<Ptr> members = other.members_;
  operation_ = std::move(operation);
  members_ = std::move(members);
  trailing_.reset();
}

void SimFormel::BecomeAtom(std::string_view atom) {
  operation_ = atom;
  members_.clear();
  trailing_.reset();
}

void SimFormel::SetMembers(std::vector<Ptr> members) {
  CheckMemberCount(members.size());
  members_ = std::move(members);
  trailing_.reset();
}

SimFormel::Ptr SimFormel::NewNode(std::string_view operation, std::vector<Ptr> members) {
  auto node = std::make_shared<SimFormel>(std::string(operation));
  node->SetMembers(std::move(members));
  return node;
}

void SimFormel::MakeCopy(const Formel& wert) {
  Reset();
  const std::string& operation = wert.Operation();
  if (operation == operation::kGroup) {
    MakeCopy(wert.SubFormel(0));  // groups are dropped, nested ones too
  } else if (operation == operation::kOr || operation == operation::kAnd) {
    std::vector<Ptr> members;
    for (std::int16_t k = 0; k < wert.Count(); ++k) {
      auto member = std::make_shared<SimFormel>();
      member->MakeCopy(wert.SubFormel(k));
      members.push_back(std::move(member));
    }
    SetMembers(std::move(members));
    operation_ = operation;
  } else if (operation == operation::kNot) {
    auto member = std::make_shared<SimFormel>();
    member->MakeCopy(wert.SubFormel(0));
    operation_ = operation::kNot;
    members_.push_back(std::move(member));
  } else {
    operation_ = operation;
  }
}

void SimFormel::AppendText(std::string& out) const {
  static const SimFormel empty;
  auto member = [this](std::size_t k) -> const SimFormel& {
    if (k < members_.size()) return *members_[k];
    return trailing_ ? *trailing_ : empty;
  };
  if (operation_ == operation::kNot) {
    out += operation::kNot;
    member(0).AppendText(out);
  } else if (operation_ == operation::kAnd || operation_ == operation::kOr) {
    out += '(';
    member(0).AppendText(out);
    for (std::size_t k = 1; k < members_.size(); ++k) {
      out += operation_;
      member(k).AppendText(out);
    }
    out += ')';
  } else if (operation_ == operation::kFalse || operation_ == operation::kTrue) {
    out += operation_;
  } else {
    out += 'X';
    out += operation_;
    out += ';';
  }
}

std::string SimFormel::FormelText() const {
  std::string out;
  AppendText(out);
  return out;
}

// A 64-bit fingerprint of the subtree: its operations and their order, as its text shows them.
std::uint64_t SimFormel::ShapeHash() const {
  auto mix = [](std::uint64_t x) {
    x ^= x >> 30;
    x *= 0xBF58476D1CE4E5B9ULL;
    x ^= x >> 27;
    x *= 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
  };
  std::uint64_t hash = 0xCBF29CE484222325ULL;
  for (char c : operation_) hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001B3ULL;
  hash = mix(hash + members_.size());
  for (const Ptr& member : members_) hash = mix(hash ^ member->ShapeHash()) + 0x9E3779B97F4A7C15ULL;
  return hash;
}

std::vector<std::string> SimFormel::MemberTexts() const {
  std::vector<std::string> texts;
  texts.reserve(members_.size());
  for (const Ptr& member : members_) texts.push_back(member->FormelText());
  return texts;
}

// The same, taking the texts of members that a repeating Simplify found stable from what it
// kept, and listing those members in stable.
SimFormel::MemberTextList SimFormel::MemberTexts(std::vector<const SimFormel*>& stable) const {
  MemberTextList texts;
  texts.built.reserve(members_.size());
  texts.views.reserve(members_.size());
  for (const Ptr& member : members_) {
    if (member->KeepsStableShape()) {
      stable.push_back(member.get());
      texts.views.push_back(member->stableText_);
    } else {
      texts.built.push_back(member->FormelText());
      texts.views.push_back(texts.built.back());
    }
  }
  return texts;
}

}  // namespace umbrix
