#include "views/CalibrationDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <charconv>
#include <cmath>
#include <numeric>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "core/FormatCore.h"
#include "session/Session.h"
#include "views/Accessibility.h"
#include "views/Format.h"
#include "views/Services.h"

namespace {

// A number as typed: a plain decimal with the comma or the point ("0,005", "-0.02"), optionally
// followed by an exponent ("5e-3", "5,2E-4"), as the shortest form of a small slope is written.
std::optional<double> typedNumber(const QString& text)
{
    std::string s = text.trimmed().replace(QChar(0x2212), QLatin1Char('-')).toStdString(); // "−" as "-"
    const std::size_t e = s.find_first_of("eE");
    const std::optional<double> mantissa = pendulab::parsePlainDecimal(s.substr(0, e));
    if (!mantissa || e == std::string::npos) return mantissa;
    std::string_view exponent = std::string_view(s).substr(e + 1);
    if (!exponent.empty() && (exponent.front() == '+' || exponent.front() == '-')) exponent.remove_prefix(1);
    if (exponent.empty() || exponent.size() > 3) return std::nullopt;
    for (char c : exponent)
        if (c < '0' || c > '9') return std::nullopt;
    std::string plain = s;
    for (char& c : plain)
        if (c == ',') c = '.';
    if (plain.front() == '+') plain.erase(0, 1);
    double value = 0.0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

QString plain(const QString& withMnemonic) { return QString(withMnemonic).remove(QLatin1Char('&')); }

// A box typed into, named `name`, with its label (its buddy) before it at (row, column) of `grid`.
QLineEdit* addBox(QGridLayout* grid, const char* name, const QString& label, const QString& help, int row, int column)
{
    QWidget* page = grid->parentWidget();
    auto* l = new QLabel(label, page);
    auto* b = new QLineEdit(page);
    b->setObjectName(QString::fromLatin1(name));
    l->setBuddy(b);
    describe(b, plain(label), help);
    grid->addWidget(l, row, column);
    grid->addWidget(b, row, column + 1);
    return b;
}

} // namespace

TCalibrationDialog::TCalibrationDialog(pendulab::Session* session, LiveReader readLive, QWidget* parent)
    : QDialog(parent), session_(session), readLive_(std::move(readLive))
{
    setObjectName(QStringLiteral("CalibrationDialog"));
    setWindowTitle(tr("Étalonner le capteur"));
    auto* layout = new QVBoxLayout(this);
    ways_ = new QTabWidget(this);
    ways_->setObjectName(QStringLiteral("calibrationways"));
    describe(ways_, tr("Manière d'étalonner"));
    ways_->addTab(buildTypedPage(), tr("Pente et décalage"));
    ways_->addTab(buildPointsPage(), tr("Deux points"));
    ways_->addTab(buildZeroPage(), tr("Zéro au repos"));
    layout->addWidget(ways_);
    status_ = new TValueLabel(this);
    status_->setObjectName(QStringLiteral("calibrationstatus"));
    status_->setWordWrap(true);
    describe(status_, tr("État de l'étalonnage"));
    layout->addWidget(status_);
    applyactive_ = new QCheckBox(tr("Appliquer aussi à la &mesure active"), this);
    applyactive_->setObjectName(QStringLiteral("applyactive"));
    // A sensor's samples only: a file in centimetres is its own calibration.
    applyactive_->setEnabled(session_->activeIndex() >= 0 && session_->measurement().unit == "V");
    describe(applyactive_, plain(applyactive_->text()),
             tr("La mesure active est relue avec cet étalonnage ; sinon seules les prochaines mesures le prennent."));
    layout->addWidget(applyactive_);
    buildButtons();
    sampler_ = new QTimer(this);
    sampler_->setObjectName(QStringLiteral("calibrationsampler"));
    sampler_->setInterval(ReadingPeriodMs);
    connect(sampler_, &QTimer::timeout, this, [this] { guarded(this, [this] { readingTick(); }); });
    prefill();
}

QWidget* TCalibrationDialog::buildTypedPage()
{
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    slopebox_ = addBox(grid, "slopebox", tr("&Pente (m/V)"), tr("Mètres par volt du capteur, par exemple 0,005 ou 5e-3."), 0, 0);
    offsetbox_ = addBox(grid, "offsetbox", tr("&Décalage (m)"), tr("Position, en mètres, lue à 0 V."), 1, 0);
    grid->setRowStretch(2, 1);
    return page;
}

QWidget* TCalibrationDialog::buildPointsPage()
{
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    const auto button = [&](const char* name, const QString& accessible, int row) {
        auto* b = new QPushButton(tr("Lire"), page);
        b->setObjectName(QString::fromLatin1(name));
        describe(b, accessible, tr("Moyenne de l'entrée sur une demi-seconde, mise dans la tension."));
        grid->addWidget(b, row, 4);
        return b;
    };
    const QString where = tr("Position de la masse, dans l'unité choisie.");
    const QString volts = tr("Tension du capteur à cette position, tapée ou lue.");
    point1pos_ = addBox(grid, "point1pos", tr("Position du point &1"), where, 0, 0);
    point1volts_ = addBox(grid, "point1volts", tr("Tension du point 1 (V)"), volts, 0, 2);
    read1_ = button("read1", tr("Lire la tension du point 1"), 0);
    point2pos_ = addBox(grid, "point2pos", tr("Position du point &2"), where, 1, 0);
    point2volts_ = addBox(grid, "point2volts", tr("Tension du point 2 (V)"), volts, 1, 2);
    read2_ = button("read2", tr("Lire la tension du point 2"), 1);
    auto* unitLabel = new QLabel(tr("&Unité des positions"), page);
    pointunit_ = new QComboBox(page);
    pointunit_->setObjectName(QStringLiteral("pointunit"));
    pointunit_->addItems({QStringLiteral("cm"), QStringLiteral("m")});
    unitLabel->setBuddy(pointunit_);
    describe(pointunit_, plain(unitLabel->text()), tr("L'unité des deux positions tapées."));
    grid->addWidget(unitLabel, 2, 0);
    grid->addWidget(pointunit_, 2, 1);
    grid->setRowStretch(3, 1);
    connect(read1_, &QPushButton::clicked, this, [this] { guarded(this, [this] { readInto(point1volts_); }); });
    connect(read2_, &QPushButton::clicked, this, [this] { guarded(this, [this] { readInto(point2volts_); }); });
    return page;
}

QWidget* TCalibrationDialog::buildZeroPage()
{
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* help = new QLabel(tr("La masse au repos : « Zéro ici » lit l'entrée une demi-seconde et choisit le décalage "
                               "qui fait de cette position le zéro, avec la pente de l'onglet « Pente et décalage »."),
                            page);
    help->setWordWrap(true);
    layout->addWidget(help);
    zerohere_ = new QPushButton(tr("&Zéro ici"), page);
    zerohere_->setObjectName(QStringLiteral("zerohere"));
    describe(zerohere_, plain(zerohere_->text()), help->text());
    layout->addWidget(zerohere_);
    layout->addStretch(1);
    connect(zerohere_, &QPushButton::clicked, this, [this] { guarded(this, [this] { zeroHereClick(); }); });
    return page;
}

void TCalibrationDialog::buildButtons()
{
    auto* buttons = new QDialogButtonBox(this);
    sourcedefault_ = buttons->addButton(tr("Par &défaut de la source"), QDialogButtonBox::ResetRole);
    sourcedefault_->setObjectName(QStringLiteral("sourcedefault"));
    describe(sourcedefault_, plain(sourcedefault_->text()), tr("Les prochaines mesures prennent l'étalonnage de la source."));
    apply_ = buttons->addButton(tr("&Appliquer"), QDialogButtonBox::AcceptRole);
    apply_->setObjectName(QStringLiteral("apply"));
    apply_->setDefault(true);
    describe(apply_, plain(apply_->text()), tr("Les prochaines mesures prennent cet étalonnage."));
    cancel_ = buttons->addButton(tr("Annuler"), QDialogButtonBox::RejectRole);
    cancel_->setObjectName(QStringLiteral("cancel"));
    describe(cancel_, cancel_->text());
    layout()->addWidget(buttons);
    connect(apply_, &QPushButton::clicked, this, [this] { guarded(this, [this] { applyClick(); }); });
    connect(sourcedefault_, &QPushButton::clicked, this, [this] { guarded(this, [this] { sourceDefaultClick(); }); });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

// What is in force for the next recordings: the student's own calibration, else the active run's,
// else the card's sensor.
void TCalibrationDialog::prefill()
{
    pendulab::Calibration c;
    if (session_->nextCalibration()) c = *session_->nextCalibration();
    else if (session_->hasMeasurement() && session_->measurement().unit == "V" && session_->measurement().calibration.known)
        c = session_->measurement().calibration;
    else c = pendulab::Calibration{pendulab::CardMetresPerVolt, 0.0, true};
    slopebox_->setText(fmtShortest(c.slope));
    offsetbox_->setText(fmtShortest(c.offset));
}

void TCalibrationDialog::startFrom(const pendulab::Calibration& c)
{
    slopebox_->setText(fmtShortest(c.slope));
    offsetbox_->setText(fmtShortest(c.offset));
}

double TCalibrationDialog::number(const QLineEdit* box, const QString& name) const
{
    if (const std::optional<double> v = typedNumber(box->text())) return *v;
    const QString why = box->text().trimmed().isEmpty() ? tr("« %1 » est vide : tapez un nombre.").arg(name)
                                                        : tr("« %1 » : « %2 » n'est pas un nombre.").arg(name, box->text().trimmed());
    throw std::invalid_argument(why.toStdString());
}

pendulab::Calibration TCalibrationDialog::typed() const
{
    return pendulab::typedCalibration(number(slopebox_, slopebox_->accessibleName()), number(offsetbox_, offsetbox_->accessibleName()));
}

pendulab::Calibration TCalibrationDialog::twoPoints() const
{
    const double metres = *pendulab::metresPerUnit(pointunit_->currentText().toStdString());
    const auto value = [this](const QLineEdit* box) { return number(box, box->accessibleName()); };
    const double y1 = value(point1pos_) * metres, x1 = value(point1volts_);
    const double y2 = value(point2pos_) * metres, x2 = value(point2volts_);
    return pendulab::twoPointCalibration(x1, y1, x2, y2);
}

void TCalibrationDialog::applyClick()
{
    if (reading()) return;
    pendulab::Calibration c;
    try {
        c = ways_->currentIndex() == 1 ? twoPoints() : typed();
    } catch (const std::invalid_argument& e) {
        ui().showMessage(this, QString::fromStdString(e.what()));
        return;
    }
    session_->setNextCalibration(c);
    if (applyactive_->isEnabled() && applyactive_->isChecked()) session_->setRunCalibration(session_->activeIndex(), c);
    accept();
}

void TCalibrationDialog::sourceDefaultClick()
{
    if (reading()) return;
    session_->setNextCalibration(std::nullopt);
    accept();
}

void TCalibrationDialog::zeroHereClick()
{
    double slope = 0.0;
    try {
        slope = pendulab::typedCalibration(number(slopebox_, slopebox_->accessibleName()), 0.0).slope;
    } catch (const std::invalid_argument& e) {
        ui().showMessage(this, QString::fromStdString(e.what()));
        return;
    }
    startReading(
        [this, slope](double v) {
            const pendulab::Calibration c = pendulab::zeroAt(pendulab::typedCalibration(slope, 0.0), v);
            offsetbox_->setText(fmtShortest(c.offset));
            status_->setValueText(tr("Décalage : %1 m (lu %2 V, pente %3 m/V).")
                                      .arg(fmtShortest(c.offset), fmtSignificant(v, 6), fmtShortest(slope)));
        },
        tr("La source ne répond pas : tapez le décalage."));
}

void TCalibrationDialog::readInto(QLineEdit* box)
{
    startReading([box](double v) { box->setText(fmtSignificant(v, 6)); }, tr("La source ne répond pas : tapez la tension."));
}

void TCalibrationDialog::startReading(std::function<void(double)> done, const QString& silent)
{
    if (reading()) return;
    done_ = std::move(done);
    silent_ = silent;
    readings_.clear();
    ticks_ = 0;
    setReading(true);
    sampler_->start();
}

void TCalibrationDialog::readingTick()
{
    std::optional<double> v;
    try {
        if (readLive_) v = readLive_();
    } catch (const std::exception&) {
        v.reset(); // a source that fails has not answered
    }
    if (v && std::isfinite(*v)) readings_.push_back(*v);
    // A source that does not answer ends the reading at once: a board may wait a second per reading.
    if (v && ++ticks_ < ReadingSpanMs / ReadingPeriodMs) return;
    sampler_->stop();
    std::function<void(double)> done = std::move(done_);
    done_ = nullptr;
    setReading(false);
    if (readings_.empty()) {
        ui().showMessage(this, silent_);
        return;
    }
    done(std::accumulate(readings_.begin(), readings_.end(), 0.0) / static_cast<double>(readings_.size()));
}

void TCalibrationDialog::setReading(bool on)
{
    for (QPushButton* b : {read1_, read2_, zerohere_, apply_, sourcedefault_}) b->setEnabled(!on);
    status_->setValueText(on ? tr("Lecture de l'entrée pendant une demi-seconde…") : QString());
}
