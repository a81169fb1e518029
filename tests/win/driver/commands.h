// The driver's steps. Each returns true on success; on failure it returns
// false with one line in ERROR saying what was expected and what was found.
#pragma once

#include "tests/win/driver/steps.h"

#include <string>

using StepFunction = bool (*)(const Step& step, std::string& error);

// The function of a step by its name, or null.
StepFunction FindStepFunction(const char* name);

// Argument helpers shared by the step files.
bool IntArg(const Step& step, int index, long& value, std::string& error);
bool FlagArg(const Step& step, int index, bool& value, std::string& error);

bool StepStart(const Step&, std::string&);
bool StepWaitExit(const Step&, std::string&);
bool StepExpectRunning(const Step&, std::string&);
bool StepShot(const Step&, std::string&);
bool StepSleep(const Step&, std::string&);
bool StepWaitIdle(const Step&, std::string&);

bool StepWaitWindow(const Step&, std::string&);
bool StepExpectChildren(const Step&, std::string&);
bool StepExpectText(const Step&, std::string&);
bool StepWaitText(const Step&, std::string&);
bool StepExpectClass(const Step&, std::string&);
bool StepExpectVisible(const Step&, std::string&);
bool StepWaitVisible(const Step&, std::string&);
bool StepExpectEnabled(const Step&, std::string&);
bool StepWaitEnabled(const Step&, std::string&);

bool StepClick(const Step&, std::string&);
bool StepSendCommand(const Step&, std::string&);
bool StepClose(const Step&, std::string&);

bool StepRects(const Step&, std::string&);
bool StepCheckLayout(const Step&, std::string&);

bool StepWaitFatal(const Step&, std::string&);
bool StepBrowse(const Step&, std::string&);

bool StepPatchResource(const Step&, std::string&);
