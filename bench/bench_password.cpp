// The password codec both ways.
#include "password/PasswordCodec.h"

#include <benchmark/benchmark.h>

namespace {
PasswordSettings Settings(int n)
{
    PasswordSettings s;
    s.Sector = static_cast<std::int16_t>(n % 7);
    s.Rations = static_cast<std::int16_t>(n % 5);
    s.Expert = n % 2;
    for (int i = 0; i < 6; ++i) {
        s.Progress[std::size_t(i)] = static_cast<std::int16_t>((n >> i) % 3);
        s.RationGained[std::size_t(i)] = (n >> i) & 1;
    }
    return s;
}
}

static void BM_MakePassword(benchmark::State& state)
{
    int n = 0;
    for (auto _ : state) {
        QString text = MakePassword(Settings(n));
        benchmark::DoNotOptimize(text);
        n = (n + 1) & 1023;
    }
}
BENCHMARK(BM_MakePassword);

static void BM_DecodePassword(benchmark::State& state)
{
    std::vector<QString> passwords;
    for (int n = 0; n < 64; ++n)
        passwords.push_back(MakePassword(Settings(n)));
    std::size_t i = 0;
    for (auto _ : state) {
        auto settings = DecodePassword(passwords[i]);
        if (!settings)
            state.SkipWithError("a made password did not decode");
        benchmark::DoNotOptimize(settings);
        i = (i + 1) % passwords.size();
    }
}
BENCHMARK(BM_DecodePassword);
