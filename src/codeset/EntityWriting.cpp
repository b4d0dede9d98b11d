#include "codeset/EntityWriting.h"

#include <cstdio>

#include "codeset/CodeSet.h"
#include "codeset/EntityFlags.h"
#include "codeset/EntityTable.h"

namespace {
constexpr unsigned kAnyForm = NamedEntities | HexEntities | DecimalEntities;
}

SpecialOutcome ClassifySpecial(char16_t unit, unsigned flags, bool escapeMarkup) {
    if ((flags & kAnyForm) == 0)
        return SpecialOutcome::Ordinary;
    if (unit == 0x0001 && (flags & EscapeLessThan))
        return SpecialOutcome::LessThan;
    if (unit == u'&')
        return SpecialOutcome::Entity;
    if (unit == u'<' && escapeMarkup && (flags & (EscapeLessThan | EscapeQuotes))) {
        return SpecialOutcome::Entity;
    }
    if ((unit == u'"' || unit == u'\'') && escapeMarkup && (flags & EscapeQuotes)) {
        return SpecialOutcome::Entity;
    }
    return SpecialOutcome::Ordinary;
}

bool WriteEntity(char32_t unit, char* out, unsigned flags, bool decimalFirstAllowed) {
    const long value = static_cast<long>(unit);
    if (decimalFirstAllowed && (flags & DecimalFirst)) {
        std::snprintf(out, CodeSet::kCharBufferSize, "&#%ld;", value);
        return true;
    }
    if ((flags & NamedEntities) && unit <= 0xFFFF) {
        // Names longer than kMaxNameLength never enter the table, so this always fits.
        if (const char* name = EntityTable::Global().FindEntityName(static_cast<char16_t>(unit))) {
            std::snprintf(out, CodeSet::kCharBufferSize, "&%s;", name);
            return true;
        }
    }
    if (flags & DecimalEntities) {
        std::snprintf(out, CodeSet::kCharBufferSize, "&#%ld;", value);
        return true;
    }
    if (flags & HexEntities) {
        std::snprintf(out, CodeSet::kCharBufferSize, "&#x%lx;", static_cast<unsigned long>(value));
        return true;
    }
    return false;
}

bool WriteEntityWide(char16_t unit, char16_t* out, unsigned flags) {
    char narrow[CodeSet::kCharBufferSize];
    const long value = static_cast<long>(unit);
    const char* name = nullptr;
    if ((flags & NamedEntities) && (name = EntityTable::Global().FindEntityName(unit)) != nullptr) {
        std::snprintf(narrow, sizeof(narrow), "&%s;", name);
    } else if (flags & DecimalEntities) {
        std::snprintf(narrow, sizeof(narrow), "&#%ld;", value);
    } else if (flags & HexEntities) {
        std::snprintf(narrow, sizeof(narrow), "&#x%lx;", static_cast<unsigned long>(value));
    } else {
        return false;
    }
    std::size_t i = 0;
    for (; narrow[i] != 0; ++i)
        out[i] = static_cast<unsigned char>(narrow[i]);
    out[i] = 0;
    return true;
}

void WriteText(char* out, const char* text) {
    std::size_t i = 0;
    for (; text[i] != 0 && i + 1 < CodeSet::kCharBufferSize; ++i)
        out[i] = text[i];
    out[i] = 0;
}
