// The driver's step language: a flat list of tokens, each step a command
// name followed by its fixed number of arguments.
#pragma once

#include <string>
#include <vector>

struct StepSpec {
    const char* name;
    int argCount;
    const char* usage; // the arguments, for error messages
};

struct Step {
    const StepSpec* spec;
    std::vector<std::string> args;
};

// Every command the driver knows.
const std::vector<StepSpec>& StepSpecs();

// Splits TOKENS into steps. On failure returns false and describes the
// first problem in ERROR.
bool ParseSteps(const std::vector<std::string>& tokens, std::vector<Step>& steps, std::string& error);

// Tokens of a steps file: one token per line, so no quoting is needed; an
// empty line is an empty token; a final line break ends the last token.
std::vector<std::string> SplitStepsFile(const std::string& content);

// Text arguments spell a line break as \n and a backslash before an n as \\;
// every other backslash stands for itself, so Windows paths need no doubling.
std::string UnescapeText(const std::string& text);
