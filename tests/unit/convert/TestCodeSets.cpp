#include "TestCodeSets.h"

#include <cstdint>

#include "CodeSetFiles.h"
#include "TestPaths.h"
#include "codeset/DataDirectory.h"
#include "codeset/EntityTable.h"

namespace {

CodeSetFileContent SingleByte(const std::string& name) {
    CodeSetFileContent content;
    content.name = name;
    content.displayName = name + " (test)";
    content.kind = 3;
    content.tableStart = 0x80;
    content.singleTable.assign(128, 0xFFFF);
    for (unsigned byte = 0xA0; byte <= 0xFF; ++byte) {
        content.singleTable[byte - 0x80] = static_cast<char16_t>(byte);
    }
    content.singleTable[0x81 - 0x80] = 0xFF71;
    return content;
}

CodeSetFileContent DoubleByte() {
    CodeSetFileContent content;
    content.name = "db-test";
    content.kind = 4;
    content.tableStart = 0x80;
    content.singleTable.assign(128, 0xFFFF);
    content.singleTable[0xA1 - 0x80] = 0xFF61;
    content.SetSegment(0x81, 0, 1);
    content.SetSegment(0x82, 1, 1);
    content.doubleCodes = {0x8140, 0x82A0};
    content.doubleChars = {0x3000, 0x3042};
    return content;
}

CodeSetFileContent YenInsteadOfBackslash() {
    CodeSetFileContent content;
    content.name = "yen-test";
    content.kind = 3;
    content.tableStart = 0;
    for (unsigned byte = 0; byte < 256; ++byte) {
        content.singleTable.push_back(byte < 0x80 ? static_cast<char16_t>(byte) : 0xFFFF);
    }
    content.singleTable[0x5C] = 0x00A5;
    return content;
}

CodeSetFileContent NoTable(const std::string& name, std::int32_t kind) {
    CodeSetFileContent content;
    content.name = name;
    content.kind = kind;
    return content;
}

}  // namespace

const std::string& UseTestCodeSets() {
    static const std::string directory = [] {
        const std::string dir = MakeTempDirectory("convert-codesets");
        WriteCodeSetFile(dir, "sb-test", SingleByte("sb-test"));
        WriteCodeSetFile(dir, "renamed", SingleByte("sb-test"));
        WriteCodeSetFile(dir, "db-test", DoubleByte());
        WriteCodeSetFile(dir, "yen-test", YenInsteadOfBackslash());
        WriteCodeSetFile(dir, "utf8-test", NoTable("utf8-test", 2));
        WriteCodeSetFile(dir, "utf16-test", NoTable("utf16-test", 1));
        WriteCodeSetFile(dir, "bad-kind", NoTable("bad-kind", 7));
        WriteFileBytes(dir + "default.oku", std::string("amp\0\0\x26\0", 7));
        return dir;
    }();
    SetDataDirectory(directory);
    EntityTable::Global().Clear();
    return directory;
}
