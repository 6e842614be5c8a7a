#include "views/BenchDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <stdexcept>
#include <utility>

#include "views/Accessibility.h"
#include "views/Format.h"
#include "views/Services.h"

namespace {

double& field(pendulab::BenchSettings& b, int box)
{
    double* fields[] = {&b.mass, &b.stiffness, &b.friction, &b.amplitude, &b.equilibrium, &b.pulsation, &b.exciterAmplitude};
    return *fields[box];
}

} // namespace

TBenchDialog::TBenchDialog(const pendulab::BenchSettings& start, Apply apply, QWidget* parent)
    : QDialog(parent), values_(start), apply_(std::move(apply))
{
    setObjectName(QStringLiteral("BenchDialog"));
    setWindowTitle(tr("Banc simulé"));
    const std::array<std::pair<const char*, QString>, BoxCount> names{{
        {"benchmass", tr("Masse (kg)")},
        {"benchstiffness", tr("Raideur (N/m)")},
        {"benchfriction", tr("Frottement (kg/s)")},
        {"benchamplitude", tr("Amplitude au lâcher (V)")},
        {"benchrest", tr("Position de repos (V)")},
        {"benchpulsation", tr("Pulsation de l'excitateur (rad/s)")},
        {"benchexciteramplitude", tr("Amplitude de l'excitateur (V)")},
    }};
    auto* form = new QFormLayout;
    exciter_ = new QCheckBox(tr("Excitateur"), this);
    exciter_->setObjectName(QStringLiteral("benchexciter"));
    describe(exciter_, tr("Excitateur"), tr("Le haut du ressort bouge de E·cos(Ωe·t) dès le début de la mesure."));
    for (int i = 0; i < BoxCount; ++i) {
        if (i == Pulsation) form->addRow(exciter_);
        auto* box = new QLineEdit(this);
        box->setObjectName(QString::fromLatin1(names[static_cast<std::size_t>(i)].first));
        describe(box, names[static_cast<std::size_t>(i)].second);
        form->addRow(names[static_cast<std::size_t>(i)].second + QStringLiteral(" :"), box);
        boxes_[static_cast<std::size_t>(i)] = box;
    }
    hide_ = new QCheckBox(tr("Masquer les valeurs"), this);
    hide_->setObjectName(QStringLiteral("benchhide"));
    describe(hide_, tr("Masquer les valeurs"), tr("Les valeurs du pendule restent cachées : les élèves les mesurent."));
    hide_->setChecked(values_.hidden);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("benchok"));
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("benchcancel"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(hide_);
    layout->addWidget(buttons);
    showValues();
    connect(hide_, &QCheckBox::toggled, this, [this](bool hidden) { guarded(this, [this, hidden] { hideToggled(hidden); }); });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { guarded(this, [this] { okClick(); }); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void TBenchDialog::hideToggled(bool hidden)
{
    // What was typed stays: the pendulum's values are kept behind the dots, the exciter's as typed.
    const QString pulsation = boxes_[Pulsation]->text(), amplitude = boxes_[ExciterAmplitude]->text();
    const bool exciter = exciter_->isChecked();
    if (hidden) {
        pendulab::BenchSettings b = values_;
        try {
            for (int i = 0; i < PendulumBoxes; ++i) field(b, i) = typed(static_cast<Box>(i));
        } catch (const std::invalid_argument& e) {
            const QSignalBlocker quiet(hide_);
            hide_->setChecked(false);
            ui().showMessage(this, QString::fromStdString(e.what()));
            return;
        }
        values_ = b;
    }
    values_.hidden = hidden;
    showValues();
    exciter_->setChecked(exciter);
    boxes_[Pulsation]->setText(pulsation);
    boxes_[ExciterAmplitude]->setText(amplitude);
}

void TBenchDialog::showValues()
{
    for (int i = 0; i < BoxCount; ++i) {
        QLineEdit* box = boxes_[static_cast<std::size_t>(i)];
        const bool hidden = values_.hidden && i < PendulumBoxes;
        box->setText(hidden ? QString::fromUtf8(Dots) : fmtShortest(field(values_, i)));
        box->setReadOnly(hidden);
        box->setEnabled(!hidden);
    }
    exciter_->setChecked(values_.exciter);
}

double TBenchDialog::typed(Box box) const
{
    const QLineEdit* b = boxes_[static_cast<std::size_t>(box)];
    if (const std::optional<double> v = readUserNumber(b->text())) return *v;
    const QString why = b->text().trimmed().isEmpty() ? tr("« %1 » est vide : tapez un nombre.").arg(b->accessibleName())
                                                      : tr("« %1 » : « %2 » n'est pas un nombre.").arg(b->accessibleName(), b->text().trimmed());
    throw std::invalid_argument(why.toStdString());
}

pendulab::BenchSettings TBenchDialog::typedSettings() const
{
    pendulab::BenchSettings b = values_;
    for (int i = 0; i < BoxCount; ++i)
        if (!(values_.hidden && i < PendulumBoxes)) field(b, i) = typed(static_cast<Box>(i));
    b.exciter = exciter_->isChecked();
    b.hidden = hide_->isChecked();
    return b;
}

void TBenchDialog::okClick()
{
    pendulab::BenchSettings b;
    try {
        b = typedSettings();
    } catch (const std::invalid_argument& e) {
        ui().showMessage(this, QString::fromStdString(e.what()));
        return;
    }
    if (const std::string why = pendulab::benchRefusal(b); !why.empty()) {
        ui().showMessage(this, QString::fromStdString(why));
        return;
    }
    if (!apply_(b)) {
        ui().showMessage(this, tr("Le banc simulé n'a pas pris ces valeurs."));
        return;
    }
    values_ = b;
    accept();
}
