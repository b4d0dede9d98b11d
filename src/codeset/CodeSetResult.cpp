#include "codeset/CodeSetResult.h"

const char* CodeSetResultName(int result) {
    switch (result) {
        case CodeSetOk:
            return "success";
        case CodeSetNotSupported:
            return "CodeSetNotSupported";
        case CodeSetOpenFailed:
            return "CodeSetOpenFailed";
        case CodeSetBadMagicLength:
            return "CodeSetBadMagicLength";
        case CodeSetBadMagic:
            return "CodeSetBadMagic";
        case CodeSetBadKind:
            return "CodeSetBadKind";
        case CodeSetTruncated:
            return "CodeSetTruncated";
        case CodeSetUndefined:
            return "CodeSetUndefined";
        case CodeSetNotRepresentable:
            return "CodeSetNotRepresentable";
        case CodeSetOutOfRange:
            return "CodeSetOutOfRange";
        case CodeSetBadEntity:
            return "CodeSetBadEntity";
        default:
            return "unknown";
    }
}
