#include "views/Accessibility.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

#include "views/UpDown.h"

void TValueLabel::setValueText(const QString& text)
{
    const QString old = this->text();
    if (text == old) return;
    setText(text);
    QAccessibleTextUpdateEvent event(this, 0, old, text);
    QAccessible::updateAccessibility(&event);
}

namespace {

// A read-out: its name says what it shows, its value and its (read-only) text are what it shows.
class AccessibleValueLabel : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit AccessibleValueLabel(QWidget* w) : QAccessibleWidget(w, QAccessible::StaticText) {}
    QString shown() const { return static_cast<QLabel*>(widget())->text(); }
    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value) return shown();
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) return shown();
        return QAccessibleWidget::text(t);
    }
    // Read-only text.
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override { return shown().mid(start, end < 0 ? -1 : end - start); }
    int characterCount() const override { return static_cast<int>(shown().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override
    {
        *start = *end = offset;
        return {};
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
