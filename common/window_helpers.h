#pragma once

#include <QPoint>
#include <QSizeF>

class QLineEdit;
class QString;
class QWidget;
class ProgramContext;

// flag -1 keeps the window above all others, 0 returns it to the normal order, any
// other value brings it to the top of the normal order. The window is shown if
// hidden, and neither moved, resized nor activated.
void SetTopMost(QWidget* window, int flag);

// Where a window of the given size goes to be centred on a screen of the given size
// (same units): each difference rounded half to even, then halved with truncation.
// A window larger than the screen gets negative coordinates.
QPoint centerPosition(QSizeF screen, QSizeF window);

// Centres the window on the program's screen, working in twips.
void CenterForm(ProgramContext& ctx, QWidget* window);

// The window loses its close and maximize buttons and ignores a close request that
// it did not make itself (the window manager's, Alt+F4); minimize stays. Call before
// the window is shown.
void RemoveSysMenuItems(QWidget* window);

// Key presses that reach the window itself (no control took them) are dropped, so
// the window has no shortcuts of its own.
void discardWindowKeys(QWidget* window);

// A supervisor's password gate: true when `box` holds the examination's password (as stored).
// Otherwise shows `text` under `caption`, empties the box and gives it the keyboard again.
bool passwordAccepted(ProgramContext& ctx, QLineEdit* box, const QString& storedPassword, const QString& text,
                      const QString& caption);
