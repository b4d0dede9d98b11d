// Arbitrary bytes decoded through every kind of code set, one character at a time and as a
// whole text.
#include <cstdint>

#include "FuzzConversion.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    UseShippedData();
    FuzzCodeSets();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    CheckDecoding(PickCodeSet(data[0]), data + 2, size - 2, FlagsFromByte(data[1]));
    return 0;
}
