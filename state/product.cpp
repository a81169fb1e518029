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
const bool* KeepExistingRows;

void ReadProductRecord() {
    ResourceBytes resource = GetResource(PRODUCT_RECORD_NAME, ProductRecordType);
    ProductRecordView view;
    if (!ParseProductRecord(reinterpret_cast<const char*>(resource.bytes), resource.size, &view)) {
        Abort(FatalDamagedPayload, "can't decode resource %s", PRODUCT_RECORD_NAME);
    }
    // One block: the table with its terminator, then a flag per row.
    const size_t tableSize = (view.rows + 1) * sizeof(PayloadRecord);
    PayloadRecord* rows = static_cast<PayloadRecord*>(calloc(1, tableSize + view.rows));
    if (!rows) Abort(FatalPayloadMemory, "not enough memory for resource %s", PRODUCT_RECORD_NAME);
    bool* keep = reinterpret_cast<bool*>(reinterpret_cast<char*>(rows) + tableSize);
    const char* stored = view.firstName;
    for (unsigned i = 0; i < view.rows; ++i) {
        const ProductRow row = ReadProductRow(&stored);
        rows[i].name = row.name;
        keep[i] = row.keepExisting;
    }
    InstallManifest = ProductTexts{view.texts[0], view.texts[1], view.texts[2], view.texts[3], view.texts[4]};
    FileTable = rows;
    KeepExistingRows = keep;
}
