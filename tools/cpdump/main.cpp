// cpdump: writes what Windows' code pages decode and encode, for the table generator
// (tools/mkokc builds the .okc files from the dumps). Runs on Windows or under Wine.
// Usage: cpdump OUTDIR CODEPAGE...   writes OUTDIR\cpNNN.txt for each code page; fails
// when this system lacks one of them.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "CodecDump.h"
#include "WindowsCodePage.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: cpdump OUTDIR CODEPAGE...\n");
        return 2;
    }
    std::string outDir = argv[1];
    if (outDir.back() != '\\' && outDir.back() != '/')
        outDir += '\\';
    int status = 0;
    for (int i = 2; i < argc; ++i) {
        const unsigned codePage = static_cast<unsigned>(std::strtoul(argv[i], nullptr, 10));
        const WindowsCodePage codec(codePage);
        if (codePage == 0 || !codec.IsValid()) {
            std::fprintf(stderr, "cpdump: this system has no code page %s\n", argv[i]);
            status = 1;
            continue;
        }
        const std::string path = outDir + CodePageDumpName(codePage);
        std::ofstream out(path, std::ios::binary);
        out << "# Windows code page " << codePage << ", written by cpdump\n";
        WriteCodecDump(codec, out);
        if (!out.flush()) {
            std::fprintf(stderr, "cpdump: cannot write %s\n", path.c_str());
            status = 1;
        }
    }
    return status;
}
