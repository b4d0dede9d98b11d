#include "codeset/DoubleByteCodeSet.h"

#include <algorithm>

#include "codeset/CodeSetFileReader.h"
#include "codeset/CodeSetResult.h"
#include "codeset/EntityFlags.h"
#include "codeset/EntityWriting.h"
#include "codeset/Surrogates.h"

DoubleByteCodeSet::DoubleByteCodeSet() {
    BuildIndexes();
}

CodeSetResult DoubleByteCodeSet::EncodeChar(char16_t unit, char* out, unsigned flags,
                                            bool escapeMarkup) const {
    if (unit < tableStart) {
        switch (ClassifySpecial(unit, flags, escapeMarkup)) {
            case SpecialOutcome::LessThan:
                WriteText(out, "<");
                return CodeSetResult::Ok;
            case SpecialOutcome::Entity:
                if (WriteEntity(unit, out, flags, true))
                    return CodeSetResult::Ok;
                WriteText(out, "?");
                return CodeSetResult::NotRepresentable;
            case SpecialOutcome::Ordinary:
                break;
        }
        out[0] = (unit == 0x0001 && (flags & MarkerAsLessThan)) ? '<' : static_cast<char>(unit);
        out[1] = 0;
        return CodeSetResult::Ok;
    }
    if (unit == 0x2028) {
        WriteText(out, "\r\n");
        return CodeSetResult::Ok;
    }
    // Half of a pair means nothing on its own: no code and no entity stand for it.
    if (IsSurrogate(unit)) {
        WriteText(out, "?");
        return CodeSetResult::NotRepresentable;
    }
    if (std::uint32_t code = encodeIndex.Find(unit)) {
        if (code & ReverseIndex::kSingle) {
            out[0] = static_cast<char>(code & 0xFF);
            out[1] = 0;
        } else {
            out[0] = static_cast<char>((code >> 8) & 0xFF);
            out[1] = static_cast<char>(code & 0xFF);
            out[2] = 0;
        }
        return CodeSetResult::Ok;
    }
    if (WriteEntity(unit, out, flags, true))
        return CodeSetResult::Ok;
    WriteText(out, "?");
    return CodeSetResult::NotRepresentable;
}

CodeSetResult DoubleByteCodeSet::ReadEntityChar(const unsigned char* text, std::size_t& position,
                                                unsigned char& out) const {
    const unsigned char b = text[position];
    if (b == 0)
        return CodeSetResult::BadEntity;
    ++position;
    out = b;
    return b < tableStart ? CodeSetResult::Ok : CodeSetResult::BadEntity;
}

CodeSetResult DoubleByteCodeSet::DecodeCharRaw(const unsigned char*, char16_t&, std::size_t&, bool&,
                                               unsigned) const {
    return CodeSetResult::NotSupported;
}

CodeSetResult DoubleByteCodeSet::DecodeChar(const unsigned char* text, char16_t& ch,
                                            std::size_t& consumed, bool& isEntity,
                                            unsigned flags) const {
    isEntity = false;
    ch = 0xFFFD;
    consumed = 1;
    if (!text)
        return CodeSetResult::Ok;
    const unsigned char b = text[0];
    if (b < tableStart) {
        if ((flags & NamedEntities) && b == '&') {
            isEntity = true;
            return ParseEntity(text, ch, consumed);
        }
        ch = b;
        return CodeSetResult::Ok;
    }
    if (!leadBytes[b]) {
        ch = byteValue[b];
        return CodeSetResult::Ok;
    }
    const unsigned char trail = text[1];
    if (trail == 0)
        return CodeSetResult::Truncated;
    consumed = 2;
    const TrailTable* table = trailTables[b].get();
    if (!table || !table->present[trail])
        return CodeSetResult::Undefined;
    ch = table->chars[trail];
    return CodeSetResult::Ok;
}

bool DoubleByteCodeSet::IsLeadByte(int value) const {
    return value >= 0 && value <= 255 && leadBytes[static_cast<std::size_t>(value)] != 0;
}

void DoubleByteCodeSet::Reset() {
    leadBytes.fill(0);
    segmentStart.fill(0);
    segmentCount.fill(0);
    tableStart = 0;
    singleCount = 0;
    singleTable.clear();
    doubleCodes.clear();
    doubleChars.clear();
    doubleCount = 0;
    BuildIndexes();
}

