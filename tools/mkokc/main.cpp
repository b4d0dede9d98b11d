// mkokc: writes the .okc code set table files listed in a code set list: those of Windows'
// code pages from the dumps that cpdump wrote under Windows or Wine, the others from the
// build machine's iconv. Usage: mkokc LIST OUTDIR [--code-pages DUMPDIR] [NAME...]
// Without DUMPDIR the Windows code pages are skipped.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "CodeSetList.h"
#include "CodecDump.h"
#include "IconvCodec.h"
#include "TableBuilder.h"
#include "codeset/CodeSetFileWriter.h"

namespace {

bool Wanted(const std::vector<std::string>& names, const std::string& name) {
    if (names.empty())
        return true;
    for (const std::string& n : names) {
        if (n == name)
            return true;
    }
    return false;
}

// The converter a table is built from; nullptr (after saying why) when there is none, with
// failed set when that must fail the run.
std::unique_ptr<ReferenceCodec> OpenSource(const CodeSetListEntry& entry,
                                           const std::string& dumpDir, bool& failed) {
    failed = false;
    if (entry.windowsCodePage == 0) {
        auto codec = std::make_unique<IconvCodec>(entry.iconvName);
        if (codec->IsOpen())
            return codec;
        std::printf("%-14s skipped: iconv has no %s\n", entry.name.c_str(),
                    entry.iconvName.c_str());
        return nullptr;
    }
    if (dumpDir.empty()) {
        std::printf("%-14s skipped: no dump of code page %u\n", entry.name.c_str(),
                    entry.windowsCodePage);
        return nullptr;
    }
    auto dump = std::make_unique<CodecDump>();
    std::string error;
    if (!dump->Read(dumpDir + "/" + CodePageDumpName(entry.windowsCodePage), error)) {
        std::fprintf(stderr, "%s: %s\n", entry.name.c_str(), error.c_str());
        failed = true;
        return nullptr;
    }
    if (entry.withoutC1Fillers)
        dump->DropC1Fillers();
    return dump;
}

// Writes one file; returns false on an error that must fail the run.
bool MakeTable(const CodeSetListEntry& entry, const std::string& outDir,
               const std::string& dumpDir) {
    CodeSetFileContent content;
    content.name = entry.name;
    content.displayName = entry.displayName;
    TableStats stats;
    if (entry.kind == "utf16") {
        content.kind = 1;
    } else if (entry.kind == "utf8") {
        content.kind = 2;
    } else {
        bool failed = false;
        const std::unique_ptr<ReferenceCodec> codec = OpenSource(entry, dumpDir, failed);
        if (!codec)
            return !failed;
        if (entry.kind == "single") {
            BuildSingleByteTable(*codec, content, stats);
        } else {
            BuildDoubleByteTable(*codec, content, stats);
        }
        // segmentStart and segmentCount are 16-bit in the file.
        if (content.doubleCodes.size() > 0xFFFF) {
            std::fprintf(stderr, "%s: %zu two-byte codes do not fit the format\n",
                         entry.name.c_str(), content.doubleCodes.size());
            return false;
        }
    }
    const std::string path = outDir + "/" + entry.name + ".okc";
    std::ofstream out(path, std::ios::binary);
    out << SerializeCodeSetFile(content);
    if (!out.flush()) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    std::printf("%-14s kind %d", entry.name.c_str(), content.kind);
    if (content.kind >= 3) {
        std::printf(", start 0x%02x, %d single, %d double, %d skipped, %d shared, %d unresolved",
                    content.tableStart, stats.singleDefined, stats.doubleCodes, stats.skippedCodes,
                    stats.sharedChars, stats.orderUnresolved);
    }
    std::printf("\n");
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: mkokc LIST OUTDIR [--code-pages DUMPDIR] [NAME...]\n");
        return 2;
    }
    int first = 3;
    std::string dumpDir;
    if (argc > 4 && std::strcmp(argv[3], "--code-pages") == 0) {
        dumpDir = argv[4];
        first = 5;
    }
    std::vector<CodeSetListEntry> entries;
    std::string error;
    if (!ReadCodeSetList(argv[1], entries, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 2;
    }
    const std::vector<std::string> names(argv + first, argv + argc);
    bool ok = true;
    for (const CodeSetListEntry& entry : entries) {
        if (Wanted(names, entry.name))
            ok = MakeTable(entry, argv[2], dumpDir) && ok;
    }
    return ok ? 0 : 1;
}
