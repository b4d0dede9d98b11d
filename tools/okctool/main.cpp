// okctool: looks at and converts through a code set table file (.okc).
//   okctool dump FILE.okc
//   okctool decode FILE.okc [--flags N]   bytes on stdin, UTF-16LE on stdout
//   okctool encode FILE.okc [--flags N]   UTF-16LE on stdin, bytes on stdout
//   okctool rtf FILE.okc [--lang N] [--flags N]   UTF-16LE on stdin, the RTF document
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "CodeSetHolder.h"
#include "Commands.h"
#include "LoadCodeSetFile.h"
#include "ToolIo.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: okctool dump FILE.okc\n"
                 "       okctool decode FILE.okc [--flags N]\n"
                 "       okctool encode FILE.okc [--flags N]\n"
                 "       okctool rtf FILE.okc [--lang N] [--flags N]\n"
                 "N is decimal or 0x hexadecimal.\n");
    return kExitUsage;
}

// Decimal, or hexadecimal after 0x; the whole text must be a number.
bool ParseNumber(const char* text, unsigned& flags) {
    const bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* digits = hex ? text + 2 : text;
    if (*digits == '\0' || *digits == '-' || *digits == '+')
        return false;
    char* end = nullptr;
    errno = 0;
    const unsigned long value = std::strtoul(digits, &end, hex ? 16 : 10);
    if (*end != '\0' || errno != 0 || value > 0xFFFFFFFFul)
        return false;
    flags = static_cast<unsigned>(value);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return Usage();
    const std::string command = argv[1];
    const bool rtf = command == "rtf";
    const bool converts = command == "decode" || command == "encode" || rtf;
    if (command != "dump" && !converts)
        return Usage();

    unsigned flags = 0;
    unsigned language = 1033;
    for (int i = 3; i < argc; ++i) {
        if (converts && std::strcmp(argv[i], "--flags") == 0 && i + 1 < argc &&
            ParseNumber(argv[i + 1], flags)) {
            ++i;
        } else if (rtf && std::strcmp(argv[i], "--lang") == 0 && i + 1 < argc &&
                   ParseNumber(argv[i + 1], language) && language <= 0xFFFF) {
            ++i;
        } else {
            return Usage();
        }
    }

    CodeSetHolder holder;
    if (LoadCodeSetFile(argv[2], holder) != 0)
        return kExitLoadFailed;
    if (command == "dump")
        return RunDump(holder);
    UseBinaryStdio();
    if (rtf)
        return RunRtf(holder, flags, static_cast<std::uint16_t>(language));
    return command == "decode" ? RunDecode(holder, flags) : RunEncode(holder, flags);
}
