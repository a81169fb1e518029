// A product with no files, so that a runtime built for tests starts up,
// shows its window and reaches the folder prompt without any payload.
#include "app/manifest.h"

const ProductTexts InstallManifest = {
    "Quillmere",
    "0.7",
    "C:\\Pellbrook\\Quillmere",
    "Pellbrook",
    "A test product\nby Pellbrook\nLantry, Ohio",
};

PayloadRecord FileTable[] = {
    {nullptr, nullptr, 0, {0, 0}},
};
