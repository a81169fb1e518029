// What the GUI driver does for one install under `mkinstaller verify`.
#pragma once

#include <string>
#include <vector>

// The driver's steps (tokens) for an install through the window as a user
// makes it: start-up, the folder prompt, the folder browser when CHOSEN_FOLDER
// is given, "install in this folder", the success text, Exit and exit code 0;
// then the times Windows reports for each of NAMES in FOLDER. A screenshot
// of each state is named N-STATE. Texts are Windows-1252.
std::vector<std::string> InstallSteps(const std::string& folder, bool chosenFolder,
                                      const std::vector<std::string>& names);
