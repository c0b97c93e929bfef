#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>

// Controls are created with the names they are known by, so that tests and automation
// find them with findChild.
namespace named_widgets {

template <typename T>
T* named(T* w, const QString& name) {
    w->setObjectName(name);
    return w;
}

template <typename T>
T* named(T* w, const char* name) {
    return named(w, QString::fromLatin1(name));
}

inline QPushButton* button(const char* name, const QString& caption, const QString& tip = {}) {
    auto* b = named(new QPushButton(caption), name);
    b->setToolTip(tip);
    return b;
}

// A box that shows what the program writes: read-only, and no Tab stop (a click still
// puts the caret in it, to select and copy).
inline QLineEdit* readOnlyField(QLineEdit* box) {
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::ClickFocus);
    return box;
}

inline QLabel* label(const char* name, const QString& text, QWidget* parent = nullptr) {
    return named(new QLabel(text, parent), name);
}

}  // namespace named_widgets
