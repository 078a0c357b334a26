// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// Speed of the profile file: our parse against pugixml on the same file,
// whole loads and saves, for a profile right after a reset, a large profile
// and one with ten times that content; and parse and load of hostile files
// of 1 and 2 MB. The ratios are printed at the end: parse within 2x of
// pugixml, ten times the content within 11x the time, twice a hostile file
// within about twice the time. Every benchmark runs five times in random
// order and the fastest run counts; the "faults" column shows whether a
// timed run still mapped memory, "peak/size" the most heap a load held at
// once over the size of its file.
#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <atomic>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <new>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif
#if defined(__unix__) || defined(__APPLE__)
#include <sys/resource.h>
#endif

#include "profile/KeyboardProfile.h"
#include "profile/xml/MarkupDocument.h"
#include "profile/xml/TextCodec.h"

// Heap in use, and the most of it at once, counted by the global operator
// new and delete of this program (glibc: by usable size, so that a delete
// needs no size).
namespace heap {
std::atomic<std::size_t> inUse{0};
std::atomic<std::size_t> peak{0};

void* allocate(std::size_t size) {
    void* p = std::malloc(size ? size : 1);
    if (!p)
        throw std::bad_alloc();
#if defined(__GLIBC__)
    const std::size_t now = inUse += malloc_usable_size(p);
    for (std::size_t seen = peak; now > seen && !peak.compare_exchange_weak(seen, now);) {
    }
#endif
    return p;
}

void release(void* p) {
#if defined(__GLIBC__)
    if (p)
        inUse -= malloc_usable_size(p);
#endif
    std::free(p);
}

// The most heap that `run` held at once beyond what was in use before it.
template <typename Run>
double peakOf(Run run) {
    const std::size_t before = inUse;
    peak = before;
    run();
    return static_cast<double>(peak - before);
}
}  // namespace heap

