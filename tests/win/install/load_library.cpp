// load_library NAME: loads a DLL by its bare name with the ordinary search
// order, the way a program that takes no precautions would.
#include <windows.h>

#include <stdio.h>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    HMODULE module = LoadLibraryA(argv[1]);
    printf("%s %s\n", argv[1], module ? "loaded" : "not loaded");
    return module ? 0 : 1;
}
