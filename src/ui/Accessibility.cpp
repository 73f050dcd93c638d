#include "ui/Accessibility.h"

#include "ui/FlexGrid.h"
#include "ui/GridAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QVariant>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko::accessible {

namespace {

// Dynamic properties that tell the factory below which interface a widget gets.
constexpr char windowRoleProperty[] = "setzaikoWindowRole";
constexpr char valueCaptionProperty[] = "setzaikoValueCaption";

// A value label: what it counts, then the value it shows.
class ValueLabel : public QAccessibleWidget
{
public:
    explicit ValueLabel(QLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name) {
            return QAccessibleWidget::text(t);
        }
        const QString caption = widget()->property(valueCaptionProperty).toString();
        const QString value = static_cast<const QLabel*>(widget())->text();
        return value.isEmpty() ? caption : caption + u' ' + value;
    }
};

// Without it a plain widget window is a "filler" to the screen reader, a client area of no
// window at all; the list grids get their own tables (GridAccessible).
QAccessibleInterface* interfaceFor(const QString& /*className*/, QObject* object)
{
    if (!object || !object->isWidgetType()) {
        return nullptr;
    }
    auto* widget = static_cast<QWidget*>(object);
    if (auto* grid = qobject_cast<FlexGrid*>(widget)) {
        return new GridAccessible(grid);
    }
    if (const QVariant role = widget->property(windowRoleProperty); role.isValid()) {
        return new QAccessibleWidget(widget, QAccessible::Role(role.toInt()));
    }
    if (auto* label = qobject_cast<QLabel*>(widget);
        label && label->property(valueCaptionProperty).isValid()) {
        return new ValueLabel(label);
    }
    return nullptr;
}

// An interface made before the widget was described (a screen reader asked, or a label told
// of a new text, which Qt does with or without a screen reader) stays in Qt's cache: it goes,
// so that the next one asked for is made anew.
void forgetInterface(QWidget* widget)
{
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(widget)) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
    }
}

void installFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(interfaceFor);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace

void describeWindow(QWidget* window, WindowRole role, const QString& name)
{
    installFactory();
    window->setProperty(windowRoleProperty, int(role == WindowRole::Dialog ? QAccessible::Dialog
                                                                           : QAccessible::Window));
    window->setAccessibleName(name);
    forgetInterface(window);
}

void labelWith(QWidget* control, QLabel* caption)
{
    installFactory();
    caption->setBuddy(control);
    control->setAccessibleName(caption->text());
    forgetInterface(control);
}

void describeValue(QLabel* value, const QString& caption)
{
    installFactory();
    value->setProperty(valueCaptionProperty, caption);
    forgetInterface(value);
}

} // namespace setzaiko::accessible
