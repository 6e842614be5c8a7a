#include "app/UnitChoice.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QLabel>
#include <QSettings>

#include "session/Session.h"
#include "views/Accessibility.h"
#include "views/Services.h"

namespace {
const QString kSetting = QStringLiteral("display/unit");
} // namespace

TUnitChoice::TUnitChoice(pendulab::Session* session, QWidget* parent, QHBoxLayout* row, int position)
    : QObject(parent), session_(session)
{
    auto* label = new QLabel(tr("Unité"), parent);
    label->setObjectName(QStringLiteral("unitlbl"));
    box_ = new QComboBox(parent);
    box_->setObjectName(QStringLiteral("unitcmb"));
    box_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    label->setBuddy(box_);
    describe(box_, tr("Unité"), tr("L'unité des positions sur les courbes, dans le modèle et les exports"));
    row->insertWidget(position, label);
    row->insertWidget(position + 1, box_);
    row->insertSpacing(position + 2, 16);
    const QString remembered = QSettings().value(kSetting, QStringLiteral("V")).toString();
    guarded(parent, [&] { session_->setDisplayUnit(remembered.toStdString()); }); // an unknown one stays "V"
    using S = pendulab::Session;
    for (auto change : {&S::measurementChanged, &S::displayUnitChanged, &S::nextCalibrationChanged, &S::experimentReplaced})
        connect(session, change, this, [this] { guarded(box_, [this] { refill(); }); });
    connect(box_, &QComboBox::activated, this, [this](int index) { guarded(box_, [&] { chosen(index); }); });
    refill();
}

void TUnitChoice::refill()
{
    const QSignalBlocker quiet(box_);
    box_->clear();
    for (const std::string& unit : session_->unitChoices()) box_->addItem(QString::fromStdString(unit));
    box_->setCurrentIndex(box_->findText(QString::fromStdString(session_->shownUnit())));
}

void TUnitChoice::chosen(int index)
{
    const QString unit = box_->itemText(index);
    if (unit.isEmpty()) return;
    session_->setDisplayUnit(unit.toStdString());
    QSettings().setValue(kSetting, unit);
}
