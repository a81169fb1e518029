// Finding a program the tool starts, before starting it.
#pragma once

#include <string>

// The file that running `program` starts: `program` itself when it is a
// path, else the first executable of that name on the PATH; "" when there
// is none.
std::string ProgramPath(const std::string& program);

// Why `program` (a path, or a bare name looked for on the PATH) cannot be
// run, or "" when it can.
std::string ProgramProblem(const std::string& program);
