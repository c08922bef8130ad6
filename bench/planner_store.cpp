// The planning grid's day storage on a planner file of 100,000 entries over
// several years, each operation set against reading and writing the same
// file raw in the same run.
#include "planner/Plann32.h"
#include "planner/PlannerGlyphs.h"
#include "platform/FileIO.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <utility>

namespace {

constexpr int Days = 2500; // from 2041 into 2047: stamps on both sides of the sign change
constexpr int EntriesPerDay = 40; // columns 1..4, rows 1..10
const QDate FirstDay(2041, 1, 1);
const QDate Middle = FirstDay.addDays(Days / 2);

struct Setup {
    QTemporaryDir dir;
    QString file;
    QString copy;
    QString unsynced;
    QTreeWidget tree;
    QTreeWidget list;
    std::unique_ptr<TPlanning> grid;

    Setup()
    {
        file = dir.filePath(QStringLiteral("bench.tpl"));
        copy = dir.filePath(QStringLiteral("copy.tpl"));
        unsynced = dir.filePath(QStringLiteral("unsynced.tpl"));
        plan::PlanStore store;
        QList<QByteArray> lines;
        lines.reserve(qsizetype { Days } * EntriesPerDay);
        for (int d = 0; d < Days; ++d) {
            const qint32 stamp = plan::packDate(FirstDay.addDays(d));
            for (int c = 1; c <= 4; ++c)
                for (int r = 1; r <= 10; ++r)
                    lines.append(plan::makeKey(stamp, c, r) + "Entry " + QByteArray::number(d * 100 + c * 10 + r)
                        + (r % 3 == 0 ? "#" : ""));
        }
        store.assign(std::move(lines));
        store.save(file);
        list.setColumnCount(4);
        grid = std::make_unique<TPlanning>();
        grid->setPath(dir.path() + u'/');
        grid->setUser(QStringLiteral("bench"));
        grid->setTreeView(&tree);
        grid->setListView(&list);
        // The pictures the planner window gives the views.
        grid->setTreeImages(plannerglyphs::treeImages());
        grid->setListImages(plannerglyphs::listImages());
        grid->SetPlanDate(Middle);
    }
    ~Setup() { grid.reset(); }
};

Setup* setup = nullptr;

void RawReadWrite(benchmark::State& state)
{
    for (auto _ : state) {
        const QByteArray data = platform::readWholeFile(setup->file);
        platform::replaceFileAtomically(setup->copy, data, 0600);
    }
}

// For comparison only: the same without syncing the written file to disk.
void RawReadWriteUnsynced(benchmark::State& state)
{
    for (auto _ : state) {
        const QByteArray data = platform::readWholeFile(setup->file);
        QFile out(setup->unsynced);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(data) != data.size())
            state.SkipWithError("cannot write");
    }
}

// Runs `operation`; with `rereading`, the store is emptied first each time, so the file is read.
template <class Operation> void Repeat(benchmark::State& state, bool rereading, Operation operation)
{
    setup->grid->LoadStore();
    for (auto _ : state) {
        if (rereading) {
            state.PauseTiming();
            setup->grid->ClearStore();
            state.ResumeTiming();
        }
        operation();
    }
    // The store holds the file again, as the window's does while a user is in.
    setup->grid->LoadStore();
}

void LoadDay(benchmark::State& state, bool rereading)
{
    Repeat(state, rereading, [] {
        setup->grid->ClearDay();
        setup->grid->LoadDay();
    });
    if (setup->grid->Cells(1, 1).isEmpty())
        state.SkipWithError("nothing loaded");
}

// Twelve cells change each time: four texts edited, four cells filled and four emptied, then back.
void SaveDay(benchmark::State& state)
{
    TPlanning& grid = *setup->grid;
    grid.ClearDay();
    grid.LoadDay();
    bool flip = false;
    for (auto _ : state) {
        state.PauseTiming();
        flip = !flip;
        for (int c = 1; c <= 4; ++c) {
            grid.setCells(c, 1, flip ? QStringLiteral("Edited") : QStringLiteral("Entry"));
            grid.setCells(c, 11, flip ? QStringLiteral("Added") : QString());
            grid.setCells(c, 10, flip ? QString() : QStringLiteral("Back"));
        }
        state.ResumeTiming();
        grid.SaveDay();
    }
}

