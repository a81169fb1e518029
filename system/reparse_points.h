// Links and junctions (reparse points): the installer never creates a file
// or folder through one, since it could land outside the folder chosen.
#pragma once

// The error a refused link or junction is reported with.
enum { LinkRefusedError = 4395 };  // ERROR_REPARSE_POINT_ENCOUNTERED

// True when the path exists as a link or junction.
bool IsLink(const char* path);

// Ends with the fatal report of the step (AbortWithLastError's format and
// detail, with LinkRefusedError) when the path exists as a link or junction.
void RefuseLink(const char* path, int code, const char* format, const char* detail = nullptr);
