#include "app/Accessibility.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

#include "app/UpDown.h"

void TValueLabel::setValueText(const QString& text)
{
    if (text == this->text()) return;
    setText(text);
    QAccessibleValueChangeEvent event(this, text);
    QAccessible::updateAccessibility(&event);
}

namespace {

class AccessibleValueLabel : public QAccessibleWidget {
public:
    explicit AccessibleValueLabel(QWidget* w) : QAccessibleWidget(w, QAccessible::StaticText) {}
    QString text(QAccessible::Text t) const override
    {
        auto* label = static_cast<QLabel*>(widget());
        if (t == QAccessible::Value) return label->text();
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) return label->text();
        return QAccessibleWidget::text(t);
    }
};

class AccessibleUpDown : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit AccessibleUpDown(QWidget* w) : QAccessibleWidget(w, QAccessible::SpinBox) {}
    TUpDown* upDown() const { return static_cast<TUpDown*>(widget()); }
    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value) return QString::number(upDown()->position());
        return QAccessibleWidget::text(t);
    }
    QVariant currentValue() const override { return upDown()->position(); }
    // Setting the value steps the spinner like clicks do, so the same handler runs.
    void setCurrentValue(const QVariant& value) override
    {
        TUpDown* u = upDown();
        const int target = value.toInt();
        int guard = (u->maximum() - u->minimum()) / (u->increment() > 0 ? u->increment() : 1) + 1;
        while (guard-- > 0 && u->position() + u->increment() <= target && u->position() < u->maximum())
            u->click(TUpDown::btNext);
        while (guard-- > 0 && u->position() - u->increment() >= target && u->position() > u->minimum())
            u->click(TUpDown::btPrev);
    }
    QVariant maximumValue() const override { return upDown()->maximum(); }
    QVariant minimumValue() const override { return upDown()->minimum(); }
    QVariant minimumStepSize() const override { return upDown()->increment(); }
};

QAccessibleInterface* factory(const QString& className, QObject* object)
{
    if (!object || !object->isWidgetType()) return nullptr;
    auto* w = static_cast<QWidget*>(object);
    if (className == QLatin1String("TValueLabel")) return new AccessibleValueLabel(w);
    if (className == QLatin1String("TUpDown")) return new AccessibleUpDown(w);
    return nullptr;
}

} // namespace

void installAccessibility()
{
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(factory);
}

void describe(QWidget* widget, const QString& name, const QString& description)
{
    widget->setAccessibleName(name);
    if (!description.isEmpty()) {
        widget->setAccessibleDescription(description);
        widget->setToolTip(description);
    }
}
