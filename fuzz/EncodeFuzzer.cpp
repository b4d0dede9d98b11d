// Arbitrary UTF-16 units (lone surrogates, U+0000, U+FFFF included) with arbitrary entity
// flags, encoded one by one and as a whole text, and written as a Rich Text Format document.
#include <cstdint>

#include "FuzzConversion.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    UseShippedData();
    FuzzCodeSets();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4)
        return 0;
    const auto languageId = static_cast<std::uint16_t>(data[2] | (data[3] << 8));
    CheckEncoding(PickCodeSet(data[0]), UnitsFromBytes(data + 4, size - 4), FlagsFromByte(data[1]),
                  languageId);
    return 0;
}
