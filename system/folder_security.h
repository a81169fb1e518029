// The protection of the folder a program is installed into. A program that
// an administrator runs must not be replaceable by other users: a folder
// that an elevated installer creates under a drive root would otherwise
// inherit "Authenticated Users: Modify" from it.
#pragma once

#include <windows.h>

// The access of a per-machine program folder: inheritance from the parent
// blocked; SYSTEM and Administrators full control; Users read and execute.
#define PROGRAM_FOLDER_SDDL "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)"

// Sets *SECURITY to what a folder the installer creates gets: the program
// folder's when the installer runs elevated, else null (the folder inherits
// as any other does). 0 when it runs elevated and the descriptor cannot be
// built: no folder is then made unprotected.
int FolderSecurity(SECURITY_ATTRIBUTES** security);

// Enters PATH as the current folder when it is a folder and no link or
// junction, checked through a handle that does not follow one; the folder
// entered is the one checked. With PROTECTION, an existing folder gets it
// too. 0, with the last error set, when any of this fails.
int EnterFolder(const char* path, const SECURITY_ATTRIBUTES* protection);
