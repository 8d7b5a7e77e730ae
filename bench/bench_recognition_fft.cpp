// RealFft of 2048 points against FFTW's single-precision real transform, in the same run.
// Prints both times and their ratio.
#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

#include "recognition/RealFft.h"

namespace {

constexpr int Size = 2048;

std::vector<float> input() {
    std::mt19937 random(1);
    std::uniform_real_distribution<float> value(-30000.0f, 30000.0f);
    std::vector<float> x(Size);
    for (auto& v : x) {
        v = value(random);
    }
    return x;
}

struct FftwPlan {
    struct FreePlan {
        void operator()(fftwf_plan_s* p) const { fftwf_destroy_plan(p); }
    };
    struct FreeBlock {
        void operator()(void* p) const { fftwf_free(p); }
    };
    std::unique_ptr<float, FreeBlock> in{static_cast<float*>(fftwf_malloc(sizeof(float) * Size))};
    std::unique_ptr<fftwf_complex, FreeBlock> out{
        static_cast<fftwf_complex*>(fftwf_malloc(sizeof(fftwf_complex) * (Size / 2 + 1)))};
    std::unique_ptr<fftwf_plan_s, FreePlan> plan{
        fftwf_plan_dft_r2c_1d(Size, in.get(), out.get(), FFTW_MEASURE)};
};

FftwPlan& fftwPlan() {
    static FftwPlan plan;
    return plan;
}

void BM_RealFft2048(benchmark::State& state) {
    const auto x = input();
    std::vector<float> a(Size);
    for (auto _ : state) {
        std::copy(x.begin(), x.end(), a.begin());
        tessimo::RealFft(Size, 1, a.data());
        benchmark::DoNotOptimize(a.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RealFft2048);

void BM_Fftw2048(benchmark::State& state) {
    const auto x = input();
    auto& p = fftwPlan();
    for (auto _ : state) {
        std::copy(x.begin(), x.end(), p.in.get());
        fftwf_execute(p.plan.get());
        benchmark::DoNotOptimize(p.out.get());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Fftw2048);

// Median of repeated timings of many calls, in nanoseconds per call (copy included).
template <typename F> double nanosecondsPerCall(F&& call) {
    std::vector<double> runs;
    for (int r = 0; r < 15; ++r) {
        const int calls = 2000;
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < calls; ++i) {
            call();
        }
        const auto stop = std::chrono::steady_clock::now();
        runs.push_back(std::chrono::duration<double, std::nano>(stop - start).count() / calls);
    }
    std::sort(runs.begin(), runs.end());
    return runs[runs.size() / 2];
}

void printRatio() {
    const auto x = input();
    std::vector<float> a(Size);
    auto& p = fftwPlan();
    const double ours = nanosecondsPerCall([&] {
        std::copy(x.begin(), x.end(), a.begin());
        tessimo::RealFft(Size, 1, a.data());
        benchmark::DoNotOptimize(a.data());
        benchmark::ClobberMemory();
    });
    const double fftw = nanosecondsPerCall([&] {
        std::copy(x.begin(), x.end(), p.in.get());
        fftwf_execute(p.plan.get());
        benchmark::DoNotOptimize(p.out.get());
        benchmark::ClobberMemory();
    });
    std::printf("RealFft 2048: %.0f ns, FFTW (FFTW_MEASURE) 2048: %.0f ns, ratio %.2f "
                "(target: at most 2)\n",
                ours, fftw, ours / fftw);
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printRatio();
    return 0;
}
