#pragma once

#include <QCursor>
#include <QHash>
#include <QObject>
#include <QPixmap>
#include <functional>

class QWidget;

// Carries a picked tool with the pointer: its icon is the cursor from the pick until the
// next click anywhere, which puts it down and does nothing else. Meanwhile each move of the
// pointer over the window is told to `moved`, in pixels of the window.
class ToolCarrier : public QObject {
    Q_OBJECT
public:
    // `icons` are the window's pictures, by file name; they outlive the carrier.
    ToolCarrier(QWidget* window, const QHash<QString, QPixmap>& icons);
    ~ToolCarrier() override;

    // Takes up a tool with its icon; false while one is carried already.
    bool pick(const QString& icon);
    // Another icon for the tool carried (the same tool over the eye).
    void setIcon(const QString& icon);
    // The click that ends the carrying (also when the window puts the tool down itself).
    void putDown();
    bool carrying() const { return m_carrying; }
    // The file of the icon on show; empty when nothing is carried.
    QString icon() const { return m_carrying ? m_icon : QString(); }

    std::function<void(QPoint windowPos)> moved;
    std::function<void()> puttingDown;  // told before the cursor goes back

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QCursor cursor(const QString& icon) const;
    void watchApplication(bool on);

    QWidget* m_window;
    const QHash<QString, QPixmap>& m_icons;
    bool m_carrying = false;
    bool m_swallowRelease = false;  // the click that put the tool down still has its release to come
    bool m_watching = false;        // the carrier filters the application's events
    QString m_icon;
};
