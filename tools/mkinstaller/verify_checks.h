// What `mkinstaller verify` compares after an install, on the Unix side:
// each file's bytes with its source, the times Windows reported with the
// stored time, and both links. Every difference is one line.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tools/mkinstaller/manifest.h"
#include "tools/verify/driver_session.h"

using Differences = std::vector<std::string>;

// The installed files in UNIX_FOLDER against the manifest's rows; TIMES as
// the driver reported them (a row it did not reach is not compared).
void CheckFiles(const ProductManifest& manifest, const std::string& unixFolder,
                const std::map<std::string, ReportedTimes>& times, Differences& differences);

// The desktop and Start-menu links under the profile PROFILE (Unix path),
// pointing at the program in FOLDER (Windows-1252).
void CheckLinks(const ProductManifest& manifest, const std::string& folder, const std::string& profile,
                Differences& differences);

// The Unix paths of the two links under PROFILE.
std::vector<std::string> LinkPaths(const ProductManifest& manifest, const std::string& profile);
