#include "widgets/TemplatePage.h"

#include <QAccessibleWidget>
#include <QAction>
#include <QVariant>

namespace wendmoor {

namespace {

constexpr char kActionsInTree[] = "wendmoorActionsInTree";

bool ActionsInTree(QObject* window) {
    return window != nullptr && window->property(kActionsInTree).toBool();
}

class ReadmeLinkAccessible final : public QAccessibleWidget {
  public:
    explicit ReadmeLinkAccessible(QLabel* label) : QAccessibleWidget(label, QAccessible::Link) {}
    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Name ? widget()->accessibleName()
                                         : QAccessibleWidget::text(kind);
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction()) emit static_cast<QLabel*>(widget())->linkActivated("readme");
    }
};

class ActionAccessible final : public QAccessibleObject, public QAccessibleActionInterface {
  public:
    explicit ActionAccessible(QAction* action) : QAccessibleObject(action) {}
    QAction* Action() const { return static_cast<QAction*>(object()); }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(Action()->parent());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) return QString(Action()->text()).remove(QLatin1Char('&'));
        if (kind == QAccessible::Accelerator) return Action()->shortcut().toString();
        return {};
    }
    QAccessible::Role role() const override { return QAccessible::Button; }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.disabled = !Action()->isEnabled();
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        // Queued: a command that opens a modal dialog must not keep the screen reader waiting.
        if (name == pressAction())
            QMetaObject::invokeMethod(Action(), &QAction::trigger, Qt::QueuedConnection);
    }
    QStringList keyBindingsForAction(const QString&) const override {
        return {Action()->shortcut().toString()};
    }
};

class WindowAccessible final : public QAccessibleWidget {
  public:
    explicit WindowAccessible(QWidget* window) : QAccessibleWidget(window, QAccessible::Dialog) {}
    int childCount() const override {
        return QAccessibleWidget::childCount() + static_cast<int>(widget()->actions().size());
    }
    QAccessibleInterface* child(int index) const override {
        const int own = QAccessibleWidget::childCount();
        if (index < own) return QAccessibleWidget::child(index);
        QAction* action = widget()->actions().value(index - own);
        return action == nullptr ? nullptr : QAccessible::queryAccessibleInterface(action);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const int action = widget()->actions().indexOf(qobject_cast<QAction*>(child->object()));
        return action < 0 ? QAccessibleWidget::indexOfChild(child)
                          : QAccessibleWidget::childCount() + action;
    }
};

QAccessibleInterface* Factory(const QString&, QObject* object) {
    if (auto* link = qobject_cast<ReadmeLink*>(object)) return new ReadmeLinkAccessible(link);
    if (ActionsInTree(object)) return new WindowAccessible(static_cast<QWidget*>(object));
    auto* action = qobject_cast<QAction*>(object);
    return action != nullptr && ActionsInTree(action->parent()) ? new ActionAccessible(action)
                                                                : nullptr;
}

[[maybe_unused]] const bool kFactoryInstalled = (QAccessible::installFactory(Factory), true);

}  // namespace

void ExposeActionsToScreenReaders(QWidget* window) {
    window->setProperty(kActionsInTree, true);
}

}  // namespace wendmoor
