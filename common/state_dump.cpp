#include "state_dump.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSaveFile>
#include <QTableWidget>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

QString oneLine(QString s) {
    s.replace(u'\n', u' ').replace(u'\t', u' ');
    return s;
}

// What a control shows, as a person would read it.
QString shownText(const QWidget* w) {
    if (auto* b = qobject_cast<const QAbstractButton*>(w))
        return b->text() + (b->isCheckable() && b->isChecked() ? QStringLiteral(" [x]") : QString());
    if (auto* l = qobject_cast<const QLabel*>(w)) return l->text();
    if (auto* e = qobject_cast<const QLineEdit*>(w)) return e->displayText();
    if (auto* c = qobject_cast<const QComboBox*>(w)) return c->currentText();
    if (auto* t = qobject_cast<const QTableWidget*>(w)) {
        QStringList cells;
        for (int r = 0; r < t->rowCount(); ++r)
            for (int c = 0; c < t->columnCount(); ++c)
                if (const QTableWidgetItem* item = t->item(r, c)) cells << item->text();
        return cells.join(u'|');
    }
    if (auto* l = qobject_cast<const QListWidget*>(w)) {
        QStringList items;
        for (int i = 0; i < l->count(); ++i)
            items << (l->currentRow() == i ? QStringLiteral("*") : QString()) + l->item(i)->text();
        return items.join(u'|');
    }
    return {};
}

QString describe() {
    QString out;
    const QWidget* active = QApplication::activeWindow();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible()) continue;
        out += QStringLiteral("window\t%1\t%2\t%3\t%4\n")
                   .arg(window->objectName(), oneLine(window->windowTitle()),
                        window == active ? QStringLiteral("active") : QString())
                   // The window system's own window: Qt may replace it behind the widget.
                   .arg(window->windowHandle() ? window->windowHandle()->winId() : 0);
        for (QWidget* w : window->findChildren<QWidget*>()) {
            const QString text = shownText(w);
            if ((w->objectName().isEmpty() && text.isEmpty()) || !w->isVisible()) continue;
            const QPoint centre = w->mapToGlobal(w->rect().center());
            out += QStringLiteral("%1\t%2\t%3 %4\t%5\t%6\n")
                       .arg(w->objectName(), QString::fromLatin1(w->metaObject()->className()))
                       .arg(centre.x())
                       .arg(centre.y())
                       .arg(w->isEnabled() ? QStringLiteral("on") : QStringLiteral("off"), oneLine(text));
        }
    }
    return out;
}

}  // namespace

void startStateDump(const QString& file) {
    auto* timer = new QTimer(qApp);
    auto last = std::make_shared<QString>();
    QObject::connect(timer, &QTimer::timeout, [file, last] {
        const QString now = describe();
        if (now == *last) return;
        *last = now;
        QSaveFile out(file);  // whole or not at all: the reader never sees half a state
        if (!out.open(QIODevice::WriteOnly)) return;
        out.write(now.toUtf8());
        out.commit();
    });
    timer->start(150);
}
