#include "sim/Solver.h"

const char* solverName(Solver solver) { return solver == Solver::Xpbd ? "xpbd" : "explicit"; }

std::optional<Solver> solverNamed(const std::string& name) {
  for (Solver solver : {Solver::Explicit, Solver::Xpbd})
    if (name == solverName(solver)) return solver;
  return std::nullopt;
}
