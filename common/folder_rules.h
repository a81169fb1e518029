// The rules a target folder must meet, on a plain text buffer.
// Portable: no Win32, so it is tested natively.
#pragma once

// Checks a target folder and normalises it in place: a lower-case drive
// letter is upper-cased first (even when the text then fails) and one
// trailing backslash is removed. Accepted: a drive C to Z, a colon, a
// backslash and at least one more character; one colon in all; no two
// backslashes in a row. 1 valid, 0 refused.
int ValidateFolderText(char* folder);

// Where MakeFolder cuts a path to reach its parent: the index of the last
// backslash at index 3 or later, or -1 when the path has no parent to make
// (the backslash after the drive colon is never a split point).
int ParentSplitPoint(const char* path);

// File attributes as the system reports them: no attributes at all for a
// path that does not exist, and this bit for a link or junction.
enum : unsigned long { NoSuchPath = 0xFFFFFFFFul, ReparsePointAttribute = 0x400ul };
typedef unsigned long (*AttributeQuery)(const char* path);

// True for the attributes of an existing link or junction.
bool IsLinkAttributes(unsigned long attributes);

// True when the path or one of the parents MakeFolder would create (every
// level below the drive) exists as a link or junction: writing there could
// land outside the folder the user chose. The buffer is cut and restored.
bool PathCrossesLink(char* path, AttributeQuery attributesOf);
