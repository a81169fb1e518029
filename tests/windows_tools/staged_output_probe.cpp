// Stands in for a tool caught while writing an output: stages TARGET,
// then waits to be interrupted (interrupt_leaves_no_temporary.sh).
#include <windows.h>

#include "tools/common/interrupt_cleanup.h"
#include "tools/common/staged_file.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    platform::InstallInterruptCleanup(platform::BrokenPipe::Default);
    platform::StagedFile output;
    if (!output.Open(argv[1]) || !output.Write("staged", 6)) return 1;
    Sleep(INFINITE);
}
