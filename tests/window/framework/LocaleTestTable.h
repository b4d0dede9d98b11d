#pragma once

#include <cstring>
#include <string>

#include "locale/LocaleTable.h"

// A small locale table for the window tests, written in an order that is not sorted.
inline void AddLocale(LocaleTable& table, const char* code, const char* three,
                      const std::string& name, int languageId, const char* codeSet,
                      const char* flag, const char* tag, int listingMark = 0) {
    LocaleEntry entry;
    std::strncpy(entry.code, code, sizeof entry.code - 1);
    std::strncpy(entry.threeLetterCode, three, sizeof entry.threeLetterCode - 1);
    entry.displayName = name;
    entry.languageId = languageId;
    entry.codeSetName = codeSet;
    entry.flagName = flag;
    entry.tag = tag;
    entry.listingMark = listingMark;
    table.entries.push_back(entry);
    table.count = static_cast<std::int32_t>(table.entries.size());
}

inline void FillTestTable(LocaleTable& table) {
    AddLocale(table, "EN-US", "ENU", "English (United States)", 0x0409, "windows-1252", "FLG_US",
              "en-US");
    AddLocale(table, "DE-DE", "DEU", "German (Germany)", 0x0407, "windows-1252", "FLG_DE", "de-DE");
    AddLocale(table, "RU-RU", "RUS", "russian", 0x0419, "windows-1251", "FLG_RU", "ru-RU");
    AddLocale(table, "EN-GB", "ENG", "English (United Kingdom)", 0x0809, "windows-1252", "FLG_GB",
              "en-GB");
    AddLocale(table, "ZU-ZA", "ZUL", "Zulu (hidden)", 0x0435, "windows-1252", "FLG_ZA", "zu-ZA", 1);
    AddLocale(table, "CY-GB", "CYM", "Welsh", 0x0452, "windows-1252", "FLG_NOPE", "cy-GB");
}
