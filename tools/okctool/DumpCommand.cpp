#include <cstdio>

#include "Commands.h"

int RunDump(const CodeSetHolder& holder) {
    holder.codeSet->Dump(stdout);
    std::fflush(stdout);
    return kExitOk;
}
