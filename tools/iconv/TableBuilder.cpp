#include "TableBuilder.h"

#include <algorithm>
#include <array>
#include <map>
#include <queue>
#include <set>
#include <vector>

namespace {

constexpr char16_t kUndefined = 0xFFFF;

struct Code {
    std::uint16_t code;
    char16_t unit;
};

// Decodes a byte sequence that the converter takes as exactly one BMP character.
bool DecodeOne(const ReferenceCodec& codec, const std::string& bytes, char16_t& unit, bool& multi) {
    std::u16string units;
    multi = false;
    if (!codec.Decode(bytes, units) || units.empty())
        return false;
    if (units.size() != 1) {
        multi = true;
        return false;
    }
    unit = units[0];
    return true;
}

std::string Bytes(std::uint16_t code) {
    return std::string{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
}

// How the finished file's encoder answers for a unit: the bytes of the first match.
std::string FirstMatch(const CodeSetFileContent& content, char16_t unit) {
    if (unit < content.tableStart)
        return std::string(1, static_cast<char>(unit));
    for (std::size_t i = 0; i < content.singleTable.size(); ++i) {
        if (content.singleTable[i] == unit) {
            return std::string(1, static_cast<char>(content.tableStart + i));
        }
    }
    for (std::size_t i = 0; i < content.doubleChars.size(); ++i) {
        if (content.doubleChars[i] == unit)
            return Bytes(content.doubleCodes[i]);
    }
    return std::string();
}

// Counts the characters with several codes, and those whose first match differs from
// the converter's choice although that choice is one of their codes.
void CountOrder(const ReferenceCodec& codec, const CodeSetFileContent& content,
                const std::map<char16_t, std::set<std::string>>& codesOf, TableStats& stats) {
    for (const auto& entry : codesOf) {
        if (entry.second.size() < 2)
            continue;
        ++stats.sharedChars;
        std::string preferred;
        if (codec.Encode(entry.first, preferred) && entry.second.count(preferred) &&
            FirstMatch(content, entry.first) != preferred) {
            ++stats.orderUnresolved;
        }
    }
}

}  // namespace

void BuildSingleByteTable(const ReferenceCodec& codec, CodeSetFileContent& content,
                          TableStats& stats) {
    std::array<char16_t, 256> value;
    value.fill(kUndefined);
    std::array<bool, 256> defined{};
    for (int b = 0; b < 256; ++b) {
        bool multi = false;
        defined[b] = DecodeOne(codec, std::string(1, static_cast<char>(b)), value[b], multi);
        if (multi)
            ++stats.skippedCodes;
    }
    int start = 0x80;
    for (int b = 0; b < 0x80; ++b) {
        if (!defined[b] || value[b] != b) {
            start = b;
            break;
        }
    }
    content.kind = 3;
    content.tableStart = static_cast<std::uint8_t>(start);
    content.singleTable.assign(value.begin() + start, value.end());

    std::map<char16_t, std::set<std::string>> codesOf;
    for (int b = 0; b < 256; ++b) {
        if (!defined[b])
            continue;
        if (b >= start)
            ++stats.singleDefined;
        codesOf[value[b]].insert(std::string(1, static_cast<char>(b)));
    }
    CountOrder(codec, content, codesOf, stats);
}

void BuildDoubleByteTable(const ReferenceCodec& codec, CodeSetFileContent& content,
                          TableStats& stats) {
    std::array<char16_t, 256> single;
    single.fill(kUndefined);
    std::array<bool, 256> singleDefined{};
    std::array<std::vector<Code>, 256> segments;
    for (int b = 0; b < 256; ++b) {
        bool multi = false;
        singleDefined[b] = DecodeOne(codec, std::string(1, static_cast<char>(b)), single[b], multi);
        if (multi)
            ++stats.skippedCodes;
        if (singleDefined[b])
            continue;
        for (int t = 0; t < 256; ++t) {
            const auto code = static_cast<std::uint16_t>(b << 8 | t);
            char16_t unit = 0;
            if (DecodeOne(codec, Bytes(code), unit, multi)) {
                segments[b].push_back({code, unit});
            } else if (multi) {
                ++stats.skippedCodes;
            }
        }
    }

    int start = 0x80;
    for (int b = 0; b < 0x80; ++b) {
        if (!segments[b].empty() || !singleDefined[b] || single[b] != b) {
            start = b;
            break;
        }
    }
    content.kind = 4;
    content.tableStart = static_cast<std::uint8_t>(start);
    content.singleTable.assign(single.begin() + start, single.end());
    content.leadBytes.assign(256, 0);
    content.segmentStart.assign(256, 0);
    content.segmentCount.assign(256, 0);
    content.doubleCodes.clear();
    content.doubleChars.clear();

    // A code is demoted to the end of its segment when the converter encodes its character as
    // another code; a demoted code in segment L2 whose preferred code is in segment L1
    // asks for L1 to come before L2.
    std::map<char16_t, std::set<std::string>> codesOf;
    for (int b = start; b < 256; ++b) {
        if (singleDefined[b])
            codesOf[single[b]].insert(std::string(1, static_cast<char>(b)));
        for (const Code& c : segments[b])
            codesOf[c.unit].insert(Bytes(c.code));
    }
    std::array<std::set<int>, 256> before;  // before[L2] = segments that must precede L2
    for (int lead = 0; lead < 256; ++lead) {
        std::stable_partition(segments[lead].begin(), segments[lead].end(), [&](const Code& c) {
            std::string preferred;
            if (codesOf[c.unit].size() < 2 || !codec.Encode(c.unit, preferred) ||
                preferred == Bytes(c.code)) {
                return true;
            }
            if (preferred.size() == 2 && codesOf[c.unit].count(preferred)) {
                const int other = static_cast<unsigned char>(preferred[0]);
                if (other != lead)
                    before[lead].insert(other);
            }
            return false;
        });
    }

    // Lead bytes in ascending order, except where an ordering asks otherwise; a cycle is
    // broken at its lowest lead byte and shows up in the unresolved count.
    std::vector<int> order;
    std::set<int> remaining;
    for (int lead = 0; lead < 256; ++lead) {
        if (!segments[lead].empty())
            remaining.insert(lead);
    }
    while (!remaining.empty()) {
        int next = *remaining.begin();
        for (int lead : remaining) {
            bool ready = true;
            for (int other : before[lead]) {
                if (remaining.count(other))
                    ready = false;
            }
            if (ready) {
                next = lead;
                break;
            }
        }
        order.push_back(next);
        remaining.erase(next);
    }

    for (int lead : order) {
        content.singleTable[lead - start] = kUndefined;
        content.SetSegment(static_cast<std::uint8_t>(lead),
                           static_cast<std::uint16_t>(content.doubleCodes.size()),
                           static_cast<std::uint16_t>(segments[lead].size()));
        for (const Code& c : segments[lead]) {
            content.doubleCodes.push_back(c.code);
            content.doubleChars.push_back(c.unit);
        }
    }
    for (int b = start; b < 256; ++b) {
        if (singleDefined[b])
            ++stats.singleDefined;
    }
    stats.doubleCodes = static_cast<int>(content.doubleCodes.size());
    CountOrder(codec, content, codesOf, stats);
}
