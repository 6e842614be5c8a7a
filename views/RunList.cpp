#include "views/RunList.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPixmap>

#include "session/Session.h"
#include "views/Accessibility.h"
#include "views/ChartFactory.h"
#include "views/Format.h"
#include "views/Services.h"

namespace {

enum Column { Name, Duration, Source };

QIcon swatch(const QColor& colour)
{
    QPixmap pixmap(12, 12);
    pixmap.fill(colour);
    QPainter frame(&pixmap);
    frame.setPen(Qt::black);
    frame.drawRect(0, 0, 11, 11);
    return QIcon(pixmap);
}

} // namespace

TRunList::TRunList(pendulab::Session* session, QWidget* parent) : QTreeWidget(parent), session_(session)
{
    setObjectName(QStringLiteral("runlist"));
    describe(this, tr("Mesures"), tr("Les mesures de l'expérience : cochez celles à tracer, cliquez pour rendre une mesure active"));
    setHeaderLabels({tr("Mesure"), tr("Durée"), tr("Source")});
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers); // renamed through a dialog; F2 stays the export
    setSelectionMode(QAbstractItemView::SingleSelection);
    header()->setStretchLastSection(true); // the source takes what is left, cut short with "…"
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextElideMode(Qt::ElideRight);
    header()->setSectionResizeMode(Name, QHeaderView::ResizeToContents);
    header()->setSectionResizeMode(Duration, QHeaderView::ResizeToContents);

    using S = pendulab::Session;
    for (auto change : {&S::runAdded, &S::runChanged, &S::runRemoved, &S::activeRunChanged, &S::runDescribed})
        connect(session, change, this, [this] { guarded(this, [this] { rebuild(); }); });
    for (auto change : {&S::displayUnitChanged, &S::othersChanged, &S::measurementChanged}) // what a run reads in
        connect(session, change, this, [this] { guarded(this, [this] { rebuild(); }); });
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (rebuilding_ || !item) return;
        guarded(this, [&] { session_->setActiveRun(indexOfTopLevelItem(item)); });
    });
    connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) { itemToggled(item, column); });
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { guarded(this, [&] { rename(indexOfTopLevelItem(item)); }); });
    rebuild();
}

// In place when the lines are the same runs (a click's own signal may be under way), anew otherwise.
void TRunList::rebuild()
{
    rebuilding_ = true;
    const QSignalBlocker quiet(this);
    while (topLevelItemCount() > session_->runCount()) delete takeTopLevelItem(topLevelItemCount() - 1);
    while (topLevelItemCount() < session_->runCount()) new QTreeWidgetItem(this);
    for (int i = 0; i < session_->runCount(); ++i) describeLine(topLevelItem(i), i);
    if (session_->activeIndex() >= 0) setCurrentItem(topLevelItem(session_->activeIndex()));
    rebuilding_ = false;
}

void TRunList::describeLine(QTreeWidgetItem* item, int index)
{
    const pendulab::Run& run = session_->run(index);
    const bool active = index == session_->activeIndex();
    item->setText(Name, QString::fromStdString(run.name));
    item->setText(Duration, fmtShortest(run.measurement.duration()) + QStringLiteral(" s"));
    item->setText(Source, QString::fromStdString(run.measurement.source));
    item->setToolTip(Source, item->text(Source)); // the column is often cut short
    // The swatch is the colour the run is drawn in now: blue while it is the active one.
    item->setIcon(Name, swatch(active ? charts::kMeasured : QColor(QRgb(run.colour))));
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!active) flags |= Qt::ItemIsUserCheckable; // the active run is always drawn
    item->setFlags(flags);
    item->setCheckState(Name, active || run.shown ? Qt::Checked : Qt::Unchecked);
    QFont font = item->font(Name);
    font.setBold(active);
    item->setFont(Name, font);
    item->setToolTip(Name, active ? tr("Mesure active : tracée en bleu, modélisée, lue par le curseur et exportée")
                                  : tr("Cochez pour tracer cette mesure ; cliquez pour la rendre active"));
    // A run that does not convert to the unit shown stays off the charts, and says so.
    const bool hidden = !active && run.shown && !session_->scaleOf(run);
    if (hidden) {
        const QString unit = QString::fromStdString(session_->shownUnit());
        item->setText(Source, tr("masquée : pas en %1 — %2").arg(unit, QString::fromStdString(run.measurement.source)));
        item->setToolTip(Name, tr("Cette mesure ne se lit pas en %1 : elle n'est pas tracée.").arg(unit));
        item->setToolTip(Source, item->text(Source));
    }
    for (int c : {Name, Duration, Source}) item->setForeground(c, hidden ? palette().brush(QPalette::Disabled, QPalette::Text) : palette().brush(QPalette::Text));
}

void TRunList::itemToggled(QTreeWidgetItem* item, int column)
{
    if (rebuilding_ || column != Name) return;
    const int index = indexOfTopLevelItem(item);
    if (index < 0 || index == session_->activeIndex()) return;
    guarded(this, [&] { session_->setRunShown(index, item->checkState(Name) == Qt::Checked); });
}

int TRunList::currentRun() const
{
    const int index = currentItem() ? indexOfTopLevelItem(currentItem()) : -1;
    return index < session_->runCount() ? index : -1;
}

void TRunList::rename(int index)
{
    const QString name = ui().askText(this, tr("Renommer la mesure"), tr("Nom de la mesure :"),
                                      QString::fromStdString(session_->run(index).name));
    if (name.isEmpty()) return; // cancelled
    session_->renameRun(index, name.toStdString());
}

void TRunList::chooseColour(int index)
{
    const QColor colour = ui().chooseColour(this, tr("Couleur de la mesure"), QColor(QRgb(session_->run(index).colour)));
    if (colour.isValid()) session_->setRunColour(index, colour.rgb() & 0xFFFFFFu);
}

void TRunList::remove(int index)
{
    const pendulab::Run& run = session_->run(index);
    QString question = tr("Supprimer la mesure « %1 » ?").arg(QString::fromStdString(run.name));
    if (run.unsavedRecording) question += QLatin1Char(' ') + tr("Elle n'est pas enregistrée.");
    if (ui().confirmYesNo(this, question)) session_->removeRun(index);
}

void TRunList::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete && currentRun() >= 0) {
        guarded(this, [this] { remove(currentRun()); });
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

// On the line under the pointer, without making it the active run.
void TRunList::contextMenuEvent(QContextMenuEvent* event)
{
    QTreeWidgetItem* item = itemAt(event->pos());
    if (!item) return;
    const int index = indexOfTopLevelItem(item);
    QMenu menu(this);
    menu.addAction(tr("Renommer…"), this, [this, index] { guarded(this, [&] { rename(index); }); });
    menu.addAction(tr("Couleur…"), this, [this, index] { guarded(this, [&] { chooseColour(index); }); });
    menu.addAction(tr("Supprimer"), this, [this, index] { guarded(this, [&] { remove(index); }); });
    menu.exec(event->globalPos());
}