void* operator new(std::size_t size) { return heap::allocate(size); }
void* operator new[](std::size_t size) { return heap::allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return heap::allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p) noexcept { heap::release(p); }
void operator delete[](void* p) noexcept { heap::release(p); }
void operator delete(void* p, std::size_t) noexcept { heap::release(p); }
void operator delete[](void* p, std::size_t) noexcept { heap::release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { heap::release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { heap::release(p); }

namespace {

constexpr int kReset = 0;    // the profile after resetToDefaults
// Large: every slot a 64-item macro, libraries of 20 such macros, 2.4 MB;
// ten times that stays below the profile file's size limit.
constexpr int kLarge = 1;
constexpr int kLarge10 = 10;  // ten times the large content

const std::filesystem::path& scratch() {
    static const std::filesystem::path dir = [] {
        std::random_device random;
        auto path = std::filesystem::temp_directory_path() / ("velkor-bench-" + std::to_string(random()));
        std::filesystem::create_directories(path);
        return path;
    }();
    return dir;
}

ActionList macro(int items) {
    ActionList list;
    list.sizeOfView = 9;
    for (int i = 0; i < items; ++i) {
        list.items.push_back(i % 2 ? L"<30 ms>" : (i % 4 == 0 ? L"Left Shift Down" : L"Left Shift UP"));
        list.children.emplace_back();
    }
    return list;
}

void fillLarge(KeyboardProfile& profile, int scale) {
    profile.resetToDefaults();
    const ActionList sequence = macro(64 * scale);
    for (int s = 2; s < KeyboardProfile::kSlotCount; ++s) {
        profile.modes[static_cast<std::size_t>(s)] = ModeMacro;
        profile.sequences[static_cast<std::size_t>(s)] = sequence;
    }
    const ActionList entry = macro(64);
    for (ActionList* library : {&profile.predefinedCombo, &profile.predefinedMacro, &profile.predefinedEmu}) {
        for (int e = 0; e < 20 * scale; ++e) {
            library->items.push_back(L"New Macro " + std::to_wstring(e + 1));
            library->children.push_back(entry);
        }
    }
}

struct Sample {
    std::unique_ptr<KeyboardProfile> profile = std::make_unique<KeyboardProfile>();
    std::filesystem::path file;
    std::string bytes;  // the file as saved
    std::wstring text;  // the same, decoded
};

// Page faults of the process so far; -1 where the system does not say.
long pageFaults() {
#if defined(__unix__) || defined(__APPLE__)
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) == 0)
        return usage.ru_minflt + usage.ru_majflt;
#endif
    return -1;
}

// Untimed rounds until one maps no fresh memory: on a virtual machine first
// touching hundreds of megabytes costs more than the work itself, and the
// heap of the largest content takes a few rounds to settle.
template <typename Round>
void warmUp(Round round) {
    for (int i = 0; i < 5; ++i) {
        const long before = pageFaults();
        round();
        if (before >= 0 ? pageFaults() == before : i >= 1)
            return;
    }
}

// Faults per timed iteration, so first touches left in the timing show.
void reportFaults(benchmark::State& state, long before) {
    if (before >= 0)
        state.counters["faults"] =
            benchmark::Counter(static_cast<double>(pageFaults() - before), benchmark::Counter::kAvgIterations);
}

Sample& sample(int content) {
    static std::map<int, Sample> samples;
    auto [it, fresh] = samples.try_emplace(content);
    Sample& s = it->second;
    if (fresh) {
        if (content == kReset)
            s.profile->resetToDefaults();
        else
            fillLarge(*s.profile, content);
        s.file = scratch() / ("sample-" + std::to_string(content) + ".pro");
        s.profile->saveProfile(s.file);
        MarkupDocument doc;
        doc.readFile(s.file, s.text);
        s.bytes = TextCodec::encodeUtf8(s.text);
    }
    return s;
}

// Parses of `text`, the decoded form of a file of `bytes` bytes.
void timeParse(benchmark::State& state, const std::wstring& text, std::size_t bytes) {
    warmUp([&] { MarkupDocument().setDocument(text); });
    const long faults = pageFaults();
    for (auto _ : state) {
        MarkupDocument doc;
        doc.setDocument(text);
        benchmark::DoNotOptimize(doc.elementCount());
    }
    reportFaults(state, faults);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}

// Loads of `file` into one profile; a hostile file is refused, quickly.
void timeLoad(benchmark::State& state, const std::filesystem::path& file, bool loads) {
    auto profile = std::make_unique<KeyboardProfile>();
    // From the second round on, the loaded profile and the one being read
    // coexist, which is the steady state of repeated loads.
    profile->loadProfile(file);
    warmUp([&] { profile->loadProfile(file); });
    state.counters["peak/size"] =
        heap::peakOf([&] { profile->loadProfile(file); }) / static_cast<double>(std::filesystem::file_size(file));
    const long faults = pageFaults();
    for (auto _ : state) {
        if (profile->loadProfile(file) != loads)
            state.SkipWithError(loads ? "load failed" : "hostile file loaded");
    }
    reportFaults(state, faults);
}

void BM_ParseMarkupDocument(benchmark::State& state) {
    const Sample& s = sample(static_cast<int>(state.range(0)));
    timeParse(state, s.text, s.bytes.size());
}

void BM_ParsePugixml(benchmark::State& state) {
    const Sample& s = sample(static_cast<int>(state.range(0)));
    warmUp([&] { pugi::xml_document().load_buffer(s.bytes.data(), s.bytes.size()); });
    const long faults = pageFaults();
    for (auto _ : state) {
        pugi::xml_document doc;
        const pugi::xml_parse_result result = doc.load_buffer(s.bytes.data(), s.bytes.size());
        benchmark::DoNotOptimize(result.status);
    }
    reportFaults(state, faults);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(s.bytes.size()));
}

void BM_LoadProfile(benchmark::State& state) {
    timeLoad(state, sample(static_cast<int>(state.range(0))).file, true);
}

