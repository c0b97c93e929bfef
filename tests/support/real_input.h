#pragma once

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include "controls.h"
#include "experiment_home.h"
#include "fakes.h"
#include "qt_seams.h"

// Input as a keyboard and a mouse give it: events go to the window system's window, and
// Qt routes them to a control the way it does for a person (keyboard grabs, focus,
// default buttons and all). The context has the program's real desktop, so the
// examination's keyboard lock is the real one.
using RealDesktopContext = ContextWith<QtDesktop>;

namespace real_input {

// The window is on screen and has the keyboard, as after a person clicked into it.
inline bool activate(QWidget* control) {
    QWidget* window = control->window();
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

inline void click(QWidget* control) {
    QWidget* window = control->window();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, control->mapTo(window, control->rect().center()));
}

inline void doubleClick(QWidget* control) {
    QWidget* window = control->window();
    const QPoint at = control->mapTo(window, control->rect().center());
    QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {}, at);
}

// A home screen's title panel clicked away, as its member says.
inline void dismissTitlePanel(QWidget* home) {
    const HomeMember& m = qobject_cast<ExperimentHome*>(home)->member();
    QWidget* panel = controls::child(home, m.panelName);
    if (m.panelHidesOnDoubleClick)
        doubleClick(panel);
    else
        click(panel);
}

// Keys typed while `window` is active; text is plain ASCII.
inline void type(QWidget* window, const QString& text) {
    for (QChar c : text) QTest::keyClick(window->window()->windowHandle(), c.toLatin1());
}

inline void key(QWidget* window, Qt::Key k) {
    QTest::keyClick(window->window()->windowHandle(), k);
}

// The student form that follows an accepted password, typed in (the surname box has the
// keyboard), Tab to the name, Return.
inline void nameStudent(QWidget* home) {
    type(home, QStringLiteral("Ivanov"));
    key(home, Qt::Key_Tab);
    type(home, QStringLiteral("Ivan"));
    key(home, Qt::Key_Return);
}

// The controls Tab takes the keyboard to, once round the active window: `first` (given
// the focus), then each control Tab reaches until the focus comes back to `first`.
inline QStringList tabRound(QWidget* first) {
    first->setFocus(Qt::TabFocusReason);
    QStringList names{first->objectName()};
    for (int i = 0; i < 40; ++i) {
        key(first, Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        if (focus == first) break;
        names << (focus ? focus->objectName() : QStringLiteral("(nothing)"));
        if (!focus) break;
    }
    return names;
}

}  // namespace real_input
