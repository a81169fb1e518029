// Payload delivery: decoding every payload at start-up, writing the files
// at install time.
#pragma once

#include "state/product.h"

void UnpackPayloads();
int WriteFiles();
int WriteOneFile(const char* path, PayloadRecord row);
