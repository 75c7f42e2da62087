// Assembles a generated source of 200,000 lines (instructions, labels, data,
// comments) with ta12, which always writes its listing, and with GNU
// m68hc11-as -m68hcs12, which writes only its object file; prints both times.
#include "support/temp_dir.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

constexpr int kLines = 200000;

// One group of eight lines, in both dialects: ours, then GNU's.
struct Row {
    const char* ours;
    const char* gnu;
};
constexpr Row kGroup[] = {
    {"L%d: ldaa #$12", "L%d: ldaa #0x12"},
    {"; a comment line", "; a comment line"},
    {" ldd 16,x", " ldd 16,x"},
    {" staa <$40", " staa *0x40"},
    {" bne L%d", " bne L%d"},
    {" fcb 1,2,3", " .byte 1,2,3"},
    {" movb #1,$1234", " movb #1,0x1234"},
    {" jsr [d,x]  ; call through a table", " jsr [d,x]  ; call through a table"},
};

struct Sources {
    torva::test::TempDir dir;
    Sources() {
        std::string ours, gnu;
        char line[96];
        for (int i = 0; i < kLines / 8; ++i) {
            for (const Row& r : kGroup) {
                std::snprintf(line, sizeof line, r.ours, i);
                (ours += line) += '\n';
                std::snprintf(line, sizeof line, r.gnu, i);
                (gnu += line) += '\n';
            }
        }
        dir.write("big.asm", ours);
        dir.write("big.s", gnu);
    }
};

Sources& sources() {
    static Sources s;
    return s;
}

std::string ta12_path() {
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return (self.parent_path().parent_path() / "bin" / "ta12").string();
}

double child_cpu_seconds() {
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

void run_command(benchmark::State& state, const std::string& command) {
    const double cpu_before = child_cpu_seconds();
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError(("failed: " + command).c_str());
            return;
        }
    }
    state.counters["cpu_s"] =
        benchmark::Counter((child_cpu_seconds() - cpu_before) / double(state.iterations()));
}

void BM_Ta12WithListing(benchmark::State& state) {
    const std::string dir = sources().dir.path().string();
    run_command(state, "cd '" + dir + "' && '" + ta12_path() + "' -L big.asm > /dev/null");
}

void BM_GnuAsObjectOnly(benchmark::State& state) {
    if (std::system("m68hc11-as --version > /dev/null 2>&1") != 0) {
        state.SkipWithError("m68hc11-as is not installed");
        return;
    }
    const std::string dir = sources().dir.path().string();
    run_command(state, "cd '" + dir + "' && m68hc11-as -m68hcs12 -o big.o big.s");
}

BENCHMARK(BM_Ta12WithListing)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_GnuAsObjectOnly)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace

BENCHMARK_MAIN();
