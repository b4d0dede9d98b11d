// Converts the same bytes with this program's code sets, glibc iconv and ICU in one run and
// reports MB/s (of multibyte text, in both directions) and the ratios to each peer; also the
// Rich Text Format writer and one whole conversion run on a 10 MiB clipboard text, the
// start-up cost of loading every shipped table, and memcpy of the same bytes as the ceiling.
#include <benchmark/benchmark.h>
#include <iconv.h>
#include <unicode/ucnv.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "AllocationCounter.h"
#include "SampleText.h"
#include "codeset/CodeSetHolder.h"
#include "codeset/DataDirectory.h"
#include "codeset/DoubleByteCodeSet.h"
#include "codeset/EntityFlags.h"
#include "codeset/SingleByteCodeSet.h"
#include "convert/BuildRtf.h"
#include "convert/ConversionPipeline.h"
#include "convert/ConvertedText.h"
#include "platform/InMemoryClipboard.h"
#include "platform/Prompts.h"

namespace {

constexpr std::size_t kMiB = 1024 * 1024;
constexpr std::size_t kTextBytes = 16 * kMiB;
constexpr std::size_t kClipboardBytes = 10 * kMiB;

struct Peer {
    const char* name;
    const char* codeSet;
    const char* sample;
    const char* iconvName;
    const char* icuName;
};

// A table of each family that ships, and UTF-8 and UTF-16.
const Peer kPeers[] = {
    {"windows-1252", "windows-1252", "windows-1252", "WINDOWS-1252", "windows-1252"},
    {"windows-932", "windows-932", "windows-932", "CP932", "windows-31j"},
    {"windows-936", "windows-936", "windows-936", "GBK", "windows-936"},
    {"windows-950", "windows-950", "windows-950", "BIG5", "windows-950"},
    {"windows-949", "windows-949", "windows-949", "UHC", "windows-949"},
    {"windows-1251", "windows-1251", "windows-1251", "WINDOWS-1251", "windows-1251"},
    {"cp437", "cp437", "cp437", "CP437", "ibm-437"},
    {"iso-8859-5", "iso-8859-5", "iso-8859-5", "ISO-8859-5", "iso-8859-5"},
    {"macintosh", "macintosh", "macintosh", "MACINTOSH", "macintosh"},
    {"utf-8-mixed", "utf-8", "mixed", "UTF-8", "utf-8"},
    {"utf-8-english", "utf-8", "english", "UTF-8", "utf-8"},
    {"utf-16", "utf-16", "japanese", "UTF-16LE", "UTF-16LE"},
};

std::string DataDirectory() {
    return PEL_BENCH_DATA_DIR;
}

// A loaded code set that stays for the whole run.
CodeSetHolder& Holder(const std::string& name) {
    static std::map<std::string, std::unique_ptr<CodeSetHolder>> holders;
    std::unique_ptr<CodeSetHolder>& holder = holders[name];
    if (!holder) {
        holder.reset(new CodeSetHolder());
        if (holder->Load(name) != CodeSetResult::Ok) {
            std::fprintf(stderr, "cannot load %s\n", name.c_str());
            std::exit(1);
        }
    }
    return *holder;
}

// Sample text of at least the given size in the code set, cut at a sentence.
struct Sample {
    std::u16string units;
    std::string bytes;
};

Sample MakeSample(const Peer& peer, std::size_t bytes) {
    const CodeSetHolder& holder = Holder(peer.codeSet);
    Sample sample;
    std::uint32_t seed = 2463534242u;
    while (sample.bytes.size() < bytes) {
        std::u16string units = SampleSentence(peer.sample, seed);
        AppendSampleBytes(*holder.codeSet, holder.kind == Utf16Kind, units, sample.bytes);
        sample.units += units;
    }
    return sample;
}

const Peer& PeerNamed(const std::string& name) {
    for (const Peer& peer : kPeers) {
        if (name == peer.name)
            return peer;
    }
    std::fprintf(stderr, "no benchmark text %s\n", name.c_str());
    std::exit(1);
}

const Sample& SampleFor(const std::string& name) {
    static std::map<std::string, Sample> samples;
    auto found = samples.find(name);
    if (found == samples.end())
        found = samples.emplace(name, MakeSample(PeerNamed(name), kTextBytes)).first;
    return found->second;
}

class IcuConverter {
public:
    explicit IcuConverter(const char* name) {
        UErrorCode error = U_ZERO_ERROR;
        converter_ = ucnv_open(name, &error);
        if (U_FAILURE(error)) {
            std::fprintf(stderr, "ICU cannot open %s\n", name);
            std::exit(1);
        }
    }
    ~IcuConverter() { ucnv_close(converter_); }
    std::size_t Decode(const std::string& in, std::u16string& out) {
        UErrorCode error = U_ZERO_ERROR;
        const int32_t n = ucnv_toUChars(converter_, reinterpret_cast<UChar*>(&out[0]),
                                        static_cast<int32_t>(out.size()), in.data(),
                                        static_cast<int32_t>(in.size()), &error);
        return U_FAILURE(error) ? 0 : static_cast<std::size_t>(n);
    }
    std::size_t Encode(const std::u16string& in, std::string& out) {
        UErrorCode error = U_ZERO_ERROR;
        const int32_t n = ucnv_fromUChars(converter_, &out[0], static_cast<int32_t>(out.size()),
                                          reinterpret_cast<const UChar*>(in.data()),
                                          static_cast<int32_t>(in.size()), &error);
        return U_FAILURE(error) ? 0 : static_cast<std::size_t>(n);
    }

private:
    UConverter* converter_ = nullptr;
};

class IconvConverter {
public:
    IconvConverter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            std::fprintf(stderr, "iconv cannot convert %s to %s\n", from, to);
            std::exit(1);
        }
    }
    ~IconvConverter() { iconv_close(cd_); }
    // Returns the bytes written.
    std::size_t Convert(const char* in, std::size_t inSize, char* out, std::size_t outSize) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* inPointer = const_cast<char*>(in);
        char* outPointer = out;
        std::size_t outLeft = outSize;
        if (iconv(cd_, &inPointer, &inSize, &outPointer, &outLeft) == static_cast<std::size_t>(-1))
            return 0;
        return outSize - outLeft;
    }

