#pragma once

// What a screen reader would be told: every accessibility event the window
// sends while one of these lives, on the offscreen platform too.

#include <QAccessible>
#include <QList>
#include <QPointer>

// The offscreen platform keeps accessibility off and offers no public switch;
// these are Qt's own exported entry points that the platform plugins use.
class QPlatformAccessibility
{
public:
    void setActive(bool active);
};
class QPlatformIntegration
{
public:
    QPlatformAccessibility* accessibility() const;
};
class QGuiApplicationPrivate
{
public:
    static QPlatformIntegration* platform_integration;
};

struct HeardEvent
{
    QAccessible::Event type;
    QPointer<QObject> object;
    int child;                  // -1: the object itself
    QAccessible::State changed; // for StateChanged
};

class AccessibleEvents
{
public:
    AccessibleEvents()
    {
        heard().clear();
        m_before = QAccessible::installUpdateHandler([](QAccessibleEvent* event) {
            QAccessible::State changed;
            if (event->type() == QAccessible::StateChanged)
                changed = static_cast<QAccessibleStateChangeEvent*>(event)->changedStates();
            heard().append({event->type(), event->object(), event->child(), changed});
        });
        QGuiApplicationPrivate::platform_integration->accessibility()->setActive(true);
    }
    ~AccessibleEvents()
    {
        QGuiApplicationPrivate::platform_integration->accessibility()->setActive(false);
        QAccessible::installUpdateHandler(m_before);
        heard().clear();
    }
    AccessibleEvents(const AccessibleEvents&) = delete;
    AccessibleEvents& operator=(const AccessibleEvents&) = delete;

    void clear() { heard().clear(); }
    const QList<HeardEvent>& all() const { return heard(); }
    // The children (rows) that events of this type named on object, in order.
    QList<int> children(QAccessible::Event type, const QObject* object) const
    {
        QList<int> rows;
        for (const HeardEvent& e : heard())
            if (e.type == type && e.object == object && e.child >= 0)
                rows.append(e.child);
        return rows;
    }
    // The rows whose check mark was said to change.
    QList<int> checkedRows(const QObject* object) const
    {
        QList<int> rows;
        for (const HeardEvent& e : heard())
            if (e.type == QAccessible::StateChanged && e.changed.checked && e.object == object)
                rows.append(e.child);
        return rows;
    }
    int count(QAccessible::Event type, const QObject* object) const
    {
        int n = 0;
        for (const HeardEvent& e : heard())
            n += e.type == type && e.object == object;
        return n;
    }

private:
    static QList<HeardEvent>& heard()
    {
        static QList<HeardEvent> events;
        return events;
    }
    QAccessible::UpdateHandler m_before = nullptr;
};
