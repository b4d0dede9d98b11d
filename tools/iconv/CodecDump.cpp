#include "CodecDump.h"

#include <cstdio>
#include <sstream>

#include "RecordLines.h"

namespace {

bool IsSurrogate(unsigned unit) {
    return unit >= 0xD800 && unit <= 0xDFFF;
}

void WriteUnits(std::ostream& out, const std::u16string& units) {
    char part[8];
    for (char16_t u : units) {
        std::snprintf(part, sizeof part, " %04X", unsigned(u));
        out << part;
    }
}

std::string HexBytes(const std::string& bytes) {
    std::string text;
    char part[4];
    for (unsigned char b : bytes) {
        std::snprintf(part, sizeof part, "%02X", b);
        text += part;
    }
    return text;
}

bool ParseHex(const std::string& text, unsigned long& value) {
    if (text.empty() || text.size() > 8)
        return false;
    std::size_t used = 0;
    try {
        value = std::stoul(text, &used, 16);
    } catch (...) {
        return false;
    }
    return used == text.size();
}

// The remaining words of a line as UTF-16 units; false when there are none or one is not a
// 16-bit hexadecimal number.
bool ParseUnits(std::istringstream& in, std::u16string& units) {
    std::string word;
    while (in >> word) {
        unsigned long value = 0;
        if (word.size() != 4 || !ParseHex(word, value))
            return false;
        units += static_cast<char16_t>(value);
    }
    return !units.empty();
}

bool ParseBytes(const std::string& text, std::string& bytes) {
    if (text.empty() || text.size() % 2 != 0)
        return false;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        unsigned long value = 0;
        if (!ParseHex(text.substr(i, 2), value))
            return false;
        bytes += static_cast<char>(value);
    }
    return true;
}

}  // namespace

void WriteCodecDump(const ReferenceCodec& codec, std::ostream& out) {
    char head[16];
    for (unsigned b = 0; b < 256; ++b) {
        std::u16string units;
        if (codec.Decode(std::string(1, char(b)), units) && !units.empty()) {
            std::snprintf(head, sizeof head, "byte %02X", b);
            out << head;
            WriteUnits(out, units);
            out << '\n';
            continue;
        }
        for (unsigned t = 0; t < 256; ++t) {
            if (codec.Decode(std::string{char(b), char(t)}, units) && !units.empty()) {
                std::snprintf(head, sizeof head, "pair %02X%02X", b, t);
                out << head;
                WriteUnits(out, units);
                out << '\n';
            }
        }
    }
    for (unsigned u = 1; u < 0x10000; ++u) {
        std::string bytes;
        if (!IsSurrogate(u) && codec.Encode(static_cast<char16_t>(u), bytes) && !bytes.empty()) {
            std::snprintf(head, sizeof head, "unit %04X ", u);
            out << head << HexBytes(bytes) << '\n';
        }
    }
}

std::string CodePageDumpName(unsigned codePage) {
    return "cp" + std::to_string(codePage) + ".txt";
}

bool CodecDump::Read(const std::string& path, std::string& error) {
    return ReadRecordLines(
        path,
        [this](const std::string& line, std::string& message) {
            std::istringstream words(line);
            std::string what, key, extra;
            words >> what >> key;
            unsigned long code = 0;
            std::u16string units;
            std::string bytes;
            // Each byte, pair and unit has one line at most.
            bool ok = ParseHex(key, code);
            if (ok && what == "byte" && key.size() == 2) {
                ok = ParseUnits(words, units) && byteUnits[code].empty();
                byteUnits[code] = units;
            } else if (ok && what == "pair" && key.size() == 4) {
                ok = ParseUnits(words, units) && pairUnits.emplace(code, units).second;
            } else if (ok && what == "unit" && key.size() == 4) {
                ok = words >> extra && ParseBytes(extra, bytes) && !(words >> extra) &&
                     unitBytes.emplace(static_cast<char16_t>(code), bytes).second;
            } else {
                ok = false;
            }
            message = "malformed line";
            return ok;
        },
        error);
}

void CodecDump::DropC1Fillers() {
    for (unsigned b = 0x80; b < 0xA0; ++b) {
        if (byteUnits[b] == std::u16string(1, static_cast<char16_t>(b))) {
            byteUnits[b].clear();
            unitBytes.erase(static_cast<char16_t>(b));
        }
    }
}

bool CodecDump::Decode(const std::string& bytes, std::u16string& units) const {
    units.clear();
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (!byteUnits[b].empty()) {
            units += byteUnits[b];
            continue;
        }
        if (i + 1 == bytes.size())
            return false;
        const auto found = pairUnits.find(b << 8 | static_cast<unsigned char>(bytes[i + 1]));
        if (found == pairUnits.end())
            return false;
        units += found->second;
        ++i;
    }
    return true;
}

bool CodecDump::Encode(char16_t unit, std::string& bytes) const {
    const auto found = unitBytes.find(unit);
    if (found == unitBytes.end())
        return false;
    bytes = found->second;
    return true;
}
