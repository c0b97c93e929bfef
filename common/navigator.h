#pragma once

#include <QHash>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

#include "window_names.h"

// Creates the windows of a program by name, so that windows hand over to each other
// without including each other. A window's name is also its objectName.
class Navigator {
public:
    // Makes a window and performs its load; returns nullptr when the load ended the
    // program (the window is then already gone).
    using Factory = std::function<QWidget*()>;

    void add(WindowName name, Factory make);

    // Shows the window of that name: the open one (also when it was only hidden) or
    // a new one. Returns nullptr when its load ended the program.
    QWidget* open(WindowName name);
    // The same, without making it the active window: for a window that opens under one
    // about to come up in front of it. Were it activated, its activation could reach the
    // window system after the front one's and bring it on top.
    QWidget* openBehind(WindowName name);

    // The window of that name while it is open (shown or hidden), else nullptr.
    QWidget* find(WindowName name) const;

    // Closes the window of that name if it is open; a window that is not open is left alone.
    void closeIfOpen(WindowName name);

    // Hides an open window that a later open() brings back as it was. A window that is
    // hidden any other way (closed, waiting to be deleted) no longer counts as open.
    void park(QWidget* window);

private:
    QHash<QString, Factory> m_factories;
    QWidget* show(WindowName name, bool activate);

    QHash<QString, QPointer<QWidget>> m_open;
    QHash<QString, bool> m_parked;
};
