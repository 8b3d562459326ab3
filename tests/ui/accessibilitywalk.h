#pragma once

#include <QAccessible>
#include <QGroupBox>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace zf::test {

// Walks what assistive technology sees of a window, as the wizard's walk does,
// and lists every interactive control it could not name, by the path of object
// names that leads to it. A list (combo box) is named by its value on this
// platform; what it is for is told by the label of its relation, so a list
// counts as named only with a label. The cells of tables, lists and trees are
// their own names and are not walked. A group box is named by its title.
struct AccessibilityWalk {
    QStringList unnamed;
    int seen = 0;

    static bool interactive(QAccessible::Role role) {
        switch (role) {
        case QAccessible::PushButton:
        case QAccessible::CheckBox:
        case QAccessible::RadioButton:
        case QAccessible::ComboBox:
        case QAccessible::EditableText:
        case QAccessible::SpinBox:
        case QAccessible::Slider:
        case QAccessible::ScrollBar:
        case QAccessible::Table:
        case QAccessible::List:
        case QAccessible::Tree:
        case QAccessible::PageTab:
        case QAccessible::PageTabList:
        case QAccessible::ButtonMenu:
        case QAccessible::ButtonDropDown:
        case QAccessible::Canvas:
        case QAccessible::Graphic:
        case QAccessible::ProgressBar:
        case QAccessible::ToolBar:
        case QAccessible::Grouping:
        case QAccessible::Link:
            return true;
        default:
            return false;
        }
    }

    static bool named(QAccessibleInterface* iface) {
        if (iface->role() != QAccessible::ComboBox)
            return !iface->text(QAccessible::Name).trimmed().isEmpty();
        for (const auto& [label, relation] : iface->relations(QAccessible::Label))
            if (label && !label->text(QAccessible::Name).trimmed().isEmpty())
                return true;
        return false;
    }

    void walk(QAccessibleInterface* iface, const QString& path) {
        if (!iface)
            return;
        for (int i = 0; i < iface->childCount(); ++i) {
            QAccessibleInterface* c = iface->child(i);
            if (!c || c->state().invisible)
                continue;
            QObject* o = c->object();
            const QString where = path + QLatin1Char('/') +
                                  (o && !o->objectName().isEmpty() ? o->objectName()
                                   : o ? QString::fromLatin1(o->metaObject()->className())
                                       : QString::number(i));
            // A button box groups its buttons without a name of its own.
            const bool group = c->role() == QAccessible::Grouping;
            if (interactive(c->role()) && (!group || qobject_cast<QGroupBox*>(o))) {
                ++seen;
                if (!named(c))
                    unnamed << where;
            }
            const QAccessible::Role r = c->role();
            if (r != QAccessible::Table && r != QAccessible::List && r != QAccessible::Tree &&
                r != QAccessible::ComboBox && r != QAccessible::PageTabList)
                walk(c, where);
        }
    }

    static AccessibilityWalk of(QWidget* window) {
        AccessibilityWalk w;
        w.walk(QAccessible::queryAccessibleInterface(window), window->objectName());
        return w;
    }
};

} // namespace zf::test
