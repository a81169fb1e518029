// A product with no files, so that the runtime's tests need no payload.
#include "state/product.h"

static PayloadRecord NoRows[] = {{nullptr, nullptr, 0, {0, 0}}};

[[maybe_unused]] static const bool ProductSet =
    (InstallManifest = ProductTexts{"Quillmere", "0.7", "C:\\Pellbrook\\Quillmere", "Pellbrook",
                                    "A test product\nby Pellbrook\nLantry, Ohio"},
     FileTable = NoRows, true);
