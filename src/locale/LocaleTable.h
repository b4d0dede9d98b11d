#pragma once

#include <cstdint>
#include <vector>

#include "locale/LocaleEntry.h"

// The locales the user can choose, read once from Locales.def in the data directory.
// Text results are views into the table, valid until the next Load or destruction; "no
// text" is a null pointer.
class LocaleTable {
public:
    // A count line can claim any number; entries are created for at most this many.
    static constexpr std::int32_t kMaxEntries = 4096;

    LocaleTable() = default;
    LocaleTable(const LocaleTable&) = delete;
    LocaleTable& operator=(const LocaleTable&) = delete;

    void Load();

    std::int32_t GetCount() const { return count; }
    const char* GetCode(std::int32_t index) const;
    const char* GetThreeLetterCode(std::int32_t index) const;
    const char* GetDisplayName(std::int32_t index) const;
    std::int32_t GetLanguageId(std::int32_t index) const;
    const char* GetCodeSetName(std::int32_t index) const;
    const char* GetTag(std::int32_t index) const;
    const char* GetFlagName(std::int32_t index) const;
    bool IsListed(std::int32_t index) const;
    void SetFlagImage(std::int32_t index, std::int32_t image);
    std::int32_t GetFlagImage(std::int32_t index) const;

    const char* FindCodeByLanguageId(std::int32_t languageId) const;
    const char* FindDisplayNameByCode(const char* code) const;

    std::vector<LocaleEntry> entries;
    std::int32_t count = 0;
    bool listAll = true;
    bool showFlags = true;

private:
    bool Inside(std::int32_t index) const { return index >= 0 && index < count; }
};

// The program's one table, loaded by start-up.
LocaleTable& ProgramLocaleTable();
