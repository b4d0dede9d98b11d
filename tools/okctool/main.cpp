// okctool: looks at and converts through a code set table file (.okc); see Usage.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "Commands.h"
#include "LoadCodeSetFile.h"
#include "codeset/CodeSetHolder.h"
#include "codeset/DataDirectory.h"
#include "platform/ProgramPath.h"
#include "platform/Utf8.h"

namespace {

const char kUsage[] =
    "usage: okctool dump TABLE.okc\n"
    "       okctool decode TABLE.okc [INPUT] [-o OUTPUT] [--flags N]\n"
    "       okctool encode TABLE.okc [INPUT] [-o OUTPUT] [--flags N]\n"
    "       okctool rtf TABLE.okc [INPUT] [-o OUTPUT] [--lang N] [--flags N]\n"
    "       okctool list [DIRECTORY]\n"
    "       okctool --help\n";

const char kHelp[] =
    "\n"
    "Commands:\n"
    "  dump    print the tables of TABLE.okc\n"
    "  decode  bytes in the code set to UTF-16LE, up to the first zero byte; stops at the\n"
    "          first byte sequence that does not decode, keeping what came before it\n"
    "  encode  UTF-16LE to bytes in the code set; characters it lacks become '?' or, with\n"
    "          the flags, entities\n"
    "  rtf     UTF-16LE to the Rich Text Format document the program would write\n"
    "  list    the code sets of DIRECTORY (default: the folder okctool is in) that load,\n"
    "          with their display names\n"
    "INPUT and OUTPUT default to standard input and output; '-' names them too.\n"
    "decode and encode stream: any size of input converts in little memory.\n"
    "N is decimal or 0x hexadecimal: --flags the conversion flags (0x1 reads named\n"
    "entities when decoding), --lang the language identifier of the document (1033).\n"
    "\n"
    "Exit codes:\n"
    "  0  done\n"
    "  1  bad command line\n"
    "  2  the table cannot be loaded\n"
    "  3  decoding stopped at a byte sequence that does not decode (its offset on stderr)\n"
    "  4  a file cannot be opened, read or written\n";

int Usage() {
    std::fputs(kUsage, stderr);
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

// The folder of the running program, where the program keeps its tables. On Windows the
// program's own file name, since argv[0] is only what was typed ("okctool" from PATH).
std::string ProgramFolder(const char* argv0) {
    std::string path = ProgramPath();
    if (path.empty())
        path = argv0 != nullptr ? argv0 : "";
    const std::size_t cut = path.find_last_of(kPathSeparator == '/' ? "/" : "/\\");
    return cut == std::string::npos ? std::string(".") : path.substr(0, cut + 1);
}

// argv: UTF-8 on Windows, the bytes as given elsewhere.
int RunTool(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        std::fputs(kHelp, stdout);
        return kExitOk;
    }
    if (argc >= 2 && std::strcmp(argv[1], "list") == 0) {
        if (argc > 3)
            return Usage();
        return RunList(argc == 3 ? argv[2] : ProgramFolder(argv[0]));
    }
    if (argc < 3)
        return Usage();
    const std::string command = argv[1];
    const bool rtf = command == "rtf";
    const bool converts = command == "decode" || command == "encode" || rtf;
    if (command != "dump" && !converts)
        return Usage();

    ConvertOptions options;
    unsigned language = options.languageId;
    bool haveInput = false;
    bool haveOutput = false;
    for (int i = 3; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (!converts)
            return Usage();
        if (std::strcmp(argv[i], "--flags") == 0 && hasValue &&
            ParseNumber(argv[i + 1], options.flags)) {
            ++i;
        } else if (rtf && std::strcmp(argv[i], "--lang") == 0 && hasValue &&
                   ParseNumber(argv[i + 1], language) && language <= 0xFFFF) {
            ++i;
        } else if (std::strcmp(argv[i], "-o") == 0 && hasValue && !haveOutput) {
            options.output = argv[++i];
            haveOutput = true;
        } else if ((argv[i][0] != '-' || std::strcmp(argv[i], "-") == 0) && !haveInput) {
            options.input = argv[i];
            haveInput = true;
        } else {
            return Usage();
        }
    }
    options.languageId = static_cast<std::uint16_t>(language);

    CodeSetHolder holder;
    if (LoadCodeSetFile(argv[2], holder) != CodeSetResult::Ok)
        return kExitLoadFailed;
    if (command == "dump")
        return RunDump(holder);
    if (rtf)
        return RunRtf(holder, options);
    return command == "decode" ? RunDecode(holder, options) : RunEncode(holder, options);
}

}  // namespace

#ifdef _WIN32
// The wide arguments, as UTF-8: the narrow ones are in the ANSI code page, which can't name
// every file.
int wmain(int argc, wchar_t** wideArgv) {
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i)
        arguments.push_back(Utf16ToUtf8(reinterpret_cast<const char16_t*>(wideArgv[i])));
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(&argument[0]);
    argv.push_back(nullptr);
    return RunTool(argc, argv.data());
}
#else
int main(int argc, char** argv) {
    return RunTool(argc, argv);
}
#endif
