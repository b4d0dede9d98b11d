#include "locale/LocaleTable.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "codeset/DataDirectory.h"
#include "platform/OpenStdioFile.h"
#include "platform/ScopedFile.h"

namespace {

// Lines are handled in pieces of at most this many characters, as a 1024-byte line buffer
// would hold them.
constexpr std::size_t kLinePiece = 1023;

// Reads one line piece including its line end, if it has one within the piece. CR LF is
// read as one LF on every platform, so a file written on Windows reads the same here.
// A NUL ends the text of the piece, as it would in a C string.
bool ReadLinePiece(std::FILE* file, std::string& line) {
    line.clear();
    while (line.size() < kLinePiece) {
        int c = std::getc(file);
        if (c == EOF)
            break;
        if (c == '\r') {
            int next = std::getc(file);
            if (next == '\n') {
                c = '\n';
            } else if (next != EOF) {
                std::ungetc(next, file);
            }
        }
        line += static_cast<char>(c);
        if (c == '\n')
            break;
    }
    if (line.empty())
        return false;
    std::size_t nul = line.find('\0');
    if (nul != std::string::npos)
        line.erase(nul);
    return true;
}

void CutAtComment(std::string& line) {
    std::size_t semicolon = line.find(';');
    if (semicolon != std::string::npos)
        line.erase(semicolon);
}

bool IsCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Leading decimal integer as atoi/strtol read it, held to the 32-bit range so that the
// result doesn't depend on the width of long.
std::int32_t LeadingInteger(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && IsCSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value <= 2147483648LL)
            value = value * 10 + (text[i] - '0');
    }
    if (negative)
        value = -value;
    if (value > 2147483647LL)
        return 2147483647;
    if (value < -2147483648LL)
        return -2147483647 - 1;
    return static_cast<std::int32_t>(value);
}

// Fields between '|' separators; runs of separators and separators at either end yield
// no empty fields.
std::vector<std::string> SplitFields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t pos = 0;
    while (pos < line.size()) {
        std::size_t start = line.find_first_not_of('|', pos);
        if (start == std::string::npos)
            break;
        std::size_t end = line.find('|', start);
        if (end == std::string::npos)
            end = line.size();
        fields.push_back(line.substr(start, end - start));
        pos = end;
    }
    return fields;
}

template <std::size_t N>
void CopyCode(char (&target)[N], const std::string& field) {
    std::size_t n = field.size() < N - 1 ? field.size() : N - 1;
    std::memcpy(target, field.data(), n);
    target[n] = '\0';
}

std::string AsciiUpper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

std::string AsciiLower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

bool EqualIgnoringAsciiCase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        char x = *a >= 'a' && *a <= 'z' ? static_cast<char>(*a - 'a' + 'A') : *a;
        char y = *b >= 'a' && *b <= 'z' ? static_cast<char>(*b - 'a' + 'A') : *b;
        if (x != y)
            return false;
        if (x == '\0')
            return true;
    }
}

// Stores the fields of one entry line; false when the line has fewer than nine.
bool StoreFields(LocaleEntry& entry, const std::vector<std::string>& fields) {
    for (std::size_t i = 0; i < 9; ++i) {
        if (i >= fields.size())
            return false;
        const std::string& field = fields[i];
        switch (i) {
            case 0:
                CopyCode(entry.code, field);
                break;
            case 1:
                CopyCode(entry.twoLetterCode, field);
                break;
            case 2:
                CopyCode(entry.threeLetterCode, field);
                break;
            case 3:
                entry.listingMark = LeadingInteger(field);
                break;
            case 4:
                entry.displayName = field;
                break;
            case 5:
                entry.languageId = LeadingInteger(field);
                break;
            case 6:
                entry.codeSetName = field;
                break;
            case 7:
                entry.flagName = AsciiUpper(field);
                break;
            case 8:
                entry.tag = AsciiLower(field);
                break;
        }
    }
    return true;
}

}  // namespace

void LocaleTable::Load() {
    std::string path = GetDataDirectory() + "Locales.def";
    ScopedFile opened(OpenStdioFile(path, "rb"));
    if (!opened)
        return;
    std::FILE* file = opened.get();
    entries.clear();
    count = 0;

    std::string line;
    bool haveCountLine = false;
    while (ReadLinePiece(file, line)) {
        if (line[0] == ';' || line[0] == ':')
            continue;
        haveCountLine = true;
        break;
    }
    if (haveCountLine) {
        CutAtComment(line);
        std::int32_t stated = LeadingInteger(line);
        // The file's count is not trusted with the allocation size.
        if (stated < 0)
            stated = 0;
        if (stated > kMaxEntries)
            stated = kMaxEntries;
        count = stated;
        entries.assign(static_cast<std::size_t>(count), LocaleEntry());

        std::int32_t number = -1;
        while (ReadLinePiece(file, line)) {
            if (line[0] == ';')
                continue;
            CutAtComment(line);
            if (!line.empty() && line.back() == '\n')
                line.pop_back();
            ++number;
            if (number > count - 1)
                break;
            if (!StoreFields(entries[static_cast<std::size_t>(number)], SplitFields(line)))
                break;
        }
    }
}

const char* LocaleTable::GetCode(std::int32_t index) const {
    return Inside(index) ? entries[index].code : nullptr;
}

const char* LocaleTable::GetThreeLetterCode(std::int32_t index) const {
    return Inside(index) ? entries[index].threeLetterCode : nullptr;
}

const char* LocaleTable::GetDisplayName(std::int32_t index) const {
    return Inside(index) ? entries[index].displayName.c_str() : nullptr;
}

std::int32_t LocaleTable::GetLanguageId(std::int32_t index) const {
    return Inside(index) ? entries[index].languageId : -1;
}

const char* LocaleTable::GetCodeSetName(std::int32_t index) const {
    return Inside(index) ? entries[index].codeSetName.c_str() : nullptr;
}

const char* LocaleTable::GetTag(std::int32_t index) const {
    return Inside(index) ? entries[index].tag.c_str() : nullptr;
}

const char* LocaleTable::GetFlagName(std::int32_t index) const {
    return Inside(index) ? entries[index].flagName.c_str() : "FLG_XX";
}

bool LocaleTable::IsListed(std::int32_t index) const {
    if (listAll)
        return true;
    return Inside(index) && entries[index].listingMark == 0;
}

void LocaleTable::SetFlagImage(std::int32_t index, std::int32_t image) {
    if (Inside(index))
        entries[index].flagImage = image;
}

std::int32_t LocaleTable::GetFlagImage(std::int32_t index) const {
    return Inside(index) ? entries[index].flagImage : -1;
}

const char* LocaleTable::FindCodeByLanguageId(std::int32_t languageId) const {
    for (std::int32_t i = 0; i < count; ++i) {
        if (entries[i].languageId == languageId)
            return entries[i].code;
    }
    return nullptr;
}

const char* LocaleTable::FindDisplayNameByCode(const char* code) const {
    if (!code)
        return nullptr;
    for (std::int32_t i = 0; i < count; ++i) {
        if (EqualIgnoringAsciiCase(entries[i].code, code))
            return entries[i].displayName.c_str();
    }
    return nullptr;
}

LocaleTable& ProgramLocaleTable() {
    static LocaleTable table;
    return table;
}
