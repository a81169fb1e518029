// The product this setup program carries, read from its record resource
// once, first thing at start-up. The texts and names stay in the resource.
#include <stdlib.h>
#include <string.h>

#include "state/product.h"
#include "common/product_record.h"
#include "diag/fatal.h"
#include "diag/fatal_codes.h"

ProductTexts InstallManifest;
PayloadRecord* FileTable;

void ReadProductRecord() {
    ResourceBytes resource = GetResource(PRODUCT_RECORD_NAME, ProductRecordType);
    ProductRecordView view;
    if (!ParseProductRecord(reinterpret_cast<const char*>(resource.bytes), resource.size, &view)) {
        Abort(FatalDamagedPayload, "can't decode resource %s", PRODUCT_RECORD_NAME);
    }
    PayloadRecord* rows = static_cast<PayloadRecord*>(calloc(view.rows + 1, sizeof(PayloadRecord)));
    if (!rows) Abort(FatalPayloadMemory, "not enough memory for resource %s", PRODUCT_RECORD_NAME);
    const char* name = view.firstName;
    for (unsigned i = 0; i < view.rows; ++i) {
        rows[i].name = name;
        name += strlen(name) + 1;
    }
    InstallManifest = ProductTexts{view.texts[0], view.texts[1], view.texts[2], view.texts[3], view.texts[4]};
    FileTable = rows;
}
