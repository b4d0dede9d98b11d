// An entity name file of any content: look-ups stay inside it and every name that an encoder
// can be given fits the encoders' buffer.
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzConversion.h"
#include "FuzzSupport.h"
#include "codeset/CodeSet.h"
#include "codeset/CodeSetHolder.h"
#include "codeset/DataDirectory.h"
#include "codeset/EntityFlags.h"
#include "codeset/EntityTable.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    UseShippedData();
    FuzzCodeSets();
    SetDataDirectory(ScratchDirectory());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    WriteScratchFile("fuzz.oku", data, size);
    EntityTable& table = EntityTable::Global();
    table.Clear();
    const CodeSetResult loaded = table.LoadFile("fuzz");
    FUZZ_CHECK(loaded == (size == 0 ? CodeSetResult::NotSupported : CodeSetResult::Ok));
    FUZZ_CHECK(table.HasContent() == (loaded == CodeSetResult::Ok));

    // Every byte pair of the input as a unit: the values of the records are among them.
    std::u16string named;
    for (std::size_t i = 0; i + 1 < size; ++i) {
        const auto unit = static_cast<char16_t>((data[i] << 8) | data[i + 1]);
        const char* name = table.FindEntityName(unit);
        if (name != nullptr) {
            FUZZ_CHECK(std::strlen(name) <= EntityTable::kMaxNameLength);
            FUZZ_CHECK(std::strlen(name) >= 1);
            if (named.size() < 64)
                named.push_back(unit);
        }
    }
    // Every zero-terminated piece of the input as a name.
    std::string piece;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            table.FindEntityCode(piece.c_str());
            piece.clear();
        } else {
            piece += static_cast<char>(data[i]);
        }
    }
    table.FindEntityCode(piece.c_str());

    // The encoders write the names into their 20-byte buffers.
    if (!named.empty()) {
        named += u"&<\"'";
        const std::uint8_t pick = data[0];
        CheckEncoding(PickCodeSet(pick), named, NamedEntities | EscapeQuotes, 1033);
        // And the decoders read them back.
        std::string entities;
        for (char16_t unit : named) {
            if (const char* name = table.FindEntityName(unit))
                entities += std::string("&") + name + ";";
        }
        CheckDecoding(PickCodeSet(pick), reinterpret_cast<const std::uint8_t*>(entities.data()),
                      entities.size(), NamedEntities);
    }
    return 0;
}
