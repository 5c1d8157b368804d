// Speed of the task store and of the scan at 1,000 and 10,000 tasks.
// Goals: a full scan of 10,000 tasks under 20 ms; one numbered operation costs the same at
// 10,000 records as at 1,000.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <memory>

#include "core/ClockHelper.h"
#include "core/Scheduler.h"
#include "core/TaskStore.h"

using namespace tolvane;

namespace {

struct Store {
    QTemporaryDir dir;
    TaskStore store{dir.path()};
    explicit Store(int tasks) {
        (void)store.Create();
        (void)store.Open();
        for (int i = 0; i < tasks; ++i) {
            const QByteArray b = QByteArray("\x01\x01", 2);
            const QByteArray c = ClockHelper::ToBytes({i % 24, i % 60, (i * 7) % 60});
            (void)store.AddRecord({b, c, QStringLiteral("1提醒事项"), QStringLiteral("0|1|")});
        }
    }
};

void BM_Scan(benchmark::State& state) {
    Store s(static_cast<int>(state.range(0)));
    const platform::LocalTime now{QDate(2026, 12, 9), QTime(0, 0, 0)};
    for (auto _ : state) {
        auto rows = s.store.Snapshot();
        auto plan = Scheduler::Plan(rows, now, 0);
        benchmark::DoNotOptimize(plan);
    }
}
BENCHMARK(BM_Scan)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ReadBCDEveryRecord(benchmark::State& state) {
    Store s(static_cast<int>(state.range(0)));
    const int n = s.store.RecordCount();
    for (auto _ : state) {
        for (int i = 1; i <= n; ++i) {
            benchmark::DoNotOptimize(s.store.ReadB(i));
            benchmark::DoNotOptimize(s.store.ReadC(i));
            benchmark::DoNotOptimize(s.store.ReadD(i));
        }
    }
    state.SetItemsProcessed(state.iterations() * n);  // items/s: records read per second
}
BENCHMARK(BM_ReadBCDEveryRecord)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// One numbered read near the end of the file: must not grow with the record number.
void BM_ReadLastRecord(benchmark::State& state) {
    Store s(static_cast<int>(state.range(0)));
    const int n = s.store.RecordCount();
    for (auto _ : state) benchmark::DoNotOptimize(s.store.ReadC(n));
}
BENCHMARK(BM_ReadLastRecord)->Arg(1000)->Arg(10000);

void BM_AddRecord(benchmark::State& state) {
    Store s(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        (void)s.store.AddRecord({QByteArray("\x01\x00", 2), QByteArray(3, '\0'), QStringLiteral("0"),
                                 QStringLiteral("0|1|")});
    }
}
BENCHMARK(BM_AddRecord)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_PurgeTenth(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto s = std::make_unique<Store>(static_cast<int>(state.range(0)));
        for (int i = 1; i <= s->store.RecordCount(); i += 10) s->store.DeleteRecord(i);
        state.ResumeTiming();
        s->store.Purge();
        state.PauseTiming();
        s.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PurgeTenth)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
