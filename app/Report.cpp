// The lab report ("&Rapport PDF…"): a title, the recording, the model's parameters and results, the
// charts as vector drawings and the phase portrait, on A4 pages written through a temporary file.
#include "app/RecentFolder.h"
#include "app/Report.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <qcustomplot.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "views/Page.h"
#include "views/Format.h"
#include "app/Main.h"
#include "core/FormatCore.h"
#include "views/Services.h"
#include "session/Session.h"

namespace {

// The report's texts, in the user's language.
class Report {
    Q_DECLARE_TR_FUNCTIONS(Report)
};

QString significant(double value) { return fmtSignificant(value, 4); }
QString fixed(double value, int decimals) { return fmtNumber(value, 'f', decimals); }

QString recordingDate(const std::string& iso)
{
    const QDateTime when = QDateTime::fromString(QString::fromStdString(iso), Qt::ISODate);
    if (!when.isValid()) return iso.empty() ? Report::tr("inconnue") : QString::fromStdString(iso);
    const QLocale locale;
    return Report::tr("%1 à %2", "date at time")
        .arg(locale.toString(when.date(), QLocale::LongFormat), when.time().toString(QStringLiteral("HH:mm:ss")));
}

// Blocks placed one under the other, a new page when the next one does not fit.
class Sheet {
public:
    explicit Sheet(QPdfWriter& writer) : writer_(writer), painter_(&writer)
    {
        if (!painter_.isActive()) throw std::runtime_error(Report::tr("le document PDF n'a pas pu être commencé").toStdString());
        area_ = painter_.viewport();
        area_.moveTo(0, 0);
        y_ = 0;
    }
    ~Sheet()
    {
        if (painter_.isActive()) painter_.end();
    }
    Sheet(const Sheet&) = delete;
    Sheet& operator=(const Sheet&) = delete;

    void title(const QString& text) { textBlock(text, 18, true, 6); }
    void heading(const QString& text)
    {
        y_ += 8;
        textBlock(text, 13, true, 3);
    }
    void line(const QString& text) { textBlock(text, 10, false, 1); }
    void gap(int pixels) { y_ += pixels; }

    // A page as it draws itself into the report, the page's width wide.
    void page(TPage& page)
    {
        const int width = area_.width();
        page.prepareReport();
        int height = page.reportHeight(width);
        // Pages filled in order: a drawing that nearly fits what is left of the page shrinks to it.
        const int room = area_.height() - y_ - captionHeight() - 6;
        if (height > room && room >= height * 3 / 5) height = room;
        if (height <= 0) {
            line(Report::tr("%1 : aucun tracé").arg(page.reportCaption()));
            return;
        }
        reserve(captionHeight() + height);
        textBlock(page.reportCaption(), 10, true, 1);
        page.paintReport(painter_, QRect(area_.left(), y_, width, height));
        y_ += height + 6;
    }

    void finish()
    {
        if (!painter_.end()) throw std::runtime_error(Report::tr("le document PDF n'a pas pu être terminé").toStdString());
    }

private:
    int captionHeight()
    {
        QFont font = painter_.font();
        font.setPointSize(10);
        return QFontMetrics(font, &writer_).height() + 2;
    }
    void reserve(int height)
    {
        if (y_ > 0 && y_ + height > area_.height()) {
            if (!writer_.newPage()) throw std::runtime_error(Report::tr("une nouvelle page n'a pas pu être ajoutée").toStdString());
            y_ = 0;
        }
    }
    void textBlock(const QString& text, int points, bool bold, int after)
    {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSize(points);
        font.setBold(bold);
        painter_.setFont(font);
        const QRect room(area_.left(), 0, area_.width(), 100000);
        const QRect needed = painter_.boundingRect(room, Qt::TextWordWrap, text);
        reserve(needed.height());
        painter_.setPen(Qt::black);
        painter_.drawText(QRect(area_.left(), y_, area_.width(), needed.height()), Qt::TextWordWrap, text);
        y_ += needed.height() + after;
    }

