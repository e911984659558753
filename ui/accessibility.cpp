#include "ui/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>

namespace {

const char *const MeaningProperty = "hopsalaValueMeaning";

QAccessibleInterface *ownControl(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    if (className == QLatin1String("BallImage"))
        return new QAccessibleWidget(widget, QAccessible::Graphic);
    if (className == QLatin1String("LineShape"))
        return new QAccessibleWidget(widget, QAccessible::Separator);
    // A top-level QWidget is a mere client area to a screen reader, which
    // then neither names nor announces the window High.
    if (className == QLatin1String("High"))
        return new QAccessibleWidget(widget, QAccessible::Window);
    return nullptr;
}

// A label with an accessible name announces no new caption; the new name is
// announced.
void nameAfterValue(QLabel *label, const QString &meaning, const QString &text)
{
    const QString name = text.isEmpty() ? meaning : meaning + QStringLiteral(": ") + text;
    if (name != label->accessibleName())
        label->setAccessibleName(name);
}

} // namespace

void setValueMeaning(QLabel *label, const QString &meaning)
{
    label->setProperty(MeaningProperty, meaning);
    nameAfterValue(label, meaning, label->text());
}

// The clock's label is given its value on every tick and shows a new one
// once a second; an unchanged value changes nothing.
void setValueText(QLabel *label, const QString &text)
{
    if (text == label->text())
        return;
    label->setText(text);
    nameAfterValue(label, label->property(MeaningProperty).toString(), text);
}

void describeControl(QWidget *widget, const QString &name, const QString &description)
{
    widget->setAccessibleName(name);
    widget->setAccessibleDescription(description);
}

void installAccessibleRoles()
{
    static const bool installed = [] {
        QAccessible::installFactory(ownControl);
        return true;
    }();
    (void)installed;
}
