#pragma once

#include <QAccessible>
#include <QRegularExpression>
#include <QStringList>
#include <QWidget>

#include <functional>

namespace setzaiko::testing {

// Whether a name holds what lays a caption out instead of saying it: the ideographic space
// used as letter spacing, an ordinary space after every letter ("セ ッ ト"), the << >> marks.
inline bool hasLayoutCharacters(const QString& name)
{
    static const QRegularExpression spaced(QStringLiteral(u"^(\\S )+\\S$"));
    return name.contains(QChar(0x3000)) || name.contains(QStringLiteral(u"<<")) ||
           name.contains(QStringLiteral(u">>")) ||
           (name.size() > 4 && spaced.match(name).hasMatch());
}

// Visits every object of the accessibility tree below the interface, depth first.
inline void walkAccessible(QAccessibleInterface* node,
                           const std::function<void(QAccessibleInterface*)>& visit)
{
    visit(node);
    for (int i = 0; i < node->childCount(); ++i) {
        if (QAccessibleInterface* child = node->child(i)) {
            walkAccessible(child, visit);
        }
    }
}

// What a screen reader finds wrong with a window: a window without the role of one, a text
// box, list, grid, value or heading without a name, names that carry layout characters, a
// control outside the window's visible part exposed as showing, and more than one object that
// claims the focus. Empty when all is well.
inline QStringList accessibilityFaults(QWidget* window)
{
    QStringList faults;
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(window);
    if (!root) {
        return {QStringLiteral(u"no accessible interface")};
    }
    if (root->role() != QAccessible::Window && root->role() != QAccessible::Dialog) {
        faults << QStringLiteral(u"window role %1").arg(int(root->role()));
    }
    const QRect visiblePart = root->rect();
    int focused = 0;
    walkAccessible(root, [&](QAccessibleInterface* node) {
        const QString name = node->text(QAccessible::Name);
        const QString where =
            QStringLiteral(u"%1 \"%2\" (role %3)")
                .arg(node->object() ? node->object()->objectName() : QString(), name)
                .arg(int(node->role()));
        if (hasLayoutCharacters(name)) {
            faults << where + QStringLiteral(u": layout characters");
        }
        const QAccessible::State state = node->state();
        if (state.invisible) {
            return;
        }
        switch (node->role()) {
        case QAccessible::Window:
        case QAccessible::Dialog:
        case QAccessible::EditableText:
        case QAccessible::List:
        case QAccessible::Table:
        case QAccessible::StaticText:
        case QAccessible::PushButton:
        case QAccessible::ColumnHeader:
            if (name.trimmed().isEmpty()) {
                faults << where + QStringLiteral(u": no name");
            }
            break;
        default:
            break;
        }
        if (node->object() && node->object()->isWidgetType() &&
            !visiblePart.intersects(node->rect())) {
            faults << where + QStringLiteral(u": outside the window, yet showing");
        }
        if (state.focused) {
            ++focused;
        }
    });
    if (focused > 1) {
        faults << QStringLiteral(u"%1 objects claim the focus").arg(focused);
    }
    return faults;
}

// The interface of the window's control of that object name.
inline QAccessibleInterface* accessibleOf(QWidget* window, const QString& objectName)
{
    QWidget* control =
        window->objectName() == objectName ? window : window->findChild<QWidget*>(objectName);
    return control ? QAccessible::queryAccessibleInterface(control) : nullptr;
}

// A control as a screen reader should meet it.
struct Spoken
{
    QString objectName;
    QAccessible::Role role;
    QString name;
};

// Where the window's controls differ from what a screen reader should meet; empty when all
// are as expected.
inline QStringList spokenMismatches(QWidget* window, const QList<Spoken>& expected)
{
    QStringList mismatches;
    for (const Spoken& control : expected) {
        QAccessibleInterface* node = accessibleOf(window, control.objectName);
        if (!node) {
            mismatches << control.objectName + QStringLiteral(u": not found");
        } else if (node->role() != control.role || node->text(QAccessible::Name) != control.name) {
            mismatches << QStringLiteral(u"%1: role %2 \"%3\", expected role %4 \"%5\"")
                              .arg(control.objectName)
                              .arg(int(node->role()))
                              .arg(node->text(QAccessible::Name))
                              .arg(int(control.role))
                              .arg(control.name);
        }
    }
    return mismatches;
}

} // namespace setzaiko::testing