private:
    iconv_t cd_;
};

// Checks once that the three converters agree on the sample, so that they do the same work.
void CheckAgreement(const Peer& peer, const Sample& sample) {
    std::u16string icuUnits(sample.bytes.size() + 16, u'\0');
    icuUnits.resize(IcuConverter(peer.icuName).Decode(sample.bytes, icuUnits));
    std::u16string iconvUnits(sample.bytes.size() + 16, u'\0');
    iconvUnits.resize(IconvConverter("UTF-16LE", peer.iconvName)
                          .Convert(sample.bytes.data(), sample.bytes.size(),
                                   reinterpret_cast<char*>(&iconvUnits[0]), iconvUnits.size() * 2) /
                      2);
    std::string icuBytes(sample.bytes.size() + 16, '\0');
    icuBytes.resize(IcuConverter(peer.icuName).Encode(sample.units, icuBytes));
    std::string iconvBytes(sample.bytes.size() + 16, '\0');
    iconvBytes.resize(IconvConverter(peer.iconvName, "UTF-16LE")
                          .Convert(reinterpret_cast<const char*>(sample.units.data()),
                                   sample.units.size() * 2, &iconvBytes[0], iconvBytes.size()));
    if (icuUnits != sample.units || iconvUnits != sample.units || icuBytes != sample.bytes ||
        iconvBytes != sample.bytes) {
        std::fprintf(stderr, "warning: %s: the peers convert the sample differently\n", peer.name);
    }
}

void SetMegabytes(benchmark::State& state, std::size_t bytes) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["MB/s"] = benchmark::Counter(static_cast<double>(bytes) / 1e6,
                                                benchmark::Counter::kIsIterationInvariantRate);
}