void BM_SaveProfile(benchmark::State& state) {
    const Sample& s = sample(static_cast<int>(state.range(0)));
    const auto target = scratch() / ("save-" + std::to_string(state.range(0)) + ".pro");
    warmUp([&] { s.profile->saveProfile(target); });
    const long faults = pageFaults();
    for (auto _ : state) {
        if (!s.profile->saveProfile(target))
            state.SkipWithError("save failed");
    }
    reportFaults(state, faults);
}

// What a broken or hostile file can hold, about `bytes` long. Each shape
// once cost time or memory out of all proportion to its size.
struct Shape {
    const char* name;
    bool loads;  // well-formed, so a load succeeds
    std::string (*make)(std::size_t bytes);
};

std::string repeat(std::string_view head, std::string_view unit, std::size_t bytes, std::string_view tail = {}) {
    std::string text(head);
    while (text.size() + unit.size() + tail.size() <= bytes)
        text += unit;
    return text += tail;
}

const std::string kRootStart = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<VelkorOndrix_108>";
const std::string kRootEnd = "</VelkorOndrix_108>";

const Shape kShapes[] = {
    // Each end tag used to search every open element.
    {"unclosed-a-then-end-b", false,
     [](std::size_t bytes) { return repeat(kRootStart, "<a>", bytes / 2) + repeat("", "</b>", bytes / 2); }},
    // Each stray '<' used to add an error record.
    {"nothing-but-lt", false, [](std::size_t bytes) { return std::string(bytes, '<'); }},
    {"unterminated-quotes", false, [](std::size_t bytes) { return repeat(kRootStart, "<a x=\"", bytes); }},
    {"many-attributes", true,
     [](std::size_t bytes) {
         std::string text = kRootStart + "<PredefinedCombo><List";
         for (int i = 0; text.size() < bytes; ++i)
             text += " a" + std::to_string(i) + "=\"1\"";
         return text + "/></PredefinedCombo>" + kRootEnd;
     }},
    {"many-empty-elements", true, [](std::size_t bytes) { return repeat(kRootStart, "<a/>", bytes, kRootEnd); }},
    {"deep-lists", true,
     [](std::size_t bytes) {
         const std::string open = "<List><x ID=\"0\" t1=\"d\">";
         const std::string close = "</x></List>";
         const std::size_t levels = bytes / (open.size() + close.size());
         std::string text = kRootStart + "<PredefinedMacro>";
         for (std::size_t i = 0; i < levels; ++i)
             text += open;
         for (std::size_t i = 0; i < levels; ++i)
             text += close;
         return text + "</PredefinedMacro>" + kRootEnd;
     }},
    {"sparse-item-ids", true,
     [](std::size_t bytes) {
         std::string text = kRootStart + "<PredefinedEmu><List>";
         for (int i = 0; text.size() < bytes; ++i)
             text += "<x ID=\"" + std::to_string(99999 - i % 1000) + "\" t1=\"z\"/>";
         return text + "</List></PredefinedEmu>" + kRootEnd;
     }},
    {"one-long-name", true,
     [](std::size_t bytes) {
         return kRootStart + "<PredefinedCombo><List><x ID=\"0\" t1=\"" + std::string(bytes, 'n') +
                "\"/></List></PredefinedCombo>" + kRootEnd;
     }},
};
constexpr int kShapeCount = static_cast<int>(std::size(kShapes));

struct HostileFile {
    std::filesystem::path file;
    std::wstring text;
    std::size_t bytes = 0;
};

