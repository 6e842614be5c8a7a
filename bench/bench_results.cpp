// The results page of a hundred fitted runs: the table, the graph and the law drawn anew, as after
// one run's fit.
#include <QTabWidget>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "bench/BenchWindows.h"
#include "session/Session.h"
#include "views/ResultsPage.h"

static void BM_ResultsRefresh(benchmark::State& state)
{
    AppWindows w = shownWindows();
    TFichePrincipale* main = w.FichePrincipale;
    pendulab::Session& session = *main->session;
    for (int k = 0; k < 100; ++k) {
        pendulab::Measurement m;
        const pendulab::Signal volts = decayingSine(0.03 * k, 0.1 + 0.002 * k);
        m.volts.assign(volts.begin(), volts.end());
        m.origin = pendulab::Origin::File;
        session.addRun(m);
        pendulab::ModelParameters p = session.parameters();
        p.mass = 0.2 + 0.005 * k;
        session.setParameters(p);
        session.fit(false);
    }
    session.setResultsChoice({"m", "T0²", pendulab::LawKind::Proportional});
    auto* page = main->findChild<TResultsPage*>();
    main->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentWidget(page);
    QApplication::processEvents();
    std::vector<double> times;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        page->drawAll(); // shown: the table, the lists, the points and the law at once
        const auto t1 = Clock::now();
        times.push_back(ms(t1 - t0));
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
    }
    std::sort(times.begin(), times.end());
    state.counters["refresh_100_runs_median_ms"] = times[times.size() / 2];
    state.counters["refresh_100_runs_worst_ms"] = times.back();
    state.counters["law_lines"] = static_cast<double>(page->lawLines().size());
}
BENCHMARK(BM_ResultsRefresh)->UseManualTime()->Iterations(30)->Unit(benchmark::kMillisecond);
