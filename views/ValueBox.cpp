#include "views/ValueBox.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "core/FormatCore.h"
#include "views/Format.h"

QString TValueBox::number(const QString& text) const
{
    QString t = text.trimmed();
    const QString unit = suffix().trimmed();
    if (!unit.isEmpty() && t.endsWith(unit)) t.chop(unit.size());
    return t.trimmed();
}

QString TValueBox::problemWith(const QString& text) const
{
    const QString typed = number(text);
    if (typed.isEmpty()) return tr("Tapez une valeur.");
    const std::optional<double> v = pendulab::parsePlainDecimal(typed.toStdString());
    if (!v) return tr("« %1 » n'est pas un nombre : des chiffres et une virgule (ou un point), sans espace ni exposant.").arg(typed);
    if (*v < minimum() || *v > maximum())
        return tr("%1 est hors des limites : de %2 à %3 %4.")
            .arg(typed, fmtNumber(minimum(), 'f', decimals()), fmtNumber(maximum(), 'f', decimals()), suffix().trimmed());
    return {};
}

QValidator::State TValueBox::validate(QString& input, int&) const
{
    return problemWith(input).isEmpty() ? QValidator::Acceptable : QValidator::Intermediate;
}

double TValueBox::valueFromText(const QString& text) const
{
    return pendulab::parsePlainDecimal(number(text).toStdString()).value_or(value());
}

void TValueBox::fixup(QString&) const {} // a refused text is not guessed into a value

void TValueBox::judgeTypedText()
{
    const QString why = problemWith(lineEdit()->text());
    if (!why.isEmpty() || !refusal_.isEmpty()) showRefusal(why);
}

void TValueBox::showRefusal(const QString& why)
{
    if (refusal_.isEmpty()) help_ = toolTip();
    refusal_ = why;
    setToolTip(why.isEmpty() ? help_ : why);
    setAccessibleDescription(why.isEmpty() ? help_ : why);
    setStyleSheet(why.isEmpty() ? QString() : QStringLiteral("TValueBox { border: 2px solid rgb(200, 0, 0); }"));
}

void TValueBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) judgeTypedText();
    else if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down || event->key() == Qt::Key_PageUp ||
             event->key() == Qt::Key_PageDown)
        showRefusal(QString()); // a step starts from the value kept
    QDoubleSpinBox::keyPressEvent(event);
}

void TValueBox::focusOutEvent(QFocusEvent* event)
{
    judgeTypedText();
    QDoubleSpinBox::focusOutEvent(event);
}
