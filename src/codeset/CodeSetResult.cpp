#include "codeset/CodeSetResult.h"

#include <ostream>

const char* CodeSetResultName(CodeSetResult result) {
    switch (result) {
        case CodeSetResult::Ok:
            return "success";
        case CodeSetResult::NotSupported:
            return "CodeSetNotSupported";
        case CodeSetResult::OpenFailed:
            return "CodeSetOpenFailed";
        case CodeSetResult::BadMagicLength:
            return "CodeSetBadMagicLength";
        case CodeSetResult::BadMagic:
            return "CodeSetBadMagic";
        case CodeSetResult::BadKind:
            return "CodeSetBadKind";
        case CodeSetResult::Truncated:
            return "CodeSetTruncated";
        case CodeSetResult::Undefined:
            return "CodeSetUndefined";
        case CodeSetResult::NotRepresentable:
            return "CodeSetNotRepresentable";
        case CodeSetResult::OutOfRange:
            return "CodeSetOutOfRange";
        case CodeSetResult::BadEntity:
            return "CodeSetBadEntity";
        default:
            return "unknown";
    }
}

std::ostream& operator<<(std::ostream& stream, CodeSetResult result) {
    return stream << CodeSetResultNumber(result) << ' ' << CodeSetResultName(result);
}
