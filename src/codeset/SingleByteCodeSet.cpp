#include "codeset/SingleByteCodeSet.h"

#include <algorithm>

#include "codeset/CodeSetFileReader.h"
#include "codeset/CodeSetResult.h"
#include "codeset/EntityFlags.h"
#include "codeset/EntityWriting.h"
#include "codeset/Surrogates.h"

namespace {
// Generated text is re-mapped only when the table reaches down to the bytes it uses.
constexpr unsigned kRemapLessThan = 61;
constexpr unsigned kRemapLineEnd = 32;
constexpr unsigned kRemapQuestionMark = 64;
constexpr unsigned kRemapEntity = 127;
}  // namespace

void SingleByteCodeSet::Remap(char* out, unsigned limit) const {
    if (tableStart >= limit)
        return;
    for (; *out != 0; ++out)
        *out = static_cast<char>(remapByte[static_cast<unsigned char>(*out)]);
}

CodeSetResult SingleByteCodeSet::EncodeChar(char16_t unit, char* out, unsigned flags,
                                            bool escapeMarkup) const {
    bool entity = false;
    switch (ClassifySpecial(unit, flags, escapeMarkup)) {
        case SpecialOutcome::LessThan:
            WriteText(out, "<");
            Remap(out, kRemapLessThan);
            return CodeSetResult::Ok;
        case SpecialOutcome::Entity:
            entity = true;
            break;
        case SpecialOutcome::Ordinary:
            break;
    }
    // Half of a pair means nothing on its own: no byte and no entity stand for it.
    if (IsSurrogate(unit)) {
        WriteText(out, "?");
        Remap(out, kRemapQuestionMark);
        return CodeSetResult::NotRepresentable;
    }
    if (!entity) {
        if (unit == 0x0001 && (flags & MarkerAsLessThan)) {
            WriteText(out, "<");
            Remap(out, kRemapLessThan);
            return CodeSetResult::Ok;
        }
        if (unit < tableStart) {
            out[0] = static_cast<char>(unit);
            out[1] = 0;
            return CodeSetResult::Ok;
        }
        if (unit == 0x2028) {
            WriteText(out, "\r\n");
            Remap(out, kRemapLineEnd);
            return CodeSetResult::Ok;
        }
        if (std::uint32_t code = encodeIndex.Find(unit)) {
            out[0] = static_cast<char>(code & 0xFF);
            out[1] = 0;
            return CodeSetResult::Ok;
        }
    }
    if (WriteEntity(unit, out, flags, true)) {
        Remap(out, kRemapEntity);
        return CodeSetResult::Ok;
    }
    WriteText(out, "?");
    Remap(out, kRemapQuestionMark);
    return CodeSetResult::NotRepresentable;
}

CodeSetResult SingleByteCodeSet::EncodeCodePoint(char32_t codePoint, char* out, unsigned flags,
                                                 bool escapeMarkup) const {
    const CodeSetResult result = CodeSet::EncodeCodePoint(codePoint, out, flags, escapeMarkup);
    // The entity or "?" of a character above U+FFFF, re-mapped as EncodeChar does its own.
    if (codePoint > 0xFFFF)
        Remap(out, result == CodeSetResult::Ok ? kRemapEntity : kRemapQuestionMark);
    return result;
}

CodeSetResult SingleByteCodeSet::ReadEntityChar(const unsigned char* text, std::size_t& position,
                                                unsigned char& out) const {
    const unsigned char b = text[position];
    if (b == 0)
        return CodeSetResult::BadEntity;
    ++position;
    char16_t value = b;
    if (tableStart < 127 && b >= tableStart)
        value = byteValue[b];
    out = static_cast<unsigned char>(value & 0xFF);
    // The whole entry counts: an entry U+0141 is not the letter A.
    return value < 127 ? CodeSetResult::Ok : CodeSetResult::BadEntity;
}

