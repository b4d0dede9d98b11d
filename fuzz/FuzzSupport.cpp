#include "FuzzSupport.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <stdlib.h>
#include <unistd.h>

#include "codeset/CodeSetFileWriter.h"
#include "codeset/CodeSetResult.h"
#include "codeset/DataDirectory.h"
#include "codeset/EntityFlags.h"
#include "codeset/EntityTable.h"

namespace {

// Kept alive past the static destructors: the clean-up at exit still needs them.
std::vector<std::string>& ScratchFiles() {
    static auto* files = new std::vector<std::string>();
    return *files;
}

void RemoveScratch() {
    for (const std::string& file : ScratchFiles())
        std::remove(file.c_str());
    std::string directory = ScratchDirectory();
    directory.pop_back();
    rmdir(directory.c_str());
}

std::string MakeScratchDirectory() {
    const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string pattern = std::string(base) + "/pelfuzz.XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr) {
        std::perror("mkdtemp");
        std::abort();
    }
    std::atexit(RemoveScratch);
    return std::string(buffer.data()) + "/";
}

std::unique_ptr<CodeSetHolder> LoadHolder(const std::string& path) {
    std::unique_ptr<CodeSetHolder> holder(new CodeSetHolder());
    if (holder->Load(path) != CodeSetResult::Ok) {
        std::fprintf(stderr, "fuzz: cannot load %s\n", path.c_str());
        std::abort();
    }
    return holder;
}

std::unique_ptr<CodeSetHolder> LoadMade(const CodeSetFileContent& content) {
    const std::string bytes = SerializeCodeSetFile(content);
    const std::string path = WriteScratchFile(
        content.name + ".okc", reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return LoadHolder(path);
}

std::vector<std::unique_ptr<CodeSetHolder>> MakeCodeSets() {
    std::vector<std::unique_ptr<CodeSetHolder>> sets;
    for (const char* name : {"utf-16", "utf-8", "windows-1252", "koi8-r", "windows-932"})
        sets.push_back(LoadHolder(ShippedDataDirectory() + name + ".okc"));

    // All 256 bytes through the table; ASCII entries moved around so that the re-mapping of
    // generated text ("?", "<", entities) matters.
    CodeSetFileContent whole;
    whole.name = "fuzz-whole";
    whole.tableStart = 0;
    for (unsigned b = 0; b < 256; ++b)
        whole.singleTable.push_back(static_cast<char16_t>(b < 128 ? (b ^ 0x21) : 0x0400 + b));
    whole.singleTable[0x81] = 0xFFFF;
    whole.singleTable[0x82] = u'&';
    sets.push_back(LoadMade(whole));

    // A table that starts inside ASCII and ends early (bytes past it have no entry).
    CodeSetFileContent partial;
    partial.name = "fuzz-partial";
    partial.tableStart = 0x30;
    for (unsigned b = 0x30; b < 0xA0; ++b)
        partial.singleTable.push_back(static_cast<char16_t>(b == 0x40 ? 0x0141 : b + 0x100));
    sets.push_back(LoadMade(partial));

    // Double-byte: tables from 0x30, lead bytes 0x81 and 0x82 with a short single table,
    // segments that overlap, hold another lead's codes or reach past the arrays.
    CodeSetFileContent dbcs;
    dbcs.name = "fuzz-dbcs";
    dbcs.kind = 4;
    dbcs.tableStart = 0x30;
    for (unsigned b = 0x30; b < 0x90; ++b)
        dbcs.singleTable.push_back(static_cast<char16_t>(b == 0x3C ? u'<' : 0x3000 + b));
    dbcs.leadBytes[0xFE] = 1;  // a lead byte with an empty segment
    for (unsigned trail = 0x40; trail < 0x80; ++trail) {
        dbcs.doubleCodes.push_back(static_cast<std::uint16_t>(0x8100 + trail));
        dbcs.doubleChars.push_back(static_cast<char16_t>(0x4E00 + trail));
        dbcs.doubleCodes.push_back(static_cast<std::uint16_t>(0x8200 + trail));
        dbcs.doubleChars.push_back(static_cast<char16_t>(trail == 0x41 ? u'&' : 0x5E00 + trail));
    }
    dbcs.SetSegment(0x81, 0, 200);
    dbcs.SetSegment(0x82, 1, 0xFFFF);
    dbcs.SetSegment(0xE0, 0xFFF0, 0x20);
    sets.push_back(LoadMade(dbcs));
    return sets;
}

}  // namespace

void FuzzCheckFailed(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "fuzz: invariant failed: %s at %s:%d\n", condition, file, line);
    std::abort();
}

const std::string& ScratchDirectory() {
    static const auto* directory = new std::string(MakeScratchDirectory());
    return *directory;
}

std::string WriteScratchFile(const std::string& name, const std::uint8_t* data, std::size_t size) {
    const std::string path = ScratchDirectory() + name;
    std::vector<std::string>& files = ScratchFiles();
    bool known = false;
    for (const std::string& file : files)
        known = known || file == path;
    if (!known)
        files.push_back(path);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr || (size != 0 && std::fwrite(data, 1, size, file) != size)) {
        std::perror(path.c_str());
        std::abort();
    }
    std::fclose(file);
    return path;
}

std::string ShippedDataDirectory() {
    std::string directory = PEL_SHIPPED_DATA_DIR;
    if (directory.empty() || directory.back() != kPathSeparator)
        directory += kPathSeparator;
    return directory;
}

void UseShippedData() {
    SetDataDirectory(ShippedDataDirectory());
    if (EntityTable::Global().LoadFile("default") != CodeSetResult::Ok) {
        std::fprintf(stderr, "fuzz: cannot read the shipped entity table\n");
        std::abort();
    }
}

const std::vector<std::unique_ptr<CodeSetHolder>>& FuzzCodeSets() {
    static const std::vector<std::unique_ptr<CodeSetHolder>> sets = MakeCodeSets();
    return sets;
}

CodeSetHolder& PickCodeSet(std::uint8_t selector) {
    const auto& sets = FuzzCodeSets();
    return *sets[selector % sets.size()];
}

unsigned FlagsFromByte(std::uint8_t bits) {
    unsigned flags = bits & (NamedEntities | HexEntities | DecimalEntities);
    if (bits & 0x08)
        flags |= EscapeLessThan;
    if (bits & 0x10)
        flags |= EscapeQuotes;
    if (bits & 0x20)
        flags |= MarkerAsLessThan;
    if (bits & 0x40)
        flags |= DecimalFirst;
    return flags;
}

std::unique_ptr<unsigned char[]> TerminatedCopy(const std::uint8_t* data, std::size_t size,
                                                std::size_t zeros) {
    std::unique_ptr<unsigned char[]> copy(new unsigned char[size + zeros]);
    if (size != 0)
        std::memcpy(copy.get(), data, size);
    std::memset(copy.get() + size, 0, zeros);
    return copy;
}
