// The Quine–McCluskey tables. Two terms merge when they free the same variables and their
// values differ in one bit; both then lie in neighbouring groups. A merged term that an
// earlier pair already gave is written once, where it first came up.
#include "boolean_function/quine_mccluskey.hpp"

#include <algorithm>
#include <bit>
#include <iterator>
#include <set>
#include <stdexcept>
#include <utility>

namespace umbrix {

namespace {

// Merges the round's neighbouring groups into the next round and marks the merged terms used.
QmRound NextRound(QmRound& round) {
  QmRound next{std::vector<std::vector<QmTerm>>(round.groups.size())};
  std::set<std::pair<std::uint32_t, std::uint32_t>> written;  // value, free
  for (std::size_t k = 0; k + 1 < round.groups.size(); ++k) {
    for (QmTerm& lower : round.groups[k]) {
      for (QmTerm& upper : round.groups[k + 1]) {
        const std::uint32_t difference = lower.value ^ upper.value;
        if (lower.free != upper.free || std::popcount(difference) != 1) continue;
        lower.used = true;
        upper.used = true;
        if (!written.insert({lower.value, lower.free | difference}).second) continue;
        QmTerm merged{lower.value, lower.free | difference, {}, false};
        std::merge(lower.minterms.begin(), lower.minterms.end(), upper.minterms.begin(), upper.minterms.end(),
                   std::back_inserter(merged.minterms));
        next.groups[k].push_back(std::move(merged));
      }
    }
  }
  return next;
}

bool Empty(const QmRound& round) {
  return std::all_of(round.groups.begin(), round.groups.end(),
                     [](const std::vector<QmTerm>& group) { return group.empty(); });
}

bool SameLiterals(const Term& a, const Term& b) {
  return a.positive == b.positive && a.negative == b.negative;
}

}  // namespace

std::size_t QmTerm::Ones() const { return static_cast<std::size_t>(std::popcount(value)); }

std::string QmTerm::Pattern(std::size_t variables) const {
  std::string pattern;
  for (std::size_t d = 0; d < variables; ++d) {
    const std::uint32_t bit = std::uint32_t{1} << (variables - 1 - d);
    pattern += (free & bit) != 0 ? '-' : (value & bit) != 0 ? '1' : '0';
  }
  return pattern;
}

std::string QmTerm::MintermList() const {
  std::string list;
  for (std::size_t minterm : minterms) list += (list.empty() ? "" : ";") + std::to_string(minterm);
  return list;
}

bool QuineMcCluskey::Covers(std::size_t p, std::size_t minterm) const {
  return (minterm & ~std::size_t{primes[p].free}) == primes[p].value;
}

bool QuineMcCluskey::SingleCover(std::size_t minterm) const {
  std::size_t crosses = 0;
  for (std::size_t p = 0; p < primes.size(); ++p) crosses += Covers(p, minterm) ? 1 : 0;
  return crosses == 1;
}

QuineMcCluskey RunQuineMcCluskey(const TruthTable& table, const TermList& minimalForm) {
  const std::size_t n = table.variables.size();
  if (n > kMostQuineMcCluskeyVariables) throw std::invalid_argument("RunQuineMcCluskey: zu viele Variablen");
  QuineMcCluskey qm;
  qm.variables = table.variables;
  QmRound first{std::vector<std::vector<QmTerm>>(n + 1)};
  for (std::size_t row = 0; row < table.values.size(); ++row) {
    if (!table.values[row]) continue;
    qm.minterms.push_back(row);
    const auto value = static_cast<std::uint32_t>(row);
    first.groups[static_cast<std::size_t>(std::popcount(value))].push_back({value, 0, {row}, false});
  }
  if (qm.minterms.empty()) return qm;
  qm.rounds.push_back(std::move(first));
  for (QmRound next = NextRound(qm.rounds.back()); !Empty(next); next = NextRound(qm.rounds.back()))
    qm.rounds.push_back(std::move(next));
  for (const QmRound& round : qm.rounds)
    for (const std::vector<QmTerm>& group : round.groups)
      for (const QmTerm& term : group)
        if (!term.used) qm.primes.push_back(term);
  for (std::size_t p = 0; p < qm.primes.size(); ++p) {
    const auto& minterms = qm.primes[p].minterms;
    qm.essential.push_back(
        std::any_of(minterms.begin(), minterms.end(), [&](std::size_t m) { return qm.SingleCover(m); }));
    const Term term = TermOf(qm.primes[p], qm.variables);
    qm.chosen.push_back(std::any_of(minimalForm.terms.begin(), minimalForm.terms.end(),
                                    [&](const Term& other) { return SameLiterals(term, other); }));
  }
  return qm;
}

Term TermOf(const QmTerm& term, const std::vector<std::int16_t>& variables) {
  Term result;
  for (std::size_t d = 0; d < variables.size(); ++d) {
    const std::uint32_t bit = std::uint32_t{1} << (variables.size() - 1 - d);
    if ((term.free & bit) == 0) result.AddLiteral({variables[d], (term.value & bit) == 0});
  }
  return result;
}

}  // namespace umbrix
