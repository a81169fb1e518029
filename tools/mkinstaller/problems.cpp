#include "tools/mkinstaller/problems.h"

#include <cstdio>

void PrintProblems(const std::string& manifestPath, const ProblemList& problems) {
    for (const Problem& problem : problems.Items()) {
        // Command-line options and the environment are not the manifest's.
        const bool command = !problem.field.empty() && (problem.field[0] == '-' || problem.field[0] == '$');
        std::string where = command ? "mkinstaller" : manifestPath;
        if (problem.line > 0) where += ":" + std::to_string(problem.line);
        if (problem.column > 0) where += ":" + std::to_string(problem.column);
        if (problem.warning) where += ": warning";
        if (!problem.field.empty()) where += ": " + problem.field;
        std::fprintf(stderr, "%s: %s\n", where.c_str(), problem.message.c_str());
    }
}
