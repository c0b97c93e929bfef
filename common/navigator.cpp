#include "navigator.h"

#include <QtDebug>

void Navigator::add(WindowName name, Factory make) {
    m_factories.insert(name.text(), std::move(make));
}

QWidget* Navigator::find(WindowName window) const {
    const QString name = window.text();
    QWidget* w = m_open.value(name);
    if (!w || (!w->isVisible() && !m_parked.value(name))) return nullptr;
    return w;
}

QWidget* Navigator::open(WindowName window) {
    return show(window, true);
}

QWidget* Navigator::openBehind(WindowName window) {
    return show(window, false);
}

QWidget* Navigator::show(WindowName window, bool activate) {
    const QString name = window.text();
    const auto showIt = [activate](QWidget* w) {
        if (!activate) {
            const bool wasQuiet = w->testAttribute(Qt::WA_ShowWithoutActivating);
            w->setAttribute(Qt::WA_ShowWithoutActivating);
            w->show();
            w->setAttribute(Qt::WA_ShowWithoutActivating, wasQuiet);
            return;
        }
        w->show();
        w->raise();
        w->activateWindow();
    };
    if (QWidget* w = find(window)) {
        m_parked.remove(name);
        showIt(w);
        return w;
    }
    const auto make = m_factories.find(name);
    if (make == m_factories.end()) {
        qWarning("No window is registered under the name %s", qPrintable(name));
        return nullptr;
    }
    QWidget* w = (*make)();
    if (!w) return nullptr;
    w->setObjectName(name);
    w->setAttribute(Qt::WA_DeleteOnClose);
    m_open.insert(name, w);
    m_parked.remove(name);
    showIt(w);
    return w;
}

void Navigator::closeIfOpen(WindowName window) {
    const QString name = window.text();
    if (QWidget* w = find(window)) {
        m_open.remove(name);
        m_parked.remove(name);
        w->close();
    }
}

void Navigator::park(QWidget* window) {
    m_parked.insert(window->objectName(), true);
    window->hide();
}
