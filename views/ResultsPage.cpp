#include "views/ResultsPage.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <qcustomplot.h>

#include "session/RunSteady.h"
#include "session/Session.h"
#include "views/Accessibility.h"
#include "views/Format.h"
#include "views/Services.h"

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

// The laws in the list's order, as LawKind counts them.
QStringList lawNames()
{
    return {TResultsPage::tr("Aucune"), TResultsPage::tr("Proportionnelle"), TResultsPage::tr("Affine"),
            TResultsPage::tr("Puissance"), TResultsPage::tr("Résonance")};
}

QComboBox* choiceList(QWidget* parent, const QString& name, const QString& accessible)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setMinimumContentsLength(8);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    describe(box, accessible);
    return box;
}

} // namespace

TResultsPage::TResultsPage(pendulab::Session* session, QWidget* parent) : TPage(session, QStringLiteral("TabSheetResults"), parent)
{
    grid_ = new QTableWidget(this);
    grid_->setObjectName(QStringLiteral("resultstable"));
    describe(grid_, tr("Résultats"));
    grid_->verticalHeader()->hide();
    grid_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    add_ = new QPushButton(tr("Ajouter une colonne…"), this);
    add_->setObjectName(QStringLiteral("addcolumn"));
    x_ = choiceList(this, QStringLiteral("abscissa"), tr("Abscisse"));
    y_ = choiceList(this, QStringLiteral("ordinate"), tr("Ordonnée"));
    law_ = choiceList(this, QStringLiteral("law"), tr("Loi"));
    law_->addItems(lawNames());
    law_->setCurrentIndex(0);
    readout_ = new QLabel(this);
    readout_->setObjectName(QStringLiteral("lawreadout"));
    readout_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    readout_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    readout_->setMinimumWidth(220);
    describe(readout_, tr("Loi ajustée"));
    steady_ = new QLabel(this);
    steady_->setObjectName(QStringLiteral("steadyreadout"));
    steady_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    steady_->hide();
    describe(steady_, tr("Régime permanent"));
    chart_ = new QCustomPlot(this);
    chart_->setObjectName(QStringLiteral("paramchart"));
    describe(chart_, tr("Graphe des résultats"));

    auto* lists = new QHBoxLayout;
    for (auto [label, box] : {std::pair{tr("Abscisse :"), x_}, {tr("Ordonnée :"), y_}, {tr("Loi :"), law_}}) {
        auto* l = new QLabel(label, this);
        l->setBuddy(box);
        lists->addWidget(l);
        lists->addWidget(box);
    }
    lists->addStretch();
    lists->addWidget(add_);
    auto* below = new QHBoxLayout;
    below->addWidget(chart_, 1);
    below->addWidget(readout_);
    auto* graph = new QWidget(this);
    auto* graphLayout = new QVBoxLayout(graph);
    graphLayout->setContentsMargins(0, 0, 0, 0);
    graphLayout->addLayout(lists);
    graphLayout->addLayout(below, 1);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(grid_);
    split->addWidget(graph);
    split->setStretchFactor(1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(steady_);
    layout->addWidget(split);

    using S = pendulab::Session;
    for (auto change : {&S::runAdded, &S::runRemoved, &S::runDescribed, &S::modelChanged, &S::runChanged})
        connect(session, change, this, [this] { guarded(this, [this] { refreshWhenShown(); }); });
    connect(session, &S::experimentReplaced, this, [this] { guarded(this, [this] { refreshWhenShown(); }); });
    for (auto change : {&S::resultsChanged, &S::intervalChanged}) // a new span: the steady state anew
        connect(session, change, this, [this] { guarded(this, [this] { refreshWhenShown(); }); });
    // Another unit or calibration: the amplitude and the offset read anew.
    for (auto change : {&S::displayUnitChanged, &S::measurementChanged, &S::othersChanged})
        connect(session, change, this, [this] { guarded(this, [this] { refreshWhenShown(); }); });
    for (QComboBox* box : {x_, y_, law_})
        connect(box, &QComboBox::currentIndexChanged, this, [this] { if (!filling_) guarded(this, [this] { chosen(); }); });
    connect(add_, &QPushButton::clicked, this, [this] { guarded(this, [this] { addColumn(); }); });
    connect(grid_, &QTableWidget::itemChanged, this,
            [this](QTableWidgetItem* item) { if (!filling_) guarded(this, [this, item] { ownValueTyped(item); }); });
    auto* copy = new QShortcut(QKeySequence::Copy, grid_, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(copy, &QShortcut::activated, this, [this] { guarded(this, [this] { copyTable(); }); });
    setupChart();
}

QString TResultsPage::title() const { return tr("Résultats"); }
QString TResultsPage::reportCaption() const { return tr("Résultats : graphe et loi"); }

void TResultsPage::drawAll() { refreshWhenShown(); }

void TResultsPage::showEvent(QShowEvent* event)
{
    TPage::showEvent(event);
    if (stale_) guarded(this, [this] { refresh(); });
}

void TResultsPage::refreshWhenShown()
{
    stale_ = true;
    if (isVisible()) refresh();
}

void TResultsPage::refresh()
{
    stale_ = false;
    table_ = session()->results();
    choices_ = pendulab::axisChoices(table_);
    // The active run's steady state, when it is driven.
    const QString steady = qs(pendulab::steadyReport(session()->activeRun(), session()->activeScale(), userDecimalSeparator()));
    steady_->setText(steady);
    steady_->setVisible(!steady.isEmpty());
    filling_ = true;
    fillTable();
    fillChoices();
    filling_ = false;
    drawGraph();
}

void TResultsPage::fillTable()
{
    const std::vector<std::string> headers = pendulab::resultsHeaders(table_);
    const int own = static_cast<int>(session()->ownColumns().size());
    QStringList names;
    for (const std::string& h : headers) names << qs(h);
    const bool newColumns = names != headers_;
    grid_->setUpdatesEnabled(false);
    grid_->setColumnCount(static_cast<int>(headers.size()));
    grid_->setRowCount(static_cast<int>(table_.runs.size()));
    if (newColumns) grid_->setHorizontalHeaderLabels(names);
    const QColor grey = palette().color(QPalette::Disabled, QPalette::Text);
    const QColor black = palette().color(QPalette::Active, QPalette::Text);
    for (int r = 0; r < grid_->rowCount(); ++r) {
        const std::vector<std::string> cells = pendulab::resultsRow(table_, static_cast<std::size_t>(r), userDecimalSeparator());
        const bool fitted = table_.fitted[static_cast<std::size_t>(r)];
        for (int c = 0; c < static_cast<int>(cells.size()); ++c) {
            QTableWidgetItem* item = grid_->item(r, c);
            if (!item) {
                item = new QTableWidgetItem;
                grid_->setItem(r, c, item);
            }
            item->setText(qs(cells[static_cast<std::size_t>(c)]));
            const bool ownColumn = c >= grid_->columnCount() - own;
            const bool steadyColumn = !ownColumn && c >= grid_->columnCount() - own - 2 * static_cast<int>(pendulab::SteadyQuantities);
            item->setFlags(ownColumn ? Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable
                                     : Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            // The values a run's fit did not give (those set by hand) in grey; D and m are always
            // set, and the steady state always measured.
            item->setForeground(!fitted && c >= 3 && !ownColumn && !steadyColumn ? grey : black);
        }
    }
    // Widths follow the contents when the columns change (measuring every cell is the costly part).
    if (newColumns || grid_->rowCount() != sizedRows_) {
        grid_->resizeColumnsToContents();
        headers_ = names;
        sizedRows_ = grid_->rowCount();
    }
    grid_->setUpdatesEnabled(true);
}

void TResultsPage::fillChoices()
{
    QStringList labels;
    for (const pendulab::AxisChoice& c : choices_) labels << qs(c.label);
    const pendulab::ResultsChoice& kept = session()->resultsChoice();
    const bool same = labels == choiceLabels_;
    choiceLabels_ = labels;
    const auto fill = [&labels, same](QComboBox* box, const std::string& wanted, const QString& fallback) {
        if (!same) {
            box->clear();
            box->addItems(labels);
        }
        const int at = labels.indexOf(wanted.empty() ? fallback : qs(wanted));
        box->setCurrentIndex(at >= 0 ? at : 0);
    };
    fill(x_, kept.x, QStringLiteral("m"));
    fill(y_, kept.y, QStringLiteral("T0²"));
    law_->setCurrentIndex(static_cast<int>(kept.law));
}

void TResultsPage::chosen()
{
    pendulab::ResultsChoice c;
    c.x = x_->currentText().toStdString();
    c.y = y_->currentText().toStdString();
    c.law = static_cast<pendulab::LawKind>(std::max(0, law_->currentIndex()));
    session()->setResultsChoice(c); // announced: drawn again
    if (!stale_) drawGraph();
}

void TResultsPage::addColumn()
{
    const QString name = ui().askText(this, tr("Ajouter une colonne"), tr("Nom de la grandeur (par exemple L0) :"), {});
    if (name.trimmed().isEmpty()) return;
    const QString unit = ui().askText(this, tr("Ajouter une colonne"), tr("Unité de %1 (vide s'il n'y en a pas) :").arg(name.trimmed()), {});
    session()->addOwnColumn(name.toStdString(), unit.toStdString());
}

void TResultsPage::ownValueTyped(QTableWidgetItem* item)
{
    const int own = static_cast<int>(session()->ownColumns().size());
    const int column = item->column() - (grid_->columnCount() - own);
    if (column < 0) return;
    const QString text = item->text().trimmed();
    std::optional<double> value;
    if (!text.isEmpty()) {
        value = readUserNumber(text);
        if (!value) {
            stale_ = true;
            QMetaObject::invokeMethod(this, [this] { guarded(this, [this] { refresh(); }); }, Qt::QueuedConnection);
            throw std::invalid_argument(tr("« %1 » n'est pas un nombre.").arg(text).toStdString());
        }
    }
    session()->setOwnValue(item->row(), column, value);
}

void TResultsPage::copyTable()
{
    QApplication::clipboard()->setText(qs(pendulab::resultsText(session()->results(), userDecimalSeparator())));
}
