#include "TableComparison.h"

#include <cstdio>

#include "codeset/CodeSetResult.h"

namespace {

std::string HexBytes(const std::string& bytes) {
    if (bytes.empty())
        return "nothing";
    std::string text;
    char part[8];
    for (unsigned char b : bytes) {
        std::snprintf(part, sizeof part, "%s%02x", text.empty() ? "" : " ", b);
        text += part;
    }
    return text;
}

std::string Units(const std::u16string& units) {
    if (units.empty())
        return "nothing";
    std::string text;
    char part[12];
    for (char16_t u : units) {
        std::snprintf(part, sizeof part, "%sU+%04X", text.empty() ? "" : " ", unsigned(u));
        text += part;
    }
    return text;
}

// What the table's decoder makes of one character's bytes: the unit when it took all of
// them with result 0, else a description of what happened.
std::string TableDecode(const CodeSet& codeSet, const std::string& bytes, bool& ok,
                        char16_t& unit) {
    std::string text = bytes;
    text.append(4, '\0');
    std::size_t consumed = 0;
    bool isEntity = false;
    const CodeSetResult result = codeSet.DecodeChar(
        reinterpret_cast<const unsigned char*>(text.data()), unit, consumed, isEntity, 0);
    ok = result == CodeSetResult::Ok && consumed == bytes.size();
    if (result != CodeSetResult::Ok)
        return CodeSetResultName(result);
    if (consumed != bytes.size())
        return "consumed " + std::to_string(consumed);
    return Units(std::u16string(1, unit));
}

void CompareDecode(const CodeSet& codeSet, const ReferenceCodec& codec, const std::string& bytes,
                   std::vector<TableDifference>& differences) {
    std::u16string expected;
    const bool referenceOk = codec.Decode(bytes, expected) && expected.size() == 1;
    bool tableOk = false;
    char16_t unit = 0;
    const std::string got = TableDecode(codeSet, bytes, tableOk, unit);
    // A single byte that the table leaves undefined decodes to U+FFFF with success; the reference
    // refuses it.
    const bool bothUndefined = !referenceOk && bytes.size() == 1 && tableOk && unit == 0xFFFF &&
                               !codeSet.IsLeadByte((unsigned char)bytes[0]);
    const bool bothRefuse = !referenceOk && !tableOk && bytes.size() == 2;
    if (bothUndefined || bothRefuse || (referenceOk && tableOk && unit == expected[0]))
        return;
    unsigned code = 0;
    for (unsigned char b : bytes)
        code = code << 8 | b;
    differences.push_back({"decode", code, got, referenceOk ? Units(expected) : "invalid"});
}

void CompareEncode(const CodeSet& codeSet, const ReferenceCodec& codec, char16_t unit,
                   std::vector<TableDifference>& differences) {
    std::string expected;
    const bool referenceOk = codec.Encode(unit, expected);
    char buffer[CodeSet::kCharBufferSize] = {0};
    const CodeSetResult result = codeSet.EncodeChar(unit, buffer, 0, true);
    const std::string got = buffer;
    // Without entity flags a missing character is written as "?".
    if (referenceOk ? (result == CodeSetResult::Ok && got == expected)
                    : (result == CodeSetResult::NotRepresentable && got == "?")) {
        return;
    }
    differences.push_back({"encode", unit, HexBytes(got) + " (" + CodeSetResultName(result) + ")",
                           referenceOk ? HexBytes(expected) : "none", expected.size()});
}

bool IsSurrogate(unsigned unit) {
    return unit >= 0xD800 && unit <= 0xDFFF;
}

}  // namespace

std::vector<TableDifference> CompareTable(const CodeSet& codeSet, const ReferenceCodec& codec) {
    std::vector<TableDifference> differences;
    // Byte 0 ends every text, so neither it nor a trail byte 0 is a character.
    for (unsigned b = 1; b < 256; ++b) {
        std::u16string units;
        const bool referenceSingle =
            codec.Decode(std::string(1, char(b)), units) && units.size() == 1;
        // The reference takes a byte as a lead byte when some two-byte sequence starting with it is
        // one character.
        bool referenceLead = false;
        for (unsigned t = 1; t < 256 && !referenceSingle && !referenceLead; ++t) {
            referenceLead = codec.Decode(std::string{char(b), char(t)}, units) && units.size() == 1;
        }
        const bool tableLead = codeSet.IsLeadByte(static_cast<int>(b));
        if (tableLead != referenceLead) {
            differences.push_back({"decode", b, tableLead ? "lead byte" : "not a lead byte",
                                   referenceLead ? "lead byte" : "not a lead byte"});
        }
        if (tableLead || referenceLead) {
            for (unsigned t = 1; t < 256; ++t) {
                CompareDecode(codeSet, codec, std::string{char(b), char(t)}, differences);
            }
        } else {
            CompareDecode(codeSet, codec, std::string(1, char(b)), differences);
        }
    }
    for (unsigned u = 1; u < 0x10000; ++u) {
        if (!IsSurrogate(u))
            CompareEncode(codeSet, codec, static_cast<char16_t>(u), differences);
    }
    return differences;
}

std::vector<TableDifference> CompareUnicode(const CodeSet& codeSet, const ReferenceCodec& codec,
                                            bool wide) {
    std::vector<TableDifference> differences;
    for (unsigned u = 1; u < 0x10000; ++u) {
        if (IsSurrogate(u))
            continue;
        const auto unit = static_cast<char16_t>(u);
        std::string bytes;
        if (!codec.Encode(unit, bytes)) {
            differences.push_back({"encode", u, "", "none"});
            continue;
        }
        bool tableOk = false;
        char16_t decoded = 0;
        const std::string got = TableDecode(codeSet, bytes, tableOk, decoded);
        if (!tableOk || decoded != unit) {
            differences.push_back({"decode", u, got, Units(std::u16string(1, unit))});
        }
        std::string encoded;
        CodeSetResult result = CodeSetResult::Ok;
        if (wide) {
            char16_t buffer[CodeSet::kCharBufferSize] = {0};
            result = codeSet.EncodeCharWide(unit, buffer, 0, true);
            for (const char16_t* p = buffer; *p; ++p) {
                encoded += static_cast<char>(*p & 0xFF);
                encoded += static_cast<char>(*p >> 8);
            }
        } else {
            char buffer[CodeSet::kCharBufferSize] = {0};
            result = codeSet.EncodeChar(unit, buffer, 0, true);
            encoded = buffer;
        }
        if (result != CodeSetResult::Ok || encoded != bytes) {
            differences.push_back({"encode", u, HexBytes(encoded), HexBytes(bytes)});
        }
    }
    return differences;
}
