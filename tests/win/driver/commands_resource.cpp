// Steps that change an executable before it is started.
#include "tests/win/driver/commands.h"
#include "tests/win/driver/resource_file.h"

bool StepPatchResource(const Step& step, std::string& error)
{
    return PatchResource(step.args[0], step.args[1], step.args[2], step.args[3], error);
}
