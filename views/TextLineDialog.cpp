#include "views/TextLineDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <optional>

#include "core/Calibration.h"
#include "views/Accessibility.h"
#include "views/Format.h"
#include "views/Services.h"

namespace {

using pendulab::textline::Format;
using pendulab::textline::MostColumns;
using pendulab::textline::Separator;
using pendulab::textline::TimeUnit;

// The lists' items, in the order the boxes show them.
constexpr Separator Separators[] = {Separator::Comma, Separator::Semicolon, Separator::Tab, Separator::Space};
constexpr TimeUnit TimeUnits[] = {TimeUnit::Seconds, TimeUnit::Milliseconds, TimeUnit::Microseconds};

template <class T, std::size_t N> int indexOf(const T (&items)[N], T value)
{
    return static_cast<int>(std::distance(std::begin(items), std::find(std::begin(items), std::end(items), value)));
}

QStringList columns()
{
    QStringList names;
    for (int c = 1; c <= MostColumns; ++c) names << QString::number(c);
    return names;
}

QComboBox* comboBox(QWidget* parent, const char* objectName, const QString& name, const QStringList& items, bool editable = false)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(objectName));
    box->setEditable(editable);
    if (editable) box->setInsertPolicy(QComboBox::NoInsert); // what is typed is a choice, not a new item
    box->addItems(items);
    describe(box, name);
    return box;
}

} // namespace

TTextLineDialog::TTextLineDialog(const QString& port, const QStringList& candidates, const Format& start, QWidget* parent)
    : QDialog(parent), port_(port), format_(start)
{
    setObjectName(QStringLiteral("TextLineDialog"));
    setWindowTitle(tr("Port série (lignes de texte)"));
    buildControls(candidates);
    showFormat(start);
    connect(timeColumn_, &QComboBox::currentIndexChanged, this, [this] { guarded(this, [this] { timeColumnChanged(); }); });
    connect(unit_, &QComboBox::currentTextChanged, this, [this] { guarded(this, [this] { unitChanged(); }); });
}

