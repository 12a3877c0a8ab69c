#include "app/mainwindowaccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <mutex>

namespace {

// A menu entry as Qt's own describes one, and its shortcut as a key binding.
class MenuEntryAccessible : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    MenuEntryAccessible(QAction* action, QWidget* owner) : m_action(action), m_owner(owner) {}

    bool isValid() const override { return m_action && m_owner; }
    QObject* object() const override { return m_action; }
    QAccessibleInterface* parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_owner);
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessible::Role role() const override { return QAccessible::MenuItem; }
    void setText(QAccessible::Text, const QString&) override {}

    QString text(QAccessible::Text t) const override
    {
        if (!isValid()) {
            return {};
        }
        switch (t) {
        case QAccessible::Name:
            return QString(m_action->text()).remove(QLatin1Char('&'));
        case QAccessible::Accelerator:
            return m_action->shortcut().toString(QKeySequence::NativeText);
        default:
            return {};
        }
    }

    QRect rect() const override
    {
        auto* menu = qobject_cast<QMenu*>(m_owner.data());
        if (!isValid() || !menu) {
            return {};
        }
        const QRect r = menu->actionGeometry(m_action);
        return r.translated(menu->mapToGlobal(QPoint(0, 0)));
    }

    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid()) {
            return s;
        }
        auto* menu = qobject_cast<QMenu*>(m_owner.data());
        s.invisible = !m_owner->isVisible() || !m_action->isVisible();
        s.focused = menu && menu->activeAction() == m_action;
        s.hotTracked = m_owner->style()->styleHint(QStyle::SH_Menu_MouseTracking);
        s.disabled = !m_action->isEnabled();
        s.checked = m_action->isChecked();
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override
    {
        if (isValid() && name == pressAction() && m_action->isEnabled()) {
            m_action->trigger();
        }
    }
    QStringList keyBindingsForAction(const QString& name) const override
    {
        if (!isValid() || name != pressAction() || m_action->shortcut().isEmpty()) {
            return {};
        }
        // No mnemonic or path of its own: the accelerator stands in the third field.
        return {QString(), QString(), m_action->shortcut().toString(QKeySequence::PortableText)};
    }

private:
    QPointer<QAction> m_action;
    QPointer<QWidget> m_owner;
};

QAccessibleInterface* menuEntryFactory(const QString& className, QObject* object)
{
    auto* action = qobject_cast<QAction*>(object);
    if (className != QLatin1String("QAction") || !action || action->shortcut().isEmpty() ||
        action->menu()) {
        return nullptr;
    }
    for (QObject* owner : action->associatedObjects()) {
        if (auto* menu = qobject_cast<QMenu*>(owner)) {
            return new MenuEntryAccessible(action, menu);
        }
    }
    return nullptr;
}

// The area as a plain container of its sheet windows, as Qt lists them, but in a role a screen
// reader does not speak.
class SheetAreaAccessible : public QAccessibleWidget
{
public:
    explicit SheetAreaAccessible(QMdiArea* area) : QAccessibleWidget(area, QAccessible::Client) {}

    int childCount() const override { return int(windows().size()); }
    QAccessibleInterface* child(int index) const override
    {
        const QList<QMdiSubWindow*> list = windows();
        return index >= 0 && index < list.size()
                   ? QAccessible::queryAccessibleInterface(list[index])
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child ? int(windows().indexOf(qobject_cast<QMdiSubWindow*>(child->object()))) : -1;
    }

private:
    QList<QMdiSubWindow*> windows() const
    {
        return static_cast<QMdiArea*>(widget())->subWindowList();
    }
};

QAccessibleInterface* mdiAreaFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("QMdiArea") && object && object->isWidgetType()) {
        return new SheetAreaAccessible(static_cast<QMdiArea*>(object));
    }
    return nullptr;
}

} // namespace

void installMdiAccessibility()
{
    static std::once_flag installed;
    std::call_once(installed, [] { QAccessible::installFactory(mdiAreaFactory); });
}

void installMenuAccessibility()
{
    static std::once_flag installed;
    std::call_once(installed, [] { QAccessible::installFactory(menuEntryFactory); });
}
