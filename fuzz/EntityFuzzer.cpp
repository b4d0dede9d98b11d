// ParseEntity on the text after an ampersand, in every kind of code set.
#include <cstdint>
#include <cstring>
#include <vector>

#include "FuzzSupport.h"
#include "codeset/CodeSet.h"
#include "codeset/CodeSetHolder.h"
#include "codeset/CodeSetResult.h"
#include "codeset/EntityTable.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    UseShippedData();
    FuzzCodeSets();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    CodeSetHolder& holder = PickCodeSet(data[0]);
    const bool wide = holder.kind == Utf16Kind;
    // The ampersand in the code set's own form, then the input up to its first zero byte.
    std::vector<std::uint8_t> body;
    body.push_back('&');
    if (wide)
        body.push_back(0);
    const std::size_t rest = strnlen(reinterpret_cast<const char*>(data + 1), size - 1);
    body.insert(body.end(), data + 1, data + 1 + rest);
    auto text = TerminatedCopy(body.data(), body.size(), wide ? 2 : 1);

    char16_t ch = 0xABCD;
    std::size_t consumed = wide ? 2 : 1;
    const CodeSetResult result = holder.codeSet->ParseEntity(text.get(), ch, consumed);
    FUZZ_CHECK(result == CodeSetResult::Ok || result == CodeSetResult::BadEntity);
    FUZZ_CHECK(consumed <= body.size() + (wide ? 1 : 0));
    if (result == CodeSetResult::Ok) {
        // A parsed entity ends at its semicolon.
        FUZZ_CHECK(text[consumed - (wide ? 2 : 1)] == ';' ||
                   holder.kind > Utf8Kind);  // table code sets may map another byte to ';'
    }

    // A decoder that meets the ampersand reads the same entity.
    char16_t decoded = 0;
    std::size_t decodedConsumed = 0;
    bool isEntity = false;
    holder.codeSet->DecodeChar(text.get(), decoded, decodedConsumed, isEntity, 0x001);
    return 0;
}
