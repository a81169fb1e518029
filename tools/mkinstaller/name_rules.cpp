#include "tools/mkinstaller/name_rules.h"

#include "common/name_rules.h"

std::string FileNameProblem(std::string_view name) {
    char character = 0;
    switch (CheckFileName(name.data(), name.size(), &character)) {
        case FileNameUsable:
            return {};
        case FileNameEmpty:
            return "is empty";
        case FileNameControl:
            return "contains a control character";
        case FileNameFolder:
            return std::string("contains '") + character + "' (a name may not hold a folder)";
        case FileNameColon:
            return "contains ':' (a drive or stream separator)";
        case FileNameForbidden:
            return std::string("contains '") + character + "', which Windows file names may not hold";
        case FileNameDotDot:
            return "contains '..'";
        case FileNameTrailingDot:
            return "ends with a dot, which Windows drops from file names";
        case FileNameTrailingSpace:
            return "ends with a space, which Windows drops from file names";
        case FileNameDevice:
            return "is a reserved device name";
    }
    return "breaks a rule of Windows file names";
}
