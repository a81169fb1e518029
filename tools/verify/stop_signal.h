// How `mkinstaller verify` stops on SIGINT, SIGTERM or SIGHUP. Its clean-up
// (ending Wine, the display, a prefix of a gigabyte) is too much for a signal
// handler, so the handler only notes the signal and ends the child being
// waited for; every wait then returns, the command cleans up as after any
// failure, and ends by the same signal.
#pragma once

#include <sys/types.h>

// Installs the handlers; a signal ignored from the start (nohup) stays ignored.
void StopOnSignals();

// The signal that asked to stop, 0 for none.
int StopSignal();

// The process group ended when a signal arrives (its leader's pid), 0 for none.
void SetInterruptibleChild(pid_t group);

// Ends the process by the signal that asked to stop, if one did.
void EndByStopSignal();