double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// One direction of one code set: each iteration converts the sample with this program,
// ICU and iconv, and copies it with memcpy, one after the other, each timed on the thread's
// CPU clock. Taking turns keeps the ratios fair on a machine whose load changes.
void Versus(benchmark::State& state, const Peer& peer, bool decode) {
    const Sample& sample = SampleFor(peer.name);
    ConvertedText text;
    text.codeSetHolder = &Holder(peer.codeSet);
    text.unicode = sample.units;
    IcuConverter icu(peer.icuName);
    IconvConverter iconv(decode ? "UTF-16LE" : peer.iconvName,
                         decode ? peer.iconvName : "UTF-16LE");
    std::u16string units(sample.bytes.size() + 16, u'\0');
    std::string bytes(2 * sample.bytes.size() + 16, '\0');
    std::string copy(sample.bytes.size(), '\0');
    // Each contender writes to memory it has written before: the peers' buffers are filled
    // above and ours by one conversion here. Touching fresh pages costs a fault per page,
    // which in some virtual machines takes longer than converting them; that is the
    // allocator's cost, not the conversion's.
    if (decode)
        text.SetFromMultibyte(sample.bytes.c_str(), sample.bytes.size());
    else
        text.ToMultibyte();
    double seconds[4] = {};
    for (auto _ : state) {
        double start = ThreadSeconds();
        if (decode) {
            // Given the size, as the peers are (and as the clipboard's block is).
            text.SetFromMultibyte(sample.bytes.c_str(), sample.bytes.size());
            benchmark::DoNotOptimize(text.unicode.data());
        } else {
            benchmark::DoNotOptimize(text.ToMultibyte().data());
        }
        double end = ThreadSeconds();
        seconds[0] += end - start;
        start = end;
        if (decode) {
            benchmark::DoNotOptimize(icu.Decode(sample.bytes, units));
        } else {
            benchmark::DoNotOptimize(icu.Encode(sample.units, bytes));
        }
        end = ThreadSeconds();
        seconds[1] += end - start;
        start = end;
        if (decode) {
            benchmark::DoNotOptimize(
                iconv.Convert(sample.bytes.data(), sample.bytes.size(), &bytes[0], bytes.size()));
        } else {
            benchmark::DoNotOptimize(
                iconv.Convert(reinterpret_cast<const char*>(sample.units.data()),
                              sample.units.size() * 2, &bytes[0], bytes.size()));
        }
        end = ThreadSeconds();
        seconds[2] += end - start;
        start = end;
        std::memcpy(&copy[0], sample.bytes.data(), sample.bytes.size());
        benchmark::ClobberMemory();
        seconds[3] += ThreadSeconds() - start;
    }
    // UTF-16 has no multibyte form: its encoding writes nothing.
    if (decode ? text.unicode != sample.units
               : text.multibyte != (Holder(peer.codeSet).kind == Utf16Kind ? "" : sample.bytes))
        state.SkipWithError("the conversion differs from the sample");
    const double megabytes = static_cast<double>(sample.bytes.size()) * state.iterations() / 1e6;
    state.counters["pel_MBps"] = megabytes / seconds[0];
    state.counters["icu_MBps"] = megabytes / seconds[1];
    state.counters["iconv_MBps"] = megabytes / seconds[2];
    state.counters["memcpy_MBps"] = megabytes / seconds[3];
    state.counters["x_icu"] = seconds[1] / seconds[0];
    state.counters["x_iconv"] = seconds[2] / seconds[0];
}

// The clipboard text of a pipeline run: UTF-16 units of about kClipboardBytes, or the
// multibyte bytes.
std::string ClipboardBlock(const std::string& codeSet, bool unicode) {
    const Sample& sample = SampleFor(codeSet);
    if (!unicode) {
        // Cut after the last whole character.
        std::string bytes = sample.bytes.substr(0, kClipboardBytes);
        ConvertedText text;
        text.codeSetHolder = &Holder(codeSet);
        bytes.resize(text.SetFromMultibyte(bytes.c_str()).bytesRead);
        return bytes;
    }
    std::string block(kClipboardBytes, '\0');
    for (std::size_t i = 0; 2 * i + 1 < kClipboardBytes - 2 && i < sample.units.size(); ++i) {
        block[2 * i] = static_cast<char>(sample.units[i] & 0xFF);
        block[2 * i + 1] = static_cast<char>(sample.units[i] >> 8);
    }
    return block;
}

