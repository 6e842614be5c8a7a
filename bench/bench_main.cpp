// Pendulab's speed figures: `make bench`.
#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QPainter>
#include <QLineEdit>
#include <QSlider>
#include <QTabWidget>
#include <benchmark/benchmark.h>
#include <qcustomplot.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <ctime>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "acquisition/AcqCore.h"
#include "acquisition/AcqData.h"
#include "core/SharedState.h"
#include "analysis/Derivative.h"
#include "views/PhaseImage.h"
#include "app/AppWindows.h"
#include "app/Main.h"
#include "views/Services.h"
#include "export/XLSfile.h"
#include "model/ModelPlots.h"
#include "model/Oscillator.h"
#include "views/conf1.h"
#include "session/Session.h"
#include "tests/gui/Controls.h"
#include "bench/BenchWindows.h"


namespace {

void reportDistribution(benchmark::State& state, std::vector<double> samples, const char* prefix = "")
{
    std::sort(samples.begin(), samples.end());
    const auto at = [&](double q) { return samples[std::min(samples.size() - 1, static_cast<std::size_t>(q * static_cast<double>(samples.size())))]; };
    state.counters[std::string(prefix) + "median_ms"] = at(0.5);
    state.counters[std::string(prefix) + "p95_ms"] = at(0.95);
}

} // namespace

static void BM_ModelCore(benchmark::State& state)
{
    pendulab::Signal pos{}, speed{};
    pendulab::OscillatorInputs in;
    in.excited = state.range(0) != 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(pendulab::computeOscillator(in, pos, speed));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ModelCore)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

static void BM_MeasuredAnalysisCore(benchmark::State& state)
{
    const pendulab::Signal pos = decayingSine();
    pendulab::Signal speed{};
    pendulab::PortraitData portrait;
    for (auto _ : state) {
        pendulab::computeMeasuredSpeed(pos, speed, 0.005);
        pendulab::computeMeasuredPortrait(pos, speed, 780, 430, portrait);
        benchmark::DoNotOptimize(portrait.points.data());
    }
}
BENCHMARK(BM_MeasuredAnalysisCore)->Unit(benchmark::kMicrosecond);

static void BM_StartupToMainWindowShown(benchmark::State& state)
{
    setUiServices(&silent);
    for (auto _ : state) {
        const auto t0 = Clock::now();
        AppWindows w = createWindows();
        w.FichePrincipale->setGeometry(0, 0, 1600, 900);
        w.FichePrincipale->show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(w.FichePrincipale->started());
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - t0).count());
        delete w.FichePrincipale;
        QApplication::processEvents();
    }
    setUiServices(nullptr);
}
BENCHMARK(BM_StartupToMainWindowShown)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

