#include "views/PortraitPage.h"

#include <QFrame>
#include <QLabel>
#include <QTimer>
#include <cmath>
#include <qcustomplot.h>

#include "analysis/Derivative.h"
#include "model/ModelPlots.h"
#include "session/Session.h"
#include "views/Accessibility.h"
#include "views/Format.h"
#include "views/PhaseImage.h"
#include "views/Services.h"

TPortraitPage::TPortraitPage(pendulab::Session* session, QWidget* parent)
    : TPage(session, QStringLiteral("TabSheet2"), parent)
{
    xy_ = new TPhaseImage(this);
    xy_->setObjectName(QStringLiteral("xy"));
    describe(xy_, tr("Portrait de phase"));
    vaxe_ = new QFrame(this);
    vaxe_->setObjectName(QStringLiteral("vaxe"));
    vaxe_->setFrameShape(QFrame::VLine);
    vaxe_->setFixedWidth(1);
    haxe_ = new QFrame(this);
    haxe_->setObjectName(QStringLiteral("haxe"));
    haxe_->setFrameShape(QFrame::HLine);
    haxe_->setFixedHeight(1);
    for (QFrame* axis : {vaxe_, haxe_}) {
        axis->setFrameShadow(QFrame::Plain);
        axis->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    vTitle_ = new QLabel(QStringLiteral("dY/dt (V/s)"), this);
    vTitle_->setObjectName(QStringLiteral("Label3"));
    hTitle_ = new QLabel(QStringLiteral("Y (V)"), this);
    hTitle_->setObjectName(QStringLiteral("Label5"));
    for (auto [label, name] : {std::pair{&xmin_, "xminlbl"}, {&xmax_, "xmaxlbl"}, {&vmin_, "vminlbl"}, {&vmax_, "vmaxlbl"}}) {
        *label = new QLabel(this);
        (*label)->setObjectName(QString::fromLatin1(name));
        (*label)->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
}

QString TPortraitPage::title() const { return tr("Dérivée / x"); }
QString TPortraitPage::reportCaption() const { return tr("Portrait de phase"); }

void TPortraitPage::drawAll()
{
    drawMeasured();
    xy_->setPendingDrawing({}); // the measured portrait has just been drawn
    drawModelSpiral();
}

// The measured spiral anew, the base the model's is drawn over: the model's when it is next
// drawn (drawModel), or the portrait next shown or read.
void TPortraitPage::drawAnalysis()
{
    drawMeasured();
    xy_->setPendingDrawing([this] { guarded(this, [this] { overBase(); }); });
}

void TPortraitPage::overBase()
{
    if (!xy_->restoreBase()) drawMeasured(); // none yet, or resized since: the base anew
    drawModelSpiral();
}

void TPortraitPage::drawModel()
{
    if (!drawn_) {
        drawAll();
    } else if (xy_->isVisible()) {
        xy_->setPendingDrawing({});
        overBase();
    } else {
        xy_->setPendingDrawing([this] { guarded(this, [this] { overBase(); }); });
    }
}

void TPortraitPage::drawMeasured()
{
    const pendulab::Run& run = session()->activeRun();
    const int halfW = pendulab::halfOf(width());
    const int halfH = pendulab::halfOf(height());
    xy_->fill();
    static thread_local pendulab::PortraitData portrait;
    pendulab::computeMeasuredPortrait(run.data.MeasPos, run.data.MeasSpeed, halfW, halfH, portrait); // a dot before any recording
    showScale(portrait.phaseScaleX, portrait.phaseScaleY); // the measured scale, or none yet
    if (portrait.phaseScaleX > 0.0f) { // the other runs shown, on the active run's scales, under it
        static thread_local std::vector<pendulab::PixelPoint> other;
        static thread_local std::vector<double> pos, speed;
        const pendulab::DisplayScale active = session()->activeScale();
        for (int i : shownRuns()) {
            const pendulab::Run& r = session()->run(i);
            const pendulab::DisplayScale scale = *session()->scaleOf(r);
            const bool same = scale.gain == active.gain && scale.shift == active.shift;
            if (!same) { // another calibration: its values as the active run's samples would read them
                pos.resize(r.data.MeasPos.size());
                speed.resize(r.data.MeasSpeed.size());
                for (std::size_t k = 0; k < pos.size(); ++k) pos[k] = active.fromPosition(scale.position(r.data.MeasPos[k]));
                for (std::size_t k = 0; k < speed.size(); ++k) speed[k] = active.fromDifference(scale.difference(r.data.MeasSpeed[k]));
            }
            pendulab::portraitPointsAt(same ? r.data.MeasPos : pos, same ? r.data.MeasSpeed : speed, halfW, halfH, portrait, other);
            xy_->polyline(other, QColor(QRgb(r.colour)));
        }
    }
    xy_->polyline(portrait.points, QColor(0, 0, 255));
    xy_->setPenColor(Qt::black);
    for (const auto& head : {pendulab::horizontalArrowHead(xy_->width(), halfH), pendulab::verticalArrowHead(halfW)}) {
        xy_->moveTo(head[0].x, head[0].y);
        xy_->lineTo(head[1].x, head[1].y);
        xy_->lineTo(head[2].x, head[2].y);
    }
    xy_->keepAsBase(); // the model spiral is drawn over a copy of it
    xy_->flush();
    drawn_ = true;
}

// The model's spiral over what the portrait holds, and the scale when there is no measurement to give it.
void TPortraitPage::drawModelSpiral()
{
    const pendulab::Run& run = session()->activeRun();
    if (!run.modelShown()) {
        if (!run.hasSamples()) showScale(0.0, 0.0); // none left from the model's
        xy_->flush();
        return;
    }
    static thread_local pendulab::ModelPlotData plot;
    pendulab::computeModelPlots(run.data.ModelPos, run.data.ModelSpeed, pendulab::halfOf(width()),
                                pendulab::halfOf(height()), plot);
    xy_->polyline(plot.portrait, QColor(128, 128, 128));
    if (!run.hasSamples()) showScale(plot.phaseScaleX, 1.3 * plot.phaseScaleY); // the model's alone
    xy_->flush();
}

void TPortraitPage::showScale(double pixelsPerVolt, double pixelsPerVoltPerSecond)
{
    const bool known = pixelsPerVolt > 0.0 && pixelsPerVoltPerSecond > 0.0 && std::isfinite(pixelsPerVolt) &&
                       std::isfinite(pixelsPerVoltPerSecond);
    const double x = known ? pendulab::halfOf(xy_->width()) / pixelsPerVolt : 0.0;
    const double v = known ? pendulab::halfOf(xy_->height()) / pixelsPerVoltPerSecond : 0.0;
    // The ends of the axes in the unit shown (the spiral is drawn from the samples' own values).
    const pendulab::DisplayScale scale = session()->activeScale();
    const QString unit = QLatin1Char(' ') + QString::fromStdString(scale.unit);
    const QString speedUnit = QLatin1Char(' ') + QString::fromStdString(scale.speedUnit());
    hTitle_->setText(QStringLiteral("Y (%1)").arg(QString::fromStdString(scale.unit)));
    vTitle_->setText(QStringLiteral("dY/dt (%1)").arg(QString::fromStdString(scale.speedUnit())));
    xmin_->setText(known ? fmtNumber(scale.position(-x), 'g', 3) + unit : QString());
    xmax_->setText(known ? fmtNumber(scale.position(x), 'g', 3) + unit : QString());
    vmin_->setText(known ? fmtNumber(scale.difference(-v), 'g', 3) + speedUnit : QString());
    vmax_->setText(known ? fmtNumber(scale.difference(v), 'g', 3) + speedUnit : QString());
    placeAxes();
}

void TPortraitPage::placeAxes()
{
    const int w = xy_->width();
    const int h = xy_->height();
    vaxe_->setGeometry(w / 2, 0, 1, h);
    haxe_->setGeometry(0, h / 2, w, 1);
    vTitle_->adjustSize();
    hTitle_->adjustSize();
    vTitle_->move(w / 2 + 5, vTitle_->y());
    hTitle_->move(w - hTitle_->width() - 12, h / 2 - hTitle_->height() - 2);
    for (QLabel* l : {xmin_, xmax_, vmin_, vmax_}) l->adjustSize();
    xmin_->move(2, h / 2 + 3);
    xmax_->move(w - xmax_->width() - 12, h / 2 + 3); // clear of the arrowhead
    vmax_->move(w / 2 - vmax_->width() - 4, 2);
    vmin_->move(w / 2 - vmin_->width() - 4, h - vmin_->height() - 2);
    for (QWidget* top : std::initializer_list<QWidget*>{vaxe_, haxe_, vTitle_, hTitle_, xmin_, xmax_, vmin_, vmax_}) top->raise();
}

void TPortraitPage::followHiddenResize()
{
    xy_->setGeometry(rect());
    placeAxes();
}

void TPortraitPage::resizeEvent(QResizeEvent* event)
{
    TPage::resizeEvent(event);
    xy_->setGeometry(rect());
    placeAxes();
    if (drawn_ && !redrawQueued_) { // redraws what is there: computes nothing
        redrawQueued_ = true;
        QTimer::singleShot(0, this, [this] {
            redrawQueued_ = false;
            guarded(this, [this] { drawAll(); });
        });
    }
}

int TPortraitPage::reportHeight(int width) const
{
    if (xy_->image().isNull()) return 0; // what waits to be drawn is drawn, the scale with it
    QSize size = xy_->size();
    size.scale(width, width * 3 / 5, Qt::KeepAspectRatio);
    return size.height();
}

// Drawn anew at the report's size, as lines (the screen's image scaled down would fade): the
// measured spiral, the model's, the axes with their arrowheads, titles and scale.
void TPortraitPage::paintReport(QCPPainter& painter, const QRect& area)
{
    QSize size = xy_->size();
    size.scale(area.width(), area.height(), Qt::KeepAspectRatio);
    const QRect target(area.left() + (area.width() - size.width()) / 2, area.top(), size.width(), size.height());
    const int halfW = pendulab::halfOf(target.width()), halfH = pendulab::halfOf(target.height());
    const pendulab::Run& run = session()->activeRun();
    pendulab::PortraitData measured;
    pendulab::computeMeasuredPortrait(run.data.MeasPos, run.data.MeasSpeed, halfW, halfH, measured);
    pendulab::ModelPlotData model;
    const bool withModel = run.modelShown();
    if (withModel) pendulab::computeModelPlots(run.data.ModelPos, run.data.ModelSpeed, halfW, halfH, model);
    const auto line = [&](const std::vector<pendulab::PixelPoint>& points, const QColor& color) {
        QPolygon polygon;
        for (const pendulab::PixelPoint& p : points) polygon << target.topLeft() + QPoint(p.x, p.y);
        painter.setPen(QPen(color, 1));
        painter.drawPolyline(polygon);
    };
    painter.save();
    painter.setClipRect(target);
    line(measured.points, QColor(0, 0, 255));
    if (withModel) line(model.portrait, QColor(128, 128, 128));
    line({{0, halfH}, {target.width(), halfH}}, Qt::black);
    line({{halfW, 0}, {halfW, target.height()}}, Qt::black);
    line(pendulab::horizontalArrowHead(target.width(), halfH), Qt::black);
    line(pendulab::verticalArrowHead(halfW), Qt::black);
    painter.drawRect(target.adjusted(0, 0, -1, -1));
    QFont font = painter.font();
    font.setPointSize(9);
    painter.setFont(font);
    const QFontMetrics metrics = painter.fontMetrics();
    const int cx = target.left() + halfW, cy = target.top() + halfH;
    painter.drawText(QPoint(cx + 5, target.top() + metrics.ascent() + 2), vTitle_->text());
    painter.drawText(QPoint(target.right() - metrics.horizontalAdvance(hTitle_->text()) - 12, cy - 4), hTitle_->text());
    // The scale, as on screen: the values at the ends of the axes.
    painter.drawText(QPoint(target.left() + 2, cy + metrics.ascent() + 3), xmin_->text());
    painter.drawText(QPoint(target.right() - metrics.horizontalAdvance(xmax_->text()) - 12, cy + metrics.ascent() + 3), xmax_->text());
    painter.drawText(QPoint(cx - metrics.horizontalAdvance(vmax_->text()) - 4, target.top() + metrics.ascent() + 2), vmax_->text());
    painter.drawText(QPoint(cx - metrics.horizontalAdvance(vmin_->text()) - 4, target.bottom() - 2), vmin_->text());
    painter.restore();
}
