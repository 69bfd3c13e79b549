// Truth tables and canonical normal forms.
#include "boolean_function/truth_table.hpp"

#include <stdexcept>

namespace umbrix {

VariableSet TruthTable::Assignment(std::size_t row) const {
  VariableSet assignment;
  for (std::size_t column = 0; column < variables.size(); ++column)
    if (Bit(row, column)) assignment.set(static_cast<std::size_t>(variables[column]));
  return assignment;
}

TruthTable MakeTruthTable(const TermList& form, const std::vector<std::int16_t>& variables) {
  if (variables.size() > kMostMinimalFormVariables)
    throw std::invalid_argument("MakeTruthTable: zu viele Variablen");
  TruthTable table{variables, {}};
  const std::size_t rows = std::size_t{1} << variables.size();
  table.values.reserve(rows);
  for (std::size_t row = 0; row < rows; ++row) table.values.push_back(form.Value(table.Assignment(row)));
  return table;
}

TermList CanonicalForm(const TruthTable& table, NormalFormKind kind) {
  // A minterm is true in exactly its row; a maxterm is false in exactly its row.
  const bool dis = kind == NormalFormKind::Dis;
  TermList form{kind, {}};
  for (std::size_t row = 0; row < table.values.size(); ++row) {
    if (table.values[row] != dis) continue;
    Term term;
    for (std::size_t column = 0; column < table.variables.size(); ++column)
      term.AddLiteral({table.variables[column], table.Bit(row, column) != dis});
    form.terms.push_back(std::move(term));
  }
  return form;
}

}  // namespace umbrix