CodeSetResult SingleByteCodeSet::DecodeCharRaw(const unsigned char* text, char16_t& ch,
                                               std::size_t& consumed, bool& isEntity,
                                               unsigned) const {
    isEntity = false;
    ch = 0xFFFD;
    consumed = 1;
    if (!text)
        return CodeSetResult::Ok;
    ch = byteValue[text[0]];
    return CodeSetResult::Ok;
}

CodeSetResult SingleByteCodeSet::DecodeChar(const unsigned char* text, char16_t& ch,
                                            std::size_t& consumed, bool& isEntity,
                                            unsigned flags) const {
    isEntity = false;
    ch = 0xFFFD;
    consumed = 1;
    if (!text)
        return CodeSetResult::Ok;
    const unsigned char b = text[0];
    const char16_t mapped = byteValue[b];
    // With a table that starts in the ASCII range, a mapped ampersand starts an entity; with
    // one that starts above it, only the ASCII byte itself does.
    const bool ascii = tableStart < 127 ? mapped < 127 : b < 127;
    if (ascii && (flags & NamedEntities) && mapped == u'&') {
        isEntity = true;
        return ParseEntity(text, ch, consumed);
    }
    ch = mapped;
    return CodeSetResult::Ok;
}

void SingleByteCodeSet::Reset() {
    tableStart = 0;
    singleCount = 0;
    singleTable.clear();
    BuildIndexes();
}

void SingleByteCodeSet::BuildIndexes() {
    for (unsigned b = 0; b < 256; ++b) {
        const std::size_t index = b - tableStart;
        byteValue[b] = b < tableStart               ? static_cast<char16_t>(b)
                       : index < singleTable.size() ? singleTable[index]
                                                    : char16_t(0xFFFF);
        remapByte[b] = static_cast<std::uint8_t>(b);
    }
    std::array<bool, 256> remapped{};
    encodeIndex.Clear();
    // Entries past byte 0xFF stand for no byte.
    const std::size_t entries = std::min<std::size_t>(singleTable.size(), 256u - tableStart);
    for (std::size_t i = 0; i < entries; ++i) {
        const auto byte = static_cast<std::uint8_t>(tableStart + i);
        const char16_t entry = singleTable[i];
        if (IsEncodable(entry))
            encodeIndex.AddIfAbsent(entry, ReverseIndex::kSingle | byte);
        if (entry < 256 && !remapped[entry]) {
            remapped[entry] = true;
            remapByte[entry] = byte;
        }
    }
    BuildBulkTables();
}

CodeSetResult SingleByteCodeSet::ReadTables(std::FILE* file) {
    Reset();
    std::uint8_t start = 0;
    std::uint64_t left = 0;
    if (!ReadUint8(file, start) || !BytesLeft(file, left))
        return CodeSetResult::Truncated;
    // The entry count is what the file holds; a last odd byte is ignored.
    const std::uint64_t count = left / 2;
    if (count > 0x7FFFFFFF)
        return CodeSetResult::Truncated;
    std::vector<char16_t> table(static_cast<std::size_t>(count));
    if (!ReadUint16Array(file, table.data(), table.size()))
        return CodeSetResult::Truncated;
    tableStart = start;
    singleCount = static_cast<std::int32_t>(count);
    singleTable.swap(table);
    BuildIndexes();
    return CodeSetResult::Ok;
}

void SingleByteCodeSet::Dump(std::FILE* stream) const {
    std::fprintf(stream, "Start of the table = %d\n", static_cast<int>(tableStart));
    std::fprintf(stream, "Number of entries = %d\n", static_cast<int>(singleCount));
    std::fputs("Undefined values =", stream);
    int written = 0;
    for (std::int32_t i = 0; i < singleCount; ++i) {
        if (singleTable[static_cast<std::size_t>(i)] != 0xFFFF)
            continue;
        if (written % 12 == 0)
            std::fputs("\n    ", stream);
        std::fprintf(stream, "0x%02x ", static_cast<int>(tableStart + i));
        ++written;
    }
    if (written == 0)
        std::fputs("None", stream);
}