// One slider step: measured analysis + model + synchronous repaint of the visible "Acquisition" page,
// against the same polylines drawn with a bare QPainter on a same-size image.
static void BM_SliderStep(benchmark::State& state)
{
    AppWindows w = shownWindows();
    TFichePrincipale* main = w.FichePrincipale;
    pendulab::Measurement m;
    const pendulab::Signal sine = decayingSine();
    m.volts.assign(sine.begin(), sine.end());
    main->session->setMeasurement(m);
    // Arg 0: the measured curve not on the chart (as the figures before the session measured);
    // arg 1: the recording drawn, as a student sees it; arg 2: the same with the phase portrait's
    // page in view instead of the acquisition page.
    if (state.range(0) == 0) Series1(main)->data()->clear();
    if (state.range(0) == 2) PageControl1(main)->setCurrentIndex(2);
    w.config->show();
    QApplication::processEvents();
    std::vector<double> step, mesures, bare;
    int position = 40;
    for (auto _ : state) {
        position = position == 40 ? 41 : 40;
        pendulab::ModelParameters p = main->session->parameters();
        p.stiffness = position / 2.0;
        const auto t0 = Clock::now();
        // The model computed anew, then the measured analysis and the model redrawn; the visible
        // chart is replotted and repainted at once.
        main->session->setParameters(p);
        const auto t2 = Clock::now();
        step.push_back(ms(t2 - t0));
        state.SetIterationTime(std::chrono::duration<double>(t2 - t0).count());
    }
    for (int k = 0; k < 50; ++k) {
        const auto t0 = Clock::now();
        main->Mesures();
        mesures.push_back(ms(Clock::now() - t0));
    }
    // Where a step's time goes: the model and its energies (nothing announced), the model's layer
    // of the position chart, that chart's repaint from its buffers, and the whole chart for comparison.
    std::vector<double> modelOnly, layer, repaint, whole;
    for (int k = 0; k < 50; ++k) {
        pendulab::ModelParameters p = main->session->parameters();
        p.stiffness = (k % 2 ? 40 : 41) / 2.0;
        const QSignalBlocker quiet(main->session);
        auto t0 = Clock::now();
        main->session->setParameters(p);
        modelOnly.push_back(ms(Clock::now() - t0));
        if (state.range(0) == 2) continue;
        t0 = Clock::now();
        Chart1(main)->layer(QStringLiteral("model"))->replot();
        layer.push_back(ms(Clock::now() - t0));
        t0 = Clock::now();
        Chart1(main)->repaint();
        repaint.push_back(ms(Clock::now() - t0));
        t0 = Clock::now();
        Chart1(main)->replot(QCustomPlot::rpImmediateRefresh);
        whole.push_back(ms(Clock::now() - t0));
    }
    const auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v.empty() ? 0.0 : v[v.size() / 2];
    };
    state.counters["model_and_energies_ms"] = median(modelOnly);
    if (state.range(0) != 2) {
        state.counters["model_layer_ms"] = median(layer);
        state.counters["repaint_from_buffers_ms"] = median(repaint);
        state.counters["whole_chart_ms"] = median(whole);
    }
    // Baseline: the portrait segments and the two curves of the visible page, bare.
    QImage canvas(Chart1(main)->size(), QImage::Format_RGB32);
    QImage portraitImage(xy(main)->size(), QImage::Format_RGB32);
    pendulab::PortraitData measured;
    pendulab::computeMeasuredPortrait(main->session->data().MeasPos, main->session->data().MeasSpeed, portraitImage.width() / 2,
                                      portraitImage.height() / 2, measured);
    pendulab::ModelPlotData model;
    pendulab::computeModelPlots(main->session->data().ModelPos, main->session->data().ModelSpeed, portraitImage.width() / 2,
                                portraitImage.height() / 2, model);
    for (int k = 0; k < 50; ++k) {
        const auto t0 = Clock::now();
        QPainter p(&portraitImage);
        p.fillRect(portraitImage.rect(), Qt::white);
        p.setPen(QPen(Qt::blue, 1));
        for (std::size_t i = 1; i < measured.points.size(); ++i)
            p.drawLine(measured.points[i - 1].x, measured.points[i - 1].y, measured.points[i].x, measured.points[i].y);
        p.setPen(QPen(Qt::gray, 1));
        for (std::size_t i = 1; i < model.portrait.size(); ++i)
            p.drawLine(model.portrait[i - 1].x, model.portrait[i - 1].y, model.portrait[i].x, model.portrait[i].y);
        p.end();
        QPainter c(&canvas);
        c.fillRect(canvas.rect(), QColor(210, 210, 210));
        for (const auto* signal : {&main->session->data().MeasPos, &main->session->data().ModelPos}) {
            QPolygonF line;
            line.reserve(2000);
            for (int i = 1; i < 2000; ++i)
                line << QPointF(i * canvas.width() / 2000.0, canvas.height() * (0.5 - (*signal)[static_cast<std::size_t>(i)] / 22.0));
            c.setPen(QPen(Qt::blue, 1));
            c.drawPolyline(line);
        }
        c.end();
        bare.push_back(ms(Clock::now() - t0));
    }
    reportDistribution(state, step);
    reportDistribution(state, mesures, "mesures_");
    std::sort(bare.begin(), bare.end());
    std::sort(step.begin(), step.end());
    state.counters["bare_qpainter_median_ms"] = bare[bare.size() / 2];
    state.counters["ratio_to_bare"] = step[step.size() / 2] / bare[bare.size() / 2];
    delete w.FichePrincipale;
    setUiServices(nullptr);
}
BENCHMARK(BM_SliderStep)->Arg(0)->Arg(1)->Arg(2)->UseManualTime()->Iterations(200)->Unit(benchmark::kMillisecond);

