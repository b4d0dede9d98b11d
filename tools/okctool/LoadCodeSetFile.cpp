#include "LoadCodeSetFile.h"

#include <cstdio>

#include "codeset/CodeSetResult.h"
#include "codeset/DataDirectory.h"

CodeSetResult LoadCodeSetFile(const std::string& file, CodeSetHolder& holder) {
    std::string path = file;
#ifdef _WIN32
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
#endif
    // The holder takes a name as a path only when it holds a separator; a bare file name
    // would otherwise be looked up as a code set name.
    std::size_t cut = path.find_last_of(kPathSeparator);
    if (cut == std::string::npos) {
        path = std::string(".") + kPathSeparator + path;
        cut = 1;
    }
    SetDataDirectory(path.substr(0, cut + 1));
    CodeSetResult result = holder.Load(path);
    if (result == CodeSetResult::Ok && !holder.HasCodeSet())
        result = CodeSetResult::BadKind;
    if (result != CodeSetResult::Ok) {
        std::fprintf(stderr, "okctool: cannot load %s: %d %s\n", file.c_str(),
                     CodeSetResultNumber(result), CodeSetResultName(result));
    }
    return result;
}
