// A .okc file of any content: the load must fail cleanly or give a code set that decodes
// and encodes within its tables.
#include <cstdint>
#include <cstdio>

#include "FuzzConversion.h"
#include "FuzzSupport.h"
#include "codeset/CodeSetHolder.h"
#include "codeset/CodeSetResult.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    UseShippedData();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = WriteScratchFile("fuzz.okc", data, size);
    CodeSetHolder holder;
    const CodeSetResult result = holder.Load(path);
    FUZZ_CHECK(result == CodeSetResult::Ok || result >= CodeSetResult::OpenFailed);
    if (result != CodeSetResult::Ok) {
        FUZZ_CHECK(result == CodeSetResult::BadKind ? !holder.HasCodeSet() : true);
        return 0;
    }
    FUZZ_CHECK(holder.HasCodeSet());
    FUZZ_CHECK(holder.name.size() < 100 && holder.displayName.size() < 100);

    static std::FILE* sink = std::fopen("/dev/null", "w");
    if (sink != nullptr)
        holder.codeSet->Dump(sink);

    // The file's own bytes serve as text to decode and as units to encode; its last byte
    // picks the entity flags.
    const std::size_t limit = size < 256 ? size : 256;
    const unsigned flags = FlagsFromByte(size != 0 ? data[size - 1] : 0);
    const std::uint8_t* tail = data + size - limit;
    CheckDecoding(holder, tail, limit, flags);
    CheckEncoding(holder, UnitsFromBytes(tail, limit), flags, 1033);
    return 0;
}