void TTextLineDialog::buildControls(const QStringList& candidates)
{
    QStringList bauds;
    for (int b : pendulab::textline::Bauds) bauds << QString::number(b);
    portBox_ = comboBox(this, "lineport", tr("Port série"), candidates, true);
    baud_ = comboBox(this, "linebaud", tr("Vitesse (bauds)"), bauds);
    separator_ = comboBox(this, "linesep", tr("Séparateur"), {tr("virgule"), tr("point-virgule"), tr("tabulation"), tr("espace")});
    timeColumn_ = comboBox(this, "linetimecol", tr("Colonne du temps"), QStringList{tr("aucune")} + columns());
    timeUnit_ = comboBox(this, "linetimeunit", tr("Unité du temps"), {QStringLiteral("s"), QStringLiteral("ms"), QString::fromUtf8("µs")});
    valueColumn_ = comboBox(this, "linevaluecol", tr("Colonne de la valeur"), columns());
    unit_ = comboBox(this, "lineunit", tr("Unité de la valeur"),
                     {QStringLiteral("V"), QStringLiteral("mV"), QStringLiteral("m"), QStringLiteral("cm"), QStringLiteral("mm")}, true);
    slope_ = new QLineEdit(this);
    slope_->setObjectName(QStringLiteral("linempu"));
    describe(slope_, tr("Mètres par unité"), tr("L'étalonnage du capteur : une unité de la valeur vaut tant de mètres."));
    note_ = new QLabel(tr("Sans colonne de temps, chaque ligne prend l'instant de son arrivée : ces instants tremblent "
                          "avec la mise en mémoire tampon de la liaison."),
                       this);
    note_->setObjectName(QStringLiteral("linenote"));
    note_->setWordWrap(true);

    auto* form = new QFormLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{portBox_, baud_, separator_, timeColumn_, timeUnit_, valueColumn_, unit_, slope_})
        form->addRow(w->accessibleName() + QStringLiteral(" :"), w);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("lineok"));
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("linecancel"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note_);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { guarded(this, [this] { okClick(); }); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void TTextLineDialog::showFormat(const Format& f)
{
    if (const int i = portBox_->findText(port_); i >= 0) portBox_->setCurrentIndex(i);
    portBox_->setEditText(port_);
    const int baud = baud_->findText(QString::number(f.baud));
    baud_->setCurrentIndex(baud >= 0 ? baud : baud_->findText(QString::number(Format{}.baud)));
    separator_->setCurrentIndex(indexOf(Separators, f.separator));
    timeColumn_->setCurrentIndex(f.timeUnit == TimeUnit::None ? 0 : std::clamp(f.timeColumn, 1, MostColumns));
    timeUnit_->setCurrentIndex(indexOf(TimeUnits, f.timeUnit == TimeUnit::None ? Format{}.timeUnit : f.timeUnit));
    valueColumn_->setCurrentIndex(std::clamp(f.valueColumn, 1, MostColumns) - 1);
    unit_->setEditText(QString::fromStdString(f.unit));
    // A length's slope is its own; a volt's, the card's, until the user types another.
    typedSlope_ = fmtShortest(pendulab::metresPerUnit(f.unit) ? Format{}.metresPerUnit : f.metresPerUnit);
    slope_->setText(typedSlope_);
    slope_->setEnabled(true);
    timeColumnChanged();
    unitChanged();
}

void TTextLineDialog::timeColumnChanged()
{
    const bool none = timeColumn_->currentIndex() == 0;
    timeUnit_->setEnabled(!none);
    note_->setVisible(none);
}

void TTextLineDialog::unitChanged()
{
    const std::optional<double> exact = pendulab::metresPerUnit(unit_->currentText().trimmed().toStdString());
    if (exact) {
        if (slope_->isEnabled()) typedSlope_ = slope_->text();
        slope_->setText(fmtShortest(*exact));
    } else if (!slope_->isEnabled()) {
        slope_->setText(typedSlope_);
    }
    slope_->setEnabled(!exact);
}

bool TTextLineDialog::typedFormat(QString& typedPort, Format& f)
{
    const auto refuse = [this](const QString& why) {
        ui().showMessage(this, why);
        return false;
    };
    typedPort = portBox_->currentText().trimmed();
    if (typedPort.isEmpty()) return refuse(tr("Donnez le chemin du port série, par exemple /dev/ttyACM0."));
    f = format_;
    f.baud = pendulab::textline::Bauds[static_cast<std::size_t>(baud_->currentIndex())];
    f.separator = Separators[separator_->currentIndex()];
    f.valueColumn = valueColumn_->currentIndex() + 1;
    if (const int timeColumn = timeColumn_->currentIndex(); timeColumn == 0) {
        f.timeUnit = TimeUnit::None; // the column kept stays one the values are not in
        if (f.timeColumn == f.valueColumn || f.timeColumn < 1 || f.timeColumn > MostColumns) f.timeColumn = f.valueColumn == 1 ? 2 : 1;
    } else {
        f.timeUnit = TimeUnits[timeUnit_->currentIndex()];
        f.timeColumn = timeColumn;
        if (f.timeColumn == f.valueColumn) return refuse(tr("Le temps et la valeur ne peuvent pas être dans la même colonne."));
    }
    const QString unit = unit_->currentText().trimmed();
    if (unit.isEmpty()) return refuse(tr("Donnez l'unité de la valeur, par exemple V ou cm."));
    f.unit = unit.toStdString();
    std::optional<double> slope = pendulab::metresPerUnit(f.unit);
    if (!slope) slope = readUserNumber(slope_->text());
    if (!slope || !std::isfinite(*slope) || *slope <= 0.0)
        return refuse(tr("Étalonnage invalide : « %1 ». Donnez un nombre de mètres par unité positif.").arg(slope_->text().trimmed()));
    f.metresPerUnit = *slope;
    return true;
}

void TTextLineDialog::okClick()
{
    QString typedPort;
    Format f;
    if (!typedFormat(typedPort, f)) return;
    port_ = typedPort;
    format_ = f;
    accept();
}
