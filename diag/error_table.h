// The error table as written down in error_table.cpp, sorted by code. The
// build packs it for the installer (pack_error_table.cpp); only that step and
// the tests read it directly.
#pragma once

#include "diag/error_text.h"

extern const ErrorRow ErrorTable[];
extern const int ErrorTableRows;
