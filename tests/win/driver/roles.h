// The installer's windows by role, in the order they are created. The driver
// addresses a child by its role name; the n-th child of "MAIN" in creation
// order has the n-th role.
#pragma once

enum { ChildRoleCount = 13 };

extern const char* const ChildRoleNames[ChildRoleCount];

// Index of a child role by name (case-sensitive), or -1.
int ChildRoleIndex(const char* name);

// Numeric control ID for IDC_INSTALL, IDC_SELECT, IDC_EXIT or a number
// (decimal or 0x hex); -1 when the text is neither.
long ParseControlId(const char* text);
