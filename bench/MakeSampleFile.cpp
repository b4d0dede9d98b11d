// pel_sample CODESET BYTES bytes|utf16le OUTPUT [SAMPLE]: writes the benchmark's sample text
// for a code set (or the sample of that name), whole sentences until the chosen form holds at
// least BYTES bytes: encoded by the shipped table (the input of a decoding) or as UTF-16LE
// (the input of an encoding).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "SampleText.h"
#include "codeset/CodeSetHolder.h"
#include "codeset/DataDirectory.h"

int main(int argc, char** argv) {
    if ((argc != 5 && argc != 6) ||
        (std::strcmp(argv[3], "bytes") != 0 && std::strcmp(argv[3], "utf16le") != 0)) {
        std::fprintf(stderr, "usage: pel_sample CODESET BYTES bytes|utf16le OUTPUT [SAMPLE]\n");
        return 1;
    }
    SetDataDirectory(PEL_BENCH_DATA_DIR);
    CodeSetHolder holder;
    if (holder.Load(argv[1]) != CodeSetResult::Ok) {
        std::fprintf(stderr, "pel_sample: cannot load %s\n", argv[1]);
        return 1;
    }
    const std::size_t target = std::strtoull(argv[2], nullptr, 10);
    const bool encoded = std::strcmp(argv[3], "bytes") == 0;
    std::FILE* out = std::fopen(argv[4], "wb");
    if (out == nullptr) {
        std::fprintf(stderr, "pel_sample: cannot create %s\n", argv[4]);
        return 1;
    }
    const std::string sample = argc == 6 ? argv[5] : argv[1];
    std::uint32_t seed = 2463534242u;
    std::string block;
    std::size_t written = 0;
    while (written < target) {
        block.clear();
        while (block.size() < 65536) {
            std::u16string units = SampleSentence(sample, seed);
            std::string bytes;
            AppendSampleBytes(*holder.codeSet, holder.kind == Utf16Kind, units, bytes);
            if (encoded) {
                block += bytes;
            } else {
                for (char16_t unit : units) {
                    block += static_cast<char>(unit & 0xFF);
                    block += static_cast<char>(unit >> 8);
                }
            }
        }
        written += std::fwrite(block.data(), 1, block.size(), out);
    }
    return std::fclose(out) == 0 ? 0 : 1;
}