void FillTree(benchmark::State& state, bool rereading)
{
    Repeat(state, rereading, [] { setup->grid->FillTree(); });
    if (setup->tree.topLevelItemCount() != 1 || setup->tree.topLevelItem(0)->childCount() < 6)
        state.SkipWithError("tree incomplete");
}

void FillList(benchmark::State& state, bool rereading)
{
    Repeat(state, rereading, [] { setup->grid->FillList(Middle); });
    if (setup->list.topLevelItemCount() < EntriesPerDay)
        state.SkipWithError("list incomplete");
}

void ToggleDone(benchmark::State& state)
{
    setup->grid->FillList(Middle);
    for (auto _ : state) {
        state.PauseTiming();
        setup->list.clearSelection();
        setup->list.topLevelItem(5)->setSelected(true);
        state.ResumeTiming();
        setup->grid->ToggleDone();
    }
}

// Keeps every benchmark's median time per iteration for the table of ratios.
class Collector final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (!run.error_occurred && run.aggregate_name == "median") {
                seconds[run.run_name.function_name] = run.GetAdjustedRealTime();
                cpuSeconds[run.run_name.function_name] = run.GetAdjustedCPUTime();
            }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> seconds;
    std::map<std::string, double> cpuSeconds;
};

// A machine shared with others makes single runs stray: each benchmark runs
// five times, and the ratios take the medians.
void Repeated(benchmark::internal::Benchmark* benchmark) { benchmark->Repetitions(5)->ReportAggregatesOnly(true); }

} // namespace

// Each operation with the raw read and write measured just before it: the
// machine's speed may drift over the minutes the whole run takes.
const std::pair<const char*, void (*)(benchmark::State&)> operations[] = {
    { "LoadDay", [](benchmark::State& state) { LoadDay(state, false); } },
    { "LoadDayRereading", [](benchmark::State& state) { LoadDay(state, true); } },
    { "SaveDay", SaveDay },
    { "FillTree", [](benchmark::State& state) { FillTree(state, false); } },
    { "FillTreeRereading", [](benchmark::State& state) { FillTree(state, true); } },
    { "FillList", [](benchmark::State& state) { FillList(state, false); } },
    { "FillListRereading", [](benchmark::State& state) { FillList(state, true); } },
    { "ToggleDone", ToggleDone },
};

std::string rawBefore(const char* operation) { return std::string("RawReadWrite/before ") + operation; }

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Setup data;
    setup = &data;
    std::printf("planner file: %d entries, %lld bytes\n", Days * EntriesPerDay,
        static_cast<long long>(QFile(data.file).size()));
    benchmark::RegisterBenchmark("RawReadWriteUnsynced", RawReadWriteUnsynced)
        ->Unit(benchmark::kMillisecond)
        ->Apply(Repeated);
    for (const auto& [name, run] : operations) {
        benchmark::RegisterBenchmark(rawBefore(name).c_str(), RawReadWrite)
            ->Unit(benchmark::kMillisecond)
            ->Apply(Repeated);
        benchmark::RegisterBenchmark(name, run)->Unit(benchmark::kMillisecond)->Apply(Repeated);
    }
    Collector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);
    // Wall time is what the user waits for; processor time shows the work
    // apart from waiting on the disk and on other processes.
    const auto& wall = collector.seconds;
    const auto& cpu = collector.cpuSeconds;
    std::printf("\nratios to reading and writing the file raw just before:\n%-17s %10s %10s %18s\n", "operation",
        "wall", "processor", "wall, unsynced");
    for (const auto& [name, run] : operations) {
        const std::string raw = rawBefore(name);
        if (!wall.count(name) || !wall.count(raw) || !wall.count("RawReadWriteUnsynced"))
            continue;
        std::printf("%-17s %10.2f %10.2f %18.2f\n", name, wall.at(name) / wall.at(raw), cpu.at(name) / cpu.at(raw),
            wall.at(name) / wall.at("RawReadWriteUnsynced"));
    }
    setup = nullptr;
    benchmark::Shutdown();
    return 0;
}
