// Order-free forms, each kept once.
#include "derivation_check/canonical.hpp"

#include <algorithm>

namespace umbrix {

namespace {

// The connectives' and constants' codes; variables are their positive indexes.
constexpr std::int32_t kTrueCode = -1;
constexpr std::int32_t kFalseCode = -2;
constexpr std::int32_t kNotCode = -3;
constexpr std::int32_t kAndCode = -4;
constexpr std::int32_t kOrCode = -5;
constexpr std::int32_t kImpliesCode = -6;
constexpr std::int32_t kFollowsFromCode = -7;
constexpr std::int32_t kEquivalentCode = -8;

constexpr Kanon::Id kEmpty = -1;

}  // namespace

std::size_t Kanon::HashOf(std::int32_t code, const std::vector<Id>& members) {
  std::size_t hash = static_cast<std::size_t>(static_cast<std::uint32_t>(code)) * 0x9E3779B97F4A7C15ULL;
  for (Id member : members) hash = (hash ^ static_cast<std::size_t>(member)) * 0x100000001B3ULL;
  return hash;
}

std::int32_t Kanon::CodeOf(const Ausdruck& node) {
  if (node.IsVariable()) return node.Index();
  if (node.Is(operation::kTrue)) return kTrueCode;
  if (node.Is(operation::kFalse)) return kFalseCode;
  if (node.Is(operation::kNot)) return kNotCode;
  if (node.Is(operation::kAnd)) return kAndCode;
  if (node.Is(operation::kOr)) return kOrCode;
  if (node.Is(operation::kImplies)) return kImpliesCode;
  if (node.Is(operation::kFollowsFrom)) return kFollowsFromCode;
  return kEquivalentCode;
}

Kanon::Id Kanon::Intern(std::int32_t code, std::vector<Id> members) {
  if (2 * (forms_.size() + 1) > slots_.size()) Grow();
  const std::size_t hash = HashOf(code, members);
  const std::size_t mask = slots_.size() - 1;
  std::size_t slot = hash & mask;
  for (; slots_[slot] != kEmpty; slot = (slot + 1) & mask) {
    const Id id = slots_[slot];
    const Form& form = forms_[static_cast<std::size_t>(id)];
    if (hashes_[static_cast<std::size_t>(id)] == hash && form.code == code && form.members == members)
      return id;
  }
  const auto id = static_cast<Id>(forms_.size());
  forms_.push_back({code, std::move(members)});
  hashes_.push_back(hash);
  slots_[slot] = id;
  return id;
}

void Kanon::Grow() {
  constexpr std::size_t kFirstSlots = 1024;
  slots_.assign(std::max(kFirstSlots, 2 * slots_.size()), kEmpty);
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t id = 0; id < forms_.size(); ++id) {
    std::size_t slot = hashes_[id] & mask;
    while (slots_[slot] != kEmpty) slot = (slot + 1) & mask;
    slots_[slot] = static_cast<Id>(id);
  }
}

Kanon::Id Kanon::Make(const Ausdruck& node, std::vector<Id> members) {
  const std::int32_t code = CodeOf(node);
  if (code == kAndCode || code == kOrCode) {
    std::vector<Id> flat;
    flat.reserve(members.size());
    for (Id member : members) {
      const Form& form = forms_[static_cast<std::size_t>(member)];
      if (form.code == code)
        flat.insert(flat.end(), form.members.begin(), form.members.end());
      else
        flat.push_back(member);
    }
    if (flat.empty()) return Intern(code == kAndCode ? kTrueCode : kFalseCode, {});
    if (flat.size() == 1) return flat[0];
    members = std::move(flat);
  }
  if (code == kAndCode || code == kOrCode || code == kEquivalentCode)
    std::sort(members.begin(), members.end());
  return Intern(code, std::move(members));
}

Kanon::Id Kanon::Negation(Id formel) { return Intern(kNotCode, {formel}); }

Kanon::Id Kanon::Of(const Ausdruck::Ptr& formel) {
  if (formel->WieGeschrieben())
    if (auto found = known_.find(formel.get()); found != known_.end()) return found->second.second;
  std::vector<Id> members;
  members.reserve(formel->Glieder().size());
  for (const Ausdruck::Ptr& member : formel->Glieder()) members.push_back(Of(member));
  const Id id = Make(*formel, std::move(members));
  if (formel->WieGeschrieben()) known_.emplace(formel.get(), std::make_pair(formel, id));
  return id;
}

}  // namespace umbrix
