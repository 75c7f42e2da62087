// Submissions per second that rt12check scores: a class of 100 (half of them
// faulty) through one-second labs at the 8 MHz bus clock, with the runs
// spread over every processor and on one alone. The timed blink spends its
// second in a delay loop; the switches lab, given a second here, reads and
// writes the board's bus every third instruction.
#include "lab/batch.h"
#include "lab/lab_reader.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace torva::lab {
namespace {

namespace fs = std::filesystem;

constexpr int kClass = 100;

// A folder of 100 submissions, every other one the faulty solution.
class Class {
public:
    explicit Class(const std::string& lab_name) {
        path_ = fs::temp_directory_path() / ("lab-bench-" + std::to_string(::getpid()) + lab_name);
        fs::create_directories(path_);
        const fs::path labs = fs::path(TORVA_SOURCE_DIR) / "examples/labs";
        for (int i = 0; i < kClass; ++i) {
            const fs::path copy = path_ / ("student" + std::to_string(i) + ".asm");
            fs::copy_file(labs / (lab_name + (i % 2 ? "_faulty.asm" : "_correct.asm")), copy,
                          fs::copy_options::overwrite_existing);
            submissions_.push_back(copy);
        }
    }
    ~Class() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const std::vector<fs::path>& submissions() const { return submissions_; }

private:
    fs::path path_;
    std::vector<fs::path> submissions_;
};

Lab one_second_lab(const std::string& name) {
    std::ifstream in(fs::path(TORVA_SOURCE_DIR) / "examples/labs" / (name + ".toml"));
    std::ostringstream text;
    text << in.rdbuf();
    std::string lab = text.str();
    // The switches lab lasts 100 ms; here it lasts a second.
    const size_t limit = lab.find("time_limit = \"100ms\"");
    if (limit != std::string::npos) lab.replace(limit, 20, "time_limit = \"1s\"");
    std::string error;
    auto read = read_lab_text(lab, name + ".toml", TORVA_PROGRAM_DIR, error);
    if (!read) std::abort();
    return std::move(*read);
}

void check_class(benchmark::State& state, const std::string& name) {
    const Lab lab = one_second_lab(name);
    const Class students(name);
    const unsigned jobs = state.range(0) != 0 ? unsigned(state.range(0))
                                              : std::max(1u, std::thread::hardware_concurrency());
    int passed = 0;
    for (auto _ : state) {
        passed = 0;
        for (const SubmissionResult& result :
             check_submissions(lab, students.submissions(), {TORVA_PROGRAM_DIR, jobs, false}))
            passed += result.passed();
    }
    if (passed != kClass / 2) state.SkipWithError("the class was scored wrongly");
    state.counters["submissions"] = benchmark::Counter(double(kClass) * double(state.iterations()),
                                                       benchmark::Counter::kIsRate);
    state.counters["jobs"] = jobs;
}

void BM_TimedBlinkClass(benchmark::State& state) {
    check_class(state, "blink");
}
// 0: one job per processor.
BENCHMARK(BM_TimedBlinkClass)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime()
    ->Iterations(3);

void BM_SwitchesClass(benchmark::State& state) {
    check_class(state, "switches");
}
BENCHMARK(BM_SwitchesClass)->Arg(0)->Arg(1)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(2);

} // namespace
} // namespace torva::lab

BENCHMARK_MAIN();
