// Where no solver library is linked (the web page): every covering problem is left to the
// minimisation's own branch and bound.
#include "boolean_function/cover_solver.hpp"

namespace umbrix {

bool CoverSolverLinked() { return false; }

CoverSolution SolveCover(const CoverPart&) { return {}; }

CoverSolution FindCoverWithin(const CoverPart&, std::size_t, std::size_t) { return {}; }

}  // namespace umbrix