    QPdfWriter& writer_;
    QCPPainter painter_;
    QRect area_;
    int y_ = 0;
};

// Each run's m, k, ω0, T0, Q and own values, then the law the results page fits through its graph.
QStringList resultsLines(const pendulab::Session& session)
{
    const pendulab::ResultsTable table = session.results();
    const std::string sep = userDecimalSeparator();
    QStringList lines;
    for (std::size_t r = 0; r < table.runs.size(); ++r) {
        QStringList values;
        std::vector<std::size_t> columns{1, 2, 7, 8, 10}; // m, k, ω0, T0, Q, then Ωe, A, φ and the own columns
        for (std::size_t q = 11; q < table.quantities.size(); ++q) columns.push_back(q);
        for (std::size_t q : columns) {
            const pendulab::ResultQuantity& quantity = table.quantities[q];
            const pendulab::ResultValue& v = table.values[r][q];
            if (!std::isfinite(v.value)) continue;
            const std::string shown = std::isfinite(v.sigma) ? pendulab::formatMeasured(v.value, v.sigma, 3, sep)
                                                             : pendulab::formatSignificant(v.value, 4, sep);
            values << QString::fromStdString(quantity.symbol + " = " + shown + (quantity.unit.empty() ? "" : " " + quantity.unit));
        }
        lines << QStringLiteral("%1 : %2").arg(QString::fromStdString(table.runs[r]), values.join(QStringLiteral(", ")));
    }
    const pendulab::ResultsChoice& choice = session.resultsChoice();
    const auto x = pendulab::axisChoice(table, choice.x), y = pendulab::axisChoice(table, choice.y);
    if (x && y && choice.law != pendulab::LawKind::None) {
        const pendulab::LawFit law = pendulab::fitResults(pendulab::resultPoints(table, *x, *y), choice.law);
        for (const std::string& l : pendulab::lawReport(law, *x, *y, sep)) lines << QString::fromStdString(l);
    }
    return lines;
}

void writeContents(Sheet& sheet, TFichePrincipale& window)
{
    const pendulab::Session& session = *window.session;
    const pendulab::ModelParameters& p = session.parameters();
    sheet.title(p.excited ? Report::tr("Oscillations forcées") : Report::tr("Oscillations libres amorties"));

    sheet.heading(Report::tr("Mesure"));
    if (session.hasMeasurement()) {
        const pendulab::Measurement& m = session.measurement();
        sheet.line(Report::tr("Date : %1").arg(recordingDate(m.recordedAt)));
        sheet.line(Report::tr("Source : %1").arg(QString::fromStdString(m.source)));
        sheet.line(Report::tr("Durée : %1 s").arg(significant(m.durationSeconds)));
        if (const auto& span = session.interval())
            sheet.line(Report::tr("Dernier intervalle du curseur : de %1 s à %2 s (Δt = %3 s)")
                           .arg(fixed(span->from, 3), fixed(span->to, 3), fixed(span->to - span->from, 3)));
    } else {
        sheet.line(Report::tr("aucune mesure"));
    }
    if (session.runCount() > 1) { // the series the active run belongs to
        sheet.heading(Report::tr("Mesures de l'expérience"));
        QStringList runs;
        for (int i = 0; i < session.runCount(); ++i) {
            const pendulab::Run& run = session.run(i);
            runs << Report::tr("%1 : %2 s, %3%4")
                        .arg(QString::fromStdString(run.name), significant(run.measurement.duration()),
                             QString::fromStdString(run.measurement.source),
                             i == session.activeIndex() ? Report::tr(" (mesure active)") : QString());
        }
        sheet.line(runs.join(QLatin1Char('\n')));
        sheet.heading(Report::tr("Résultats"));
        sheet.line(resultsLines(session).join(QLatin1Char('\n')));
    }
    if (!session.notes().empty()) {
        sheet.heading(Report::tr("Notes"));
        sheet.line(QString::fromStdString(session.notes()));
    }

    sheet.heading(Report::tr("Modèle"));
    const QString mass = p.mass < 1.0 ? significant(p.mass * 1000.0) + QStringLiteral(" g")
                                      : significant(p.mass) + QStringLiteral(" kg");
    sheet.line(Report::tr("Masse : %1").arg(mass));
    sheet.line(Report::tr("Raideur : %1 N/m").arg(significant(p.stiffness)));
    sheet.line(Report::tr("Frottement : %1 kg/s").arg(significant(p.friction)));
    sheet.line(Report::tr("Amplitude : %1 V").arg(significant(p.amplitude)));
    sheet.line(Report::tr("Décalage : %1 V").arg(significant(p.offset)));
    sheet.line(Report::tr("Instant du lâcher : %1 s").arg(significant(p.releaseTime)));
    if (p.excited) {
        sheet.line(Report::tr("Pulsation de l'excitateur : %1 rad/s").arg(significant(p.exciterPulsation)));
        sheet.line(Report::tr("Amplitude de l'excitateur : %1").arg(significant(p.exciterAmplitude)));
    }
    if (session.modelComputed()) {
        const pendulab::OscillatorResult& r = session.modelResult();
        sheet.line(QStringLiteral("ω0 = ") + fixed(r.omega0, 2) + QStringLiteral(" rad/s"));
        sheet.line(QStringLiteral("Q = ") + fixed(r.q, 2));
    }
    if (session.fitInForce()) { // the model is still the one the fit gave
        sheet.heading(Report::tr("Ajustement"));
        QStringList lines;
        for (const std::string& l : pendulab::fitReport(*session.fitResult(), userDecimalSeparator(), session.activeScale())) lines << QString::fromStdString(l);
        sheet.line(lines.join(QLatin1Char('\n')));
    }

    sheet.heading(Report::tr("Courbes"));
    // The time charts first, then the portrait.
    QList<TPage*> pages = window.pages();
    std::stable_partition(pages.begin(), pages.end(), [](TPage* page) { return page->timeChart() != nullptr; });
    for (TPage* page : pages) sheet.page(*page);
}

// Why `file` cannot be written, in the user's words.
QString whyNotWritable(const QString& file, const QString& systemReason)
{
    const QFileInfo target(file);
    const QFileInfo folder(target.absolutePath());
    if (!folder.exists()) return Report::tr("le dossier %1 n'existe pas").arg(QDir::toNativeSeparators(folder.filePath()));
    if (target.exists() && !target.isWritable()) return Report::tr("le fichier est en lecture seule");
    if (!folder.isWritable()) return Report::tr("le dossier est en lecture seule");
    return Report::tr("le dossier n'accepte pas de nouveau fichier (%1)").arg(systemReason);
}

[[noreturn]] void fail(const QString& file, const QString& reason)
{
    throw std::runtime_error(
        Report::tr("Le rapport n'a pas pu être enregistré dans %1 : %2.").arg(QDir::toNativeSeparators(file), reason).toStdString());
}

} // namespace

