// Another unit, or another calibration, for a 2001-sample run: every page drawn anew in it (the
// page on screen at once, the hidden ones when shown; each is shown in turn here).
#include <QTabWidget>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "bench/BenchWindows.h"
#include "session/Session.h"

namespace {

// The run with its model shown, the modelling dialog open, every page visited once.
QTabWidget* preparedRun(TFichePrincipale* main)
{
    pendulab::Session& session = *main->session;
    pendulab::Measurement m;
    const pendulab::Signal volts = decayingSine();
    m.volts.assign(volts.begin(), volts.end());
    session.addRun(m);
    session.setParameters(session.parameters());
    auto* tabs = main->findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    for (int i = tabs->count() - 1; i >= 0; --i) {
        tabs->setCurrentIndex(i);
        QApplication::processEvents();
    }
    return tabs;
}

// Times `change` and the redraw of every page after it.
template <class Change> void timeEveryPage(benchmark::State& state, Change change)
{
    AppWindows w = shownWindows();
    QTabWidget* tabs = preparedRun(w.FichePrincipale);
    std::vector<double> times;
    int k = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        change(*w.FichePrincipale->session, k++);
        for (int i = 0; i < tabs->count(); ++i) { // each page as the student would see it
            tabs->setCurrentIndex((tabs->currentIndex() + 1) % tabs->count());
            QApplication::processEvents();
        }
        const auto t1 = Clock::now();
        times.push_back(ms(t1 - t0));
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
    }
    std::sort(times.begin(), times.end());
    state.counters["every_page_median_ms"] = times[times.size() / 2];
    state.counters["every_page_worst_ms"] = times.back();
}

} // namespace

static void BM_SwitchUnit(benchmark::State& state)
{
    timeEveryPage(state, [](pendulab::Session& s, int k) { s.setDisplayUnit(k % 2 ? "V" : "cm"); });
}
BENCHMARK(BM_SwitchUnit)->UseManualTime()->Iterations(30)->Unit(benchmark::kMillisecond);

static void BM_SwitchCalibration(benchmark::State& state)
{
    timeEveryPage(state, [](pendulab::Session& s, int k) {
        s.setDisplayUnit("cm");
        s.setRunCalibration(0, pendulab::Calibration{k % 2 ? 0.005 : 0.004, 0.001 * k, true});
    });
}
BENCHMARK(BM_SwitchCalibration)->UseManualTime()->Iterations(30)->Unit(benchmark::kMillisecond);

// The same visits with nothing changed: what showing each page costs by itself.
static void BM_VisitPagesOnly(benchmark::State& state)
{
    timeEveryPage(state, [](pendulab::Session&, int) {});
}
BENCHMARK(BM_VisitPagesOnly)->UseManualTime()->Iterations(30)->Unit(benchmark::kMillisecond);
