// The command line of `mkinstaller verify`.
#pragma once

#include <CLI/CLI.hpp>

#include "tools/mkinstaller/verify_command.h"

// Adds the subcommand "verify" to APP, filling OPTIONS when it is given.
CLI::App* AddVerifyCommand(CLI::App& app, VerifyOptions& options);