// The export of 7968 cells to a file, and the same bytes with one write as the baseline.
static void BM_Export(benchmark::State& state)
{
    const auto dir = std::filesystem::temp_directory_path();
    const std::string target = (dir / "pendulab-bench.xls").string();
    const pendulab::Signal values = decayingSine();
    pendulab::TXLSfile xls;
    std::vector<double> exportTimes, bareTimes;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        xls.Reset();
        xls.FileName = target;
        for (std::uint16_t c = 1; c <= 4; ++c) xls.AddString(c, 1, 0x0100, "header");
        for (std::size_t i = 5; i <= 1995; ++i)
            for (std::uint16_t c = 1; c <= 4; ++c) xls.AddNumber(c, static_cast<std::uint16_t>(i - 3), 0x0100, values[i]);
        xls.WriteFile();
        const auto t1 = Clock::now();
        exportTimes.push_back(ms(t1 - t0));
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
    }
    std::ifstream in(target, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    for (int k = 0; k < 20; ++k) {
        const auto t0 = Clock::now();
        std::FILE* f = std::fopen(target.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        bareTimes.push_back(ms(Clock::now() - t0));
    }
    std::sort(exportTimes.begin(), exportTimes.end());
    std::sort(bareTimes.begin(), bareTimes.end());
    state.counters["median_ms"] = exportTimes[exportTimes.size() / 2];
    state.counters["one_write_median_ms"] = bareTimes[bareTimes.size() / 2];
    state.counters["ratio"] = exportTimes[exportTimes.size() / 2] / bareTimes[bareTimes.size() / 2];
    std::filesystem::remove(target);
}
BENCHMARK(BM_Export)->UseManualTime()->Iterations(50)->Unit(benchmark::kMillisecond);

namespace {
std::int32_t SYSAM_CALL instantSample(std::int16_t* table, std::int32_t*)
{
    table[1] = 2100;
    return 0;
}
} // namespace

// The program's own time per sample between driver calls, with a driver that answers at once.
static void BM_AcquisitionLoopPerSample(benchmark::State& state)
{
    pendulab::CardDriverTable card;
    card.AcquerirTable = &instantSample;
    std::array<std::int16_t, pendulab::RawSampleRoom> raw{};
    std::array<float, pendulab::SampleCount> volts{};
    std::atomic<bool> stop{false};
    for (auto _ : state) {
        pendulab::recordSamples(card, raw.data(), volts, stop, [](std::size_t, std::span<const float>) {});
        benchmark::DoNotOptimize(volts.data());
    }
    state.SetItemsProcessed(state.iterations() * pendulab::SampleCount);
    state.counters["ns_per_sample"] = benchmark::Counter(static_cast<double>(state.iterations() * pendulab::SampleCount),
                                                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert,
                                                         benchmark::Counter::kIs1000);
}
BENCHMARK(BM_AcquisitionLoopPerSample)->Unit(benchmark::kMicrosecond);

// A whole 2001-sample run through the window with the virtual card answering at once.
static void BM_FullRunVirtualCard(benchmark::State& state)
{
    ::setenv("VIRTUALCARD_PACE", "none", 1);
    setUiServices(&silent);
    AppWindows w = createWindows();
    w.FichePrincipale->setGeometry(0, 0, 1600, 900);
    w.FichePrincipale->show();
    QApplication::processEvents();
    for (auto _ : state) {
        w.FichePrincipale->aqucmdClick();
        while (w.FichePrincipale->running()) QApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    delete w.FichePrincipale;
    setUiServices(nullptr);
}
BENCHMARK(BM_FullRunVirtualCard)->Iterations(10)->Unit(benchmark::kMillisecond);

// The window thread's handling of the events a live run brings: the queued blocks and replots
// posted to the window, and the position chart's paints. Each paint closes one screen update.
struct UpdateProbe {
    QObject* window = nullptr;
    QObject* chart = nullptr;
    double pending = 0.0;                    // ms of work since the last paint
    std::vector<double> work, gaps;          // per screen update
    Clock::time_point lastPaint{};
};
UpdateProbe* probe = nullptr;

class ProbedApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override
    {
        const bool watched = probe && ((receiver == probe->window && event->type() == QEvent::MetaCall) ||
                                       (receiver == probe->chart && event->type() == QEvent::Paint));
        if (!watched) return QApplication::notify(receiver, event);
        const bool paint = event->type() == QEvent::Paint;
        const auto t0 = Clock::now();
        const bool done = QApplication::notify(receiver, event);
        const auto t1 = Clock::now();
        probe->pending += ms(t1 - t0);
        if (paint) {
            probe->work.push_back(probe->pending);
            probe->pending = 0.0;
            if (probe->lastPaint != Clock::time_point{}) probe->gaps.push_back(ms(t1 - probe->lastPaint));
            probe->lastPaint = t1;
        }
        return done;
    }
};

// A live run from the virtual card in real time: the window's own work per screen update (the
// blocks added to the curve, the growing curve's layer, the repaint), the gap between two screen
// updates, and the window thread's busy share.
static void BM_LiveRecording(benchmark::State& state)
{
    const int seconds = static_cast<int>(state.range(0));
    ::setenv("VIRTUALCARD_PACE", "real", 1);
    AppWindows w = shownWindows();
    TFichePrincipale* main = w.FichePrincipale;
    durtxt(main)->setText(QString::number(seconds));
    UpdateProbe watch;
    watch.window = main;
    watch.chart = Chart1(main);
    double busy = 0.0;
    for (auto _ : state) {
        timespec c0{}, c1{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &c0);
        const auto t0 = Clock::now();
        main->aqucmdClick();
        probe = &watch;
        while (main->running()) QApplication::processEvents(QEventLoop::WaitForMoreEvents); // sleeps between events
        probe = nullptr;
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &c1);
        const double cpu = (c1.tv_sec - c0.tv_sec) * 1e3 + (c1.tv_nsec - c0.tv_nsec) / 1e6;
        busy = cpu / ms(Clock::now() - t0);
    }
    reportDistribution(state, watch.work, "update_");
    reportDistribution(state, watch.gaps, "gap_");
    state.counters["window_thread_busy_share"] = busy;
    delete w.FichePrincipale;
    setUiServices(nullptr);
    ::setenv("VIRTUALCARD_PACE", "none", 1);
}
BENCHMARK(BM_LiveRecording)->Arg(1)->Arg(10)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    char folder[] = "/tmp/pendulab-bench-XXXXXX"; // the autosaves of the windows measured
    if (::mkdtemp(folder) != nullptr) ::setenv("XDG_DATA_HOME", folder, 1);
    ProbedApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