// A run of the benchmark never loads a missing table or finds the clipboard busy.
class SilentPrompts : public Prompts {
public:
    void Message(const std::string&, PromptIcon) override {}
    bool AskSaveImage(SaveImageChoice&) override { return false; }
};

// One conversion run as the main window starts it after a clipboard change, writing all
// five formats; reports the time and the most memory the run had allocated at once on top
// of what was there before it, in MiB and as a multiple of the clipboard text's size.
void Pipeline(benchmark::State& state, std::string codeSet, bool unicode, bool entities) {
    const std::string block = ClipboardBlock(codeSet, unicode);
    SetDataDirectory(DataDirectory());
    double peakExtra = 0;
    for (auto _ : state) {
        state.PauseTiming();
        InMemoryClipboard clipboard;
        clipboard.PutFromAnotherProgram({{unicode ? ClipboardUnicodeText : ClipboardText, block}});
        SilentPrompts prompts;
        ConversionPipeline pipeline(clipboard, prompts);
        const unsigned rtfFormat = pipeline.RichTextFormat();
        // Loaded before the clock runs, as the window keeps its code set from run to run.
        pipeline.LoadCodeSet(codeSet);
        ConversionSettings conversion;
        conversion.codeSetName = codeSet;
        conversion.allowEntities = entities;
        conversion.languageId = 1033;
        const std::size_t before = LiveAllocatedBytes();
        ResetAllocationPeak();
        state.ResumeTiming();

        const ConversionOutcome outcome = pipeline.Run(conversion);

        state.PauseTiming();
        peakExtra = std::max(peakExtra, static_cast<double>(PeakAllocatedBytes() - before));
        if (outcome != ConversionOutcome::Converted || !clipboard.HasBlock(rtfFormat)) {
            state.SkipWithError("the run did not convert");
            break;
        }
        state.ResumeTiming();
    }
    state.counters["peak_extra_MiB"] = peakExtra / kMiB;
    state.counters["peak_x_text"] = peakExtra / static_cast<double>(block.size());
    SetMegabytes(state, block.size());
}

void Rtf(benchmark::State& state, std::string codeSet) {
    const Sample& sample = SampleFor(codeSet);
    ConvertedText text;
    text.codeSetHolder = &Holder(codeSet);
    text.encodeFlags = ConversionEntityFlags;
    text.unicode = sample.units.substr(0, kClipboardBytes / 2);
    std::size_t size = 0;
    for (auto _ : state) {
        size = BuildRtf(text, 1033).size();
        benchmark::DoNotOptimize(size);
    }
    state.counters["rtf_MiB"] = static_cast<double>(size) / kMiB;
    SetMegabytes(state, text.unicode.size() * 2);
}

