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
    const QString name = window.text();
    if (QWidget* w = find(window)) {
        m_parked.remove(name);
        w->show();
        w->raise();
        w->activateWindow();
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
    w->show();
    w->raise();
    w->activateWindow();
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
