// A Locales.def of any content: the table holds what could be read, every operation stays
// inside it, and the count the file claims never decides an allocation on its own.
#include <cstdint>
#include <cstring>

#include "FuzzSupport.h"
#include "codeset/DataDirectory.h"
#include "locale/LocaleTable.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    SetDataDirectory(ScratchDirectory());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    WriteScratchFile("Locales.def", data, size);
    LocaleTable table;
    table.Load();
    // A second load releases the first one's entries.
    if (size % 3 == 0)
        table.Load();
    const std::int32_t count = table.GetCount();
    FUZZ_CHECK(count >= 0 && count <= LocaleTable::kMaxEntries);
    FUZZ_CHECK(table.entries.size() >= static_cast<std::size_t>(count));
    table.listAll = (size & 1) != 0;
    // The first entries, the last ones and the indices just outside the table.
    for (std::int32_t i = -1; i <= count; i = (i == 32 && count > 64) ? count - 32 : i + 1) {
        const bool inside = i >= 0 && i < count;
        const char* code = table.GetCode(i);
        FUZZ_CHECK((code != nullptr) == inside);
        if (code != nullptr) {
            FUZZ_CHECK(std::strlen(code) <= 6);
            FUZZ_CHECK(std::strlen(table.GetThreeLetterCode(i)) <= 3);
            FUZZ_CHECK(std::strlen(table.entries[i].twoLetterCode) <= 2);
            FUZZ_CHECK(table.FindDisplayNameByCode(code) != nullptr);
            FUZZ_CHECK(table.FindCodeByLanguageId(table.GetLanguageId(i)) != nullptr);
        }
        FUZZ_CHECK((table.GetDisplayName(i) != nullptr) == inside);
        FUZZ_CHECK((table.GetCodeSetName(i) != nullptr) == inside);
        FUZZ_CHECK((table.GetTag(i) != nullptr) == inside);
        FUZZ_CHECK(table.GetFlagName(i) != nullptr);
        table.IsListed(i);
        table.SetFlagImage(i, i);
        FUZZ_CHECK(table.GetFlagImage(i) == (inside ? i : -1));
    }
    table.FindDisplayNameByCode(reinterpret_cast<const char*>(table.GetFlagName(0)));
    return 0;
}