void writeReport(const QString& file, TFichePrincipale& window)
{
    QSaveFile out(file); // a temporary file beside it, renamed over it once complete
    if (!out.open(QIODevice::WriteOnly)) fail(file, whyNotWritable(file, out.errorString()));
    try {
        QPdfWriter writer(&out);
        writer.setResolution(96); // the charts are laid out in screen pixels; fonts keep their point size
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                                         QPageLayout::Millimeter));
        writer.setTitle(QStringLiteral("Pendulab"));
        writer.setCreator(QStringLiteral("Pendulab"));
        Sheet sheet(writer);
        writeContents(sheet, window);
        sheet.finish();
    } catch (const std::exception& e) {
        out.cancelWriting();
        fail(file, QString::fromUtf8(e.what()));
    }
    if (!out.commit()) fail(file, whyNotWritable(file, out.errorString()));
}

void TFichePrincipale::Rapport1Click()
{
    const QString file = ui().saveFileName(this, tr("Enregistrer le rapport PDF"),
                                           QDir(startFolder()).filePath(tr("rapport-pendulab.pdf", "default file name")),
                                           QStringLiteral("PDF (*.pdf)"), QStringLiteral("pdf"));
    if (file.isEmpty()) return;
    rememberFolder(file);
    writeReport(file, *this);
    ui().openDocument(file);
}