void DoubleByteCodeSet::BuildIndexes() {
    for (unsigned b = 0; b < 256; ++b) {
        const std::size_t index = b - tableStart;
        byteValue[b] = b < tableStart               ? static_cast<char16_t>(b)
                       : index < singleTable.size() ? singleTable[index]
                                                    : char16_t(0xFFFF);
    }
    // A segment is searched only within the arrays; entries of another lead byte inside it
    // can never match a code of this one.
    for (unsigned lead = 0; lead < 256; ++lead) {
        trailTables[lead].reset();
        if (!leadBytes[lead])
            continue;
        const std::size_t first = std::min<std::size_t>(segmentStart[lead], doubleCodes.size());
        const std::size_t last =
            std::min<std::size_t>(first + segmentCount[lead], doubleCodes.size());
        for (std::size_t i = first; i < last; ++i) {
            if ((doubleCodes[i] >> 8) != lead)
                continue;
            const unsigned trail = doubleCodes[i] & 0xFF;
            if (!trailTables[lead])
                trailTables[lead].reset(new TrailTable());
            TrailTable& table = *trailTables[lead];
            if (!table.present[trail]) {
                table.present.set(trail);
                table.chars[trail] = doubleChars[i];
            }
        }
    }
    // Encoding searches all of singleTable before doubleChars, each from index 0.
    // Entries past byte 0xFF stand for no byte.
    encodeIndex.Clear();
    const std::size_t singles = std::min<std::size_t>(singleTable.size(), 256u - tableStart);
    for (std::size_t i = 0; i < singles; ++i) {
        const auto byte = static_cast<std::uint8_t>(tableStart + i);
        if (IsEncodable(singleTable[i]))
            encodeIndex.AddIfAbsent(singleTable[i], ReverseIndex::kSingle | byte);
    }
    for (std::size_t i = 0; i < doubleChars.size(); ++i) {
        if (IsEncodable(doubleChars[i]))
            encodeIndex.AddIfAbsent(doubleChars[i], ReverseIndex::kDouble | doubleCodes[i]);
    }
    BuildBulkTables();
}

CodeSetResult DoubleByteCodeSet::ReadTables(std::FILE* file) {
    Reset();
    std::uint8_t start = 0;
    std::uint32_t single = 0;
    std::uint64_t left = 0;
    if (!ReadUint8(file, start) || !ReadUint32(file, single) || !BytesLeft(file, left)) {
        return CodeSetResult::Truncated;
    }
    // Counts are checked against the bytes that are really there before anything is
    // allocated; a count of 2^31 or more never fits a file we can read.
    if (single > 0x7FFFFFFFu || std::uint64_t(single) * 2 > left)
        return CodeSetResult::Truncated;
    std::vector<char16_t> table(single);
    std::array<std::uint8_t, 256> leads{};
    std::array<std::uint16_t, 256> starts{};
    std::array<std::uint16_t, 256> counts{};
    std::uint32_t doubles = 0;
    if (!ReadUint16Array(file, table.data(), table.size()) ||
        !ReadRawBytes(file, leads.data(), leads.size()) ||
        !ReadUint16Array(file, starts.data(), starts.size()) ||
        !ReadUint16Array(file, counts.data(), counts.size()) || !ReadUint32(file, doubles) ||
        !BytesLeft(file, left)) {
        return CodeSetResult::Truncated;
    }
    if (doubles > 0x7FFFFFFFu || std::uint64_t(doubles) * 4 > left)
        return CodeSetResult::Truncated;
    std::vector<std::uint16_t> codes(doubles);
    std::vector<char16_t> chars(doubles);
    if (!ReadUint16Array(file, codes.data(), codes.size()) ||
        !ReadUint16Array(file, chars.data(), chars.size())) {
        return CodeSetResult::Truncated;
    }
    tableStart = start;
    singleCount = static_cast<std::int32_t>(single);
    singleTable.swap(table);
    // The zero byte ends every text: it never starts a two-byte character.
    leads[0] = 0;
    leadBytes = leads;
    segmentStart = starts;
    segmentCount = counts;
    doubleCount = static_cast<std::int32_t>(doubles);
    doubleCodes.swap(codes);
    doubleChars.swap(chars);
    BuildIndexes();
    return CodeSetResult::Ok;
}

void DoubleByteCodeSet::Dump(std::FILE* stream) const {
    std::fprintf(stream, "Start of single-byte table = %d\n", static_cast<int>(tableStart));
    std::fprintf(stream, "Number of single-byte entries = %d\n", static_cast<int>(singleCount));
    std::fprintf(stream, "Number of double-byte entries = %d\n", static_cast<int>(doubleCount));
    std::fputs("Lead-bytes =", stream);
    int written = 0;
    for (int b = 0; b < 256; ++b) {
        if (!leadBytes[static_cast<std::size_t>(b)])
            continue;
        if (written % 12 == 0)
            std::fputs("\n    ", stream);
        std::fprintf(stream, "0x%02x ", b);
        ++written;
    }
}