std::vector<std::string> ShippedTables() {
    std::vector<std::string> paths;
    for (const auto& entry : std::filesystem::directory_iterator(DataDirectory())) {
        if (entry.path().extension() == ".okc")
            paths.push_back(entry.path().string());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

// Start-up lists the code sets by loading every table file into one scratch holder.
void LoadAllTables(benchmark::State& state) {
    const std::vector<std::string> paths = ShippedTables();
    for (auto _ : state) {
        CodeSetHolder scratch;
        for (const std::string& path : paths) {
            if (scratch.Load(path) != CodeSetResult::Ok)
                state.SkipWithError("a table did not load");
        }
    }
    state.counters["tables"] = static_cast<double>(paths.size());
}

// Memory that a loaded table takes: the arrays of the file and what the indexes add.
void PrintTableMemory() {
    std::printf("%-22s %10s %10s %10s\n", "table", "file KiB", "index KiB", "total KiB");
    for (const std::string& path : ShippedTables()) {
        const std::size_t before = LiveAllocatedBytes();
        CodeSetHolder holder;
        holder.Load(path);
        const std::size_t total = LiveAllocatedBytes() - before;
        std::size_t arrays = 0;
        if (auto* single = dynamic_cast<SingleByteCodeSet*>(holder.codeSet.get())) {
            arrays = single->singleTable.capacity() * 2;
        } else if (auto* dbcs = dynamic_cast<DoubleByteCodeSet*>(holder.codeSet.get())) {
            arrays = dbcs->singleTable.capacity() * 2 + dbcs->doubleCodes.capacity() * 2 +
                     dbcs->doubleChars.capacity() * 2 + 256 * 5;
        }
        const std::size_t index = total > arrays ? total - arrays : 0;
        std::printf("%-22s %10.1f %10.1f %10.1f\n",
                    std::filesystem::path(path).filename().string().c_str(), arrays / 1024.0,
                    index / 1024.0, total / 1024.0);
    }
    std::printf("\n");
}

// Prints, after the usual output, each direction's throughput of the three converters and
// the ratios, taken from the medians when the benchmarks were repeated.
// Prints, after the usual output, each direction's throughput of the three converters and
// the ratios, from the medians when the benchmarks were repeated.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred || run.counters.count("x_icu") == 0)
                continue;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Aggregate && !median)
                continue;
            const std::string name = run.run_name.function_name;
            if (median || medians_.count(name) == 0) {
                rows_[name] = run.counters;
                if (median)
                    medians_[name] = true;
            }
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n%-14s %-7s %10s %10s %10s %8s %8s %10s\n", "code set", "dir", "pel MB/s",
                    "ICU MB/s", "iconv MB/s", "x ICU", "x iconv", "memcpy");
        for (const Peer& peer : kPeers) {
            for (const char* direction : {"Decode", "Encode"}) {
                auto row = rows_.find(std::string(direction) + "/" + peer.name);
                if (row == rows_.end())
                    continue;
                auto value = [&](const char* counter) {
                    auto found = row->second.find(counter);
                    return found == row->second.end() ? 0.0 : found->second.value;
                };
                std::printf("%-14s %-7s %10.0f %10.0f %10.0f %8.2f %8.2f %10.0f\n", peer.name,
                            direction, value("pel_MBps"), value("icu_MBps"), value("iconv_MBps"),
                            value("x_icu"), value("x_iconv"), value("memcpy_MBps"));
            }
        }
        std::fflush(stdout);
    }

private:
    std::map<std::string, benchmark::UserCounters> rows_;
    std::map<std::string, bool> medians_;
};

}  // namespace

int main(int argc, char** argv) {
    SetDataDirectory(DataDirectory());
    benchmark::Initialize(&argc, argv);
    PrintTableMemory();
    for (const Peer& peer : kPeers) {
        const std::string name = peer.name;
        benchmark::RegisterBenchmark(("Decode/" + name).c_str(), Versus, peer, true)
            ->Unit(benchmark::kMillisecond);
        // UTF-16 text has no bytes to be encoded into.
        if (Holder(peer.codeSet).kind != Utf16Kind) {
            benchmark::RegisterBenchmark(("Encode/" + name).c_str(), Versus, peer, false)
                ->Unit(benchmark::kMillisecond);
        }
    }
    for (const char* codeSet : {"windows-1252", "windows-932"}) {
        const std::string name = codeSet;
        benchmark::RegisterBenchmark(("BuildRtf/" + name).c_str(), Rtf, name)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Pipeline/" + name + "/unicode/entities").c_str(), Pipeline,
                                     name, true, true)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Pipeline/" + name + "/unicode/plain").c_str(), Pipeline,
                                     name, true, false)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Pipeline/" + name + "/multibyte/plain").c_str(), Pipeline,
                                     name, false, false)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("LoadAllTables", LoadAllTables)->Unit(benchmark::kMillisecond);

    // Samples are made, and checked against the peers, before anything is timed.
    for (const Peer& peer : kPeers)
        CheckAgreement(peer, SampleFor(peer.name));

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
