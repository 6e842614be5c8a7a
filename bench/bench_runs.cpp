// An experiment of ten shown runs: a slider step (the active run's model redrawn over the others)
// against the same polylines drawn with a bare QPainter, and the switch from one active run to another.
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <qcustomplot.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "bench/BenchWindows.h"
#include "session/ExperimentFile.h"
#include "session/Session.h"
#include "tests/gui/Controls.h"
#include "views/conf1.h"

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

// Ten runs of 2001 samples, each its own decay and phase, every one shown; the last one active.
void tenRuns(pendulab::Session& session)
{
    for (int k = 0; k < 10; ++k) {
        pendulab::Measurement m;
        const pendulab::Signal volts = decayingSine(0.3 * k, 0.1 + 0.03 * k);
        m.volts.assign(volts.begin(), volts.end());
        m.origin = pendulab::Origin::File;
        session.addRun(m);
    }
}

} // namespace

static void BM_SliderStepRuns(benchmark::State& state)
{
    AppWindows w = shownWindows();
    TFichePrincipale* main = w.FichePrincipale;
    tenRuns(*main->session);
    w.config->show();
    QApplication::processEvents();
    std::vector<double> step, bare, switching;
    int position = 40;
    for (auto _ : state) {
        position = position == 40 ? 41 : 40;
        pendulab::ModelParameters p = main->session->parameters();
        p.stiffness = position / 2.0;
        const auto t0 = Clock::now();
        main->session->setParameters(p); // computed, then every page redraws it; the visible one at once
        const auto t1 = Clock::now();
        step.push_back(ms(t1 - t0));
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
    }
    // Baseline: the visible chart's polylines, every shown run and the model, on a same-size image.
    QCustomPlot* chart = Chart1(main);
    QImage canvas(chart->size(), QImage::Format_RGB32);
    for (int k = 0; k < 50; ++k) {
        const auto t0 = Clock::now();
        QPainter c(&canvas);
        c.fillRect(canvas.rect(), QColor(210, 210, 210));
        for (int r = 0; r <= main->session->runCount(); ++r) {
            const bool model = r == main->session->runCount();
            const std::vector<double>& values = model ? main->session->data().ModelPos : main->session->run(r).data.MeasPos;
            QPolygonF line;
            line.reserve(2000);
            for (int i = 1; i < 2000; ++i)
                line << QPointF(i * canvas.width() / 2000.0, canvas.height() * (0.5 - values[static_cast<std::size_t>(i)] / 22.0));
            c.setPen(QPen(model ? Qt::gray : Qt::blue, 1));
            c.drawPolyline(line);
        }
        c.end();
        bare.push_back(ms(Clock::now() - t0));
    }
    // Another run made active, drawn at once with its model; the window's events after it included.
    for (int k = 0; k < 40; ++k) {
        const auto t0 = Clock::now();
        main->session->setActiveRun(k % 2 ? 9 : 4);
        QApplication::processEvents();
        switching.push_back(ms(Clock::now() - t0));
    }
    state.counters["median_ms"] = median(step);
    state.counters["bare_qpainter_median_ms"] = median(bare);
    state.counters["ratio_to_bare"] = median(step) / median(bare);
    std::sort(switching.begin(), switching.end());
    state.counters["switch_median_ms"] = median(switching);
    state.counters["switch_p95_ms"] = switching[switching.size() * 95 / 100];
    state.counters["switch_worst_ms"] = switching.back();
    delete w.FichePrincipale;
    setUiServices(nullptr);
}
BENCHMARK(BM_SliderStepRuns)->UseManualTime()->Iterations(200)->Unit(benchmark::kMillisecond);

// Saving and opening a 10-run experiment through its file, and what an autosave of 100 runs
// holds the window's thread for (the copy it hands to the writer).
static void BM_ExperimentFile(benchmark::State& state)
{
    pendulab::Session session;
    for (int k = 0; k < 100; ++k) {
        pendulab::Measurement m;
        const pendulab::Signal volts = decayingSine(0.1 * k, 0.1 + 0.003 * k);
        m.volts.assign(volts.begin(), volts.end());
        session.addRun(m);
        if (k == 9) {
            const std::string path = (std::filesystem::temp_directory_path() / "pendulab-bench.pendulab").string();
            std::vector<double> save, open;
            for (int i = 0; i < 20; ++i) {
                auto t0 = Clock::now();
                pendulab::saveExperimentFile(path, session.experiment());
                save.push_back(ms(Clock::now() - t0));
                pendulab::Session read;
                t0 = Clock::now();
                read.setExperiment(pendulab::loadExperimentFile(path));
                open.push_back(ms(Clock::now() - t0));
            }
            std::filesystem::remove(path);
            state.counters["save_10_runs_ms"] = median(save);
            state.counters["open_10_runs_ms"] = median(open);
        }
    }
    std::vector<double> hold;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        benchmark::DoNotOptimize(session.experiment()); // the autosave's part on the window's thread
        const auto t1 = Clock::now();
        hold.push_back(ms(t1 - t0));
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
    }
    std::sort(hold.begin(), hold.end());
    state.counters["autosave_100_runs_hold_worst_ms"] = hold.back();
    state.counters["autosave_100_runs_hold_median_ms"] = median(hold);
}
BENCHMARK(BM_ExperimentFile)->UseManualTime()->Iterations(30)->Unit(benchmark::kMillisecond);
