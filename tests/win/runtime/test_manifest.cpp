// A product with no files, so that the runtime's tests need no payload.
#include "app/manifest.h"

const ProductTexts InstallManifest = {
    "Quillmere", "0.7", "C:\\Pellbrook\\Quillmere", "Pellbrook", "A test product\nby Pellbrook\nLantry, Ohio",
};

PayloadRecord FileTable[] = {
    {nullptr, nullptr, 0, {0, 0}},
};