// Shape `shape` at `megabytes`, as a file and as decoded text.
const HostileFile& hostile(int shape, int megabytes) {
    static std::map<std::pair<int, int>, HostileFile> files;
    auto [it, fresh] = files.try_emplace({shape, megabytes});
    HostileFile& h = it->second;
    if (fresh) {
        const std::string bytes = kShapes[shape].make(static_cast<std::size_t>(megabytes) << 20);
        h.file = scratch() / ("hostile-" + std::to_string(shape) + "-" + std::to_string(megabytes) + ".pro");
        std::ofstream(h.file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        h.text = TextCodec::decodeUtf8(bytes);
        h.bytes = bytes.size();
    }
    return h;
}

void BM_ParseHostile(benchmark::State& state) {
    const HostileFile& h = hostile(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    state.SetLabel(kShapes[state.range(0)].name);
    timeParse(state, h.text, h.bytes);
}

void BM_LoadHostile(benchmark::State& state) {
    const HostileFile& h = hostile(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    state.SetLabel(kShapes[state.range(0)].name);
    timeLoad(state, h.file, kShapes[state.range(0)].loads);
}

BENCHMARK(BM_ParseHostile)->ArgsProduct({benchmark::CreateDenseRange(0, kShapeCount - 1, 1), {1, 2}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadHostile)->ArgsProduct({benchmark::CreateDenseRange(0, kShapeCount - 1, 1), {1, 2}})
    ->Unit(benchmark::kMillisecond);

#define PROFILE_BENCHMARK(fn) \
    BENCHMARK(fn)->Arg(kReset)->Arg(kLarge)->Arg(kLarge10)->Unit(benchmark::kMillisecond)
PROFILE_BENCHMARK(BM_ParseMarkupDocument);
PROFILE_BENCHMARK(BM_ParsePugixml);
PROFILE_BENCHMARK(BM_LoadProfile);
PROFILE_BENCHMARK(BM_SaveProfile);

// Console output as usual, plus the CPU time per iteration of every run (wall
// time swings on a shared machine), so the ratios can be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.iterations <= 0)
                continue;
            // The fastest repetition counts: on a shared machine the others
            // measure the neighbours.
            const double seconds = run.cpu_accumulated_time / static_cast<double>(run.iterations);
            const auto [it, fresh] = m_seconds.try_emplace(run.run_name.function_name + "/" + run.run_name.args, seconds);
            if (!fresh && seconds < it->second)
                it->second = seconds;
        }
    }

    void printRatios() const {
        const auto ratio = [this](const std::string& a, const std::string& b) {
            const auto x = m_seconds.find(a);
            const auto y = m_seconds.find(b);
            return (x == m_seconds.end() || y == m_seconds.end() || y->second <= 0) ? -1.0 : x->second / y->second;
        };
        std::printf("\nparse, MarkupDocument / pugixml (goal <= 2.0):\n");
        for (const char* arg : {"0", "1", "10"}) {
            std::printf("  content %-3s %6.2f\n", arg,
                        ratio(std::string("BM_ParseMarkupDocument/") + arg, std::string("BM_ParsePugixml/") + arg));
        }
        std::printf("ten times the content / large content (goal <= 11.0):\n");
        for (const char* name : {"BM_ParseMarkupDocument", "BM_ParsePugixml", "BM_LoadProfile", "BM_SaveProfile"}) {
            std::printf("  %-24s %6.2f\n", name, ratio(std::string(name) + "/10", std::string(name) + "/1"));
        }
        std::printf("hostile files, 2 MB / 1 MB (goal about 2.0):\n");
        std::printf("  %-24s %6s %6s\n", "", "parse", "load");
        for (int shape = 0; shape < kShapeCount; ++shape) {
            const std::string args = "/" + std::to_string(shape) + "/";
            std::printf("  %-24s %6.2f %6.2f\n", kShapes[shape].name,
                        ratio("BM_ParseHostile" + args + "2", "BM_ParseHostile" + args + "1"),
                        ratio("BM_LoadHostile" + args + "2", "BM_LoadHostile" + args + "1"));
        }
    }

private:
    std::map<std::string, double> m_seconds;
};

}  // namespace

int main(int argc, char** argv) {
#if defined(__GLIBC__)
    // Keep freed memory in the heap, so the warm rounds leave it mapped.
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, INT_MAX);
#endif
    // Repetitions in random order by default: the machine's speed drifts,
    // and run back to back the large and the ten-times content would meet
    // different moods. Flags given on the command line come later and win.
    static char repetitions[] = "--benchmark_repetitions=5";
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    std::vector<char*> args(argv, argv + argc);
    args.insert(args.begin() + 1, {repetitions, interleave});
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    std::error_code ec;
    std::filesystem::remove_all(scratch(), ec);
    return 0;
}
