#include "codeset/CodeSetFileWriter.h"

namespace {

void Put16(std::string& out, unsigned value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

void PutString(std::string& out, const std::string& text) {
    Put16(out, static_cast<unsigned>(text.size()));
    out += text;
}

}  // namespace

std::string SerializeCodeSetFile(const CodeSetFileContent& content) {
    std::string out;
    PutString(out, content.magic);
    PutString(out, content.name);
    PutString(out, content.displayName);
    Put32(out, static_cast<std::uint32_t>(content.kind));
    if (content.kind == 3) {
        out += static_cast<char>(content.tableStart);
        for (char16_t c : content.singleTable)
            Put16(out, c);
    } else if (content.kind == 4) {
        out += static_cast<char>(content.tableStart);
        Put32(out, static_cast<std::uint32_t>(content.singleTable.size()));
        for (char16_t c : content.singleTable)
            Put16(out, c);
        for (std::size_t i = 0; i < 256; ++i) {
            out += static_cast<char>(i < content.leadBytes.size() ? content.leadBytes[i] : 0);
        }
        for (std::size_t i = 0; i < 256; ++i) {
            Put16(out, i < content.segmentStart.size() ? content.segmentStart[i] : 0);
        }
        for (std::size_t i = 0; i < 256; ++i) {
            Put16(out, i < content.segmentCount.size() ? content.segmentCount[i] : 0);
        }
        Put32(out, static_cast<std::uint32_t>(content.doubleCodes.size()));
        for (std::uint16_t c : content.doubleCodes)
            Put16(out, c);
        for (char16_t c : content.doubleChars)
            Put16(out, c);
    }
    return out;
}
