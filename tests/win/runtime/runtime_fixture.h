// The installer's window built once per test program, as start-up builds it
// up to the layout, with this program's own resources (logo, sample bytes).
#pragma once

#include <windows.h>

// Registers the classes, creates the fourteen windows and lays them out the
// first time it is called; later calls do nothing.
void BuildInstallerWindow();

// Processes every waiting message of this thread.
void DrainMessages();
