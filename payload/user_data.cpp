#include "payload/user_data.h"

#include <string.h>

bool IsUserDataName(const char* name) {
    return strstr(name, ".CSV") != nullptr;
}
