#include "views/CursorReadout.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <cmath>

#include "analysis/CursorCore.h"
#include "core/FormatCore.h"
#include "session/Session.h"
#include "views/Accessibility.h"
#include "views/ChartFactory.h"
#include "views/Format.h"
#include "views/Services.h"
#include "views/TimeChart.h"

TCursorReadout::TCursorReadout(pendulab::Session* session, QWidget* page, QBoxLayout* row)
    : QObject(page), session_(session)
{
    auto* label1 = new QLabel(tr("Pointeur t"), page);
    label1->setObjectName(QStringLiteral("Label1"));
    cursxtxt_ = new QLineEdit(page);
    cursxtxt_->setObjectName(QStringLiteral("cursxtxt"));
    cursxtxt_->setReadOnly(true);
    cursxtxt_->setMaximumWidth(90);
    label1->setBuddy(cursxtxt_);
    describe(cursxtxt_, tr("Pointeur t"), tr("position de la souris"));
    deltalbl_ = charts::makeReadout(page, QStringLiteral("deltalbl"), 190, tr("Intervalle"), QStringLiteral("."));
    deltalbl_->hide();
    survollbl_ = charts::makeReadout(page, QStringLiteral("survollbl"), 230, tr("Valeur sous le pointeur"));
    bar0_ = charts::makeBar(page, QStringLiteral("vcur0"));
    bar1_ = charts::makeBar(page, QStringLiteral("vcur1"));
    row->addWidget(label1);
    row->addWidget(cursxtxt_);
    row->addWidget(deltalbl_);
    row->addWidget(survollbl_);
    // The values under the pointer follow a new model or measurement.
    const auto follow = [this] { guarded(survollbl_, [this] { pointerMoved(pointerAt_, pointerIn_); }); };
    connect(session, &pendulab::Session::modelChanged, this, follow);
    connect(session, &pendulab::Session::measurementChanged, this, follow);
    connect(session, &pendulab::Session::displayUnitChanged, this, follow);
}

void TCursorReadout::follow(TTimeChart* chart)
{
    chart->setCursorBars(bar0_, bar1_);
    connect(chart, &TTimeChart::pointerMoved, this, [this](double t, int, bool inPlot) {
        guarded(survollbl_, [&] { pointerMoved(t, inPlot); });
    });
    connect(chart, &TTimeChart::intervalStarted, this, [this](double t) {
        start_ = t;
        deltalbl_->setValueText(QStringLiteral("dT=0 s"));
        deltalbl_->show();
    });
    connect(chart, &TTimeChart::intervalDragged, this, [this](double from, double t) {
        const double d = std::fabs(t - from);
        if (d != 0.0) deltalbl_->setValueText(QString::fromStdString(pendulab::intervalText(d, userDecimalSeparator())));
    });
    // A double-click returns to the whole record: the interval goes.
    connect(chart, &TTimeChart::viewReset, this, [this] {
        guarded(survollbl_, [this] {
            deltalbl_->hide();
            session_->clearInterval();
        });
    });
    // A click without a move keeps the previous interval; the read-out stays until the next press.
    connect(chart, &TTimeChart::intervalEnded, this, [this](double from, double to) {
        guarded(survollbl_, [&] {
            if (to != from) session_->setInterval(from, to);
        });
    });
}

void TCursorReadout::pointerMoved(double t, bool inPlot)
{
    pointerAt_ = t;
    pointerIn_ = inPlot;
    if (!inPlot) {
        cursxtxt_->clear();
        survollbl_->setValueText(QString());
        return;
    }
    const auto sep = userDecimalSeparator();
    cursxtxt_->setText(QString::fromStdString(pendulab::cursorText(t, sep)));
    QString text = QStringLiteral("t = ") + QString::fromStdString(pendulab::formatFixed(t, 1, 2, sep)) + QStringLiteral(" s");
    const pendulab::Run& run = session_->activeRun();
    if (const std::optional<std::size_t> i = run.sampleNear(t)) {
        const pendulab::DisplayScale scale = session_->activeScale();
        const std::string unit = " " + scale.unit;
        const int decimals = pendulab::displayDecimals(scale.unit);
        const auto value = [&](double v) { return QString::fromStdString(pendulab::formatFixed(scale.position(v), 1, decimals, sep) + unit); };
        if (run.hasSamples()) text += QStringLiteral("   Y = ") + value(run.data.MeasPos[*i]);
        if (run.modelShown() && *i < run.data.ModelPos.size()) text += tr("   modèle = ") + value(run.data.ModelPos[*i]);
    }
    survollbl_->setValueText(text);
}
