// The driver's step language: a flat list of tokens, each step a command
// name followed by its fixed number of arguments. Each step returns true on
// success; on failure it returns false with one line in ERROR saying what was
// expected and what was found.
#pragma once

#include <string>
#include <vector>

struct Step;
using StepFunction = bool (*)(const Step& step, std::string& error);

struct StepKind {
    const char* name;
    int argCount;
    const char* usage;  // the arguments, for error messages
    StepFunction run;
};

struct Step {
    const StepKind* kind;
    std::vector<std::string> args;
};

// Splits TOKENS into steps; on failure describes the first problem in ERROR.
bool ParseSteps(const std::vector<std::string>& tokens, std::vector<Step>& steps, std::string& error);

// Tokens of a steps file: one token per line, so no quoting is needed; an
// empty line is an empty token; a final line break ends the last token.
std::vector<std::string> SplitStepsFile(const std::string& content);

// Text arguments spell a line break as \n and a backslash before an n as \\;
// every other backslash stands for itself, so Windows paths need no doubling.
std::string UnescapeText(const std::string& text);

bool IntArg(const Step& step, int index, long& value, std::string& error);

// commands_process.cpp
bool StepStart(const Step&, std::string&);
bool StepWaitExit(const Step&, std::string&);
bool StepExpectRunning(const Step&, std::string&);
bool StepShot(const Step&, std::string&);
bool StepSleep(const Step&, std::string&);
bool StepWaitIdle(const Step&, std::string&);
bool StepPatchResource(const Step&, std::string&);
// Asks the runner for a screenshot NAME and waits for its answer.
bool RequestShot(const std::string& name, std::string& error);
// commands_window.cpp
bool StepWaitWindow(const Step&, std::string&);
bool StepExpectChildren(const Step&, std::string&);
bool StepProperty(const Step&, std::string&);  // expect-/wait- text, class, visible, enabled
bool StepClick(const Step&, std::string&);
bool StepSendCommand(const Step&, std::string&);
bool StepClose(const Step&, std::string&);
bool StepNudge(const Step&, std::string&);
// commands_layout.cpp
bool StepCheckLayout(const Step&, std::string&);
// commands_dialogs.cpp
bool StepWaitFatal(const Step&, std::string&);
bool StepBrowse(const Step&, std::string&);
// commands_files.cpp
bool StepFileTimes(const Step&, std::string&);
