// Finding a program the tool starts, before starting it.
#pragma once

#include <string>

// Why `program` (a path, or a bare name looked for on the PATH) cannot be
// run, or "" when it can.
std::string ProgramProblem(const std::string& program);
