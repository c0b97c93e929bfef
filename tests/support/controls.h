#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

// Finding a window's controls by their names and using them as a user would. A control
// that is not there ends the test at once, naming it.
namespace controls {

template <typename T = QWidget>
T* child(QWidget* w, const QString& name) {
    T* c = w->findChild<T*>(name);
    if (!c) qFatal("no control %s", qPrintable(name));
    return c;
}

template <typename T = QWidget>
T* child(QWidget* w, const char* name) {
    return child<T>(w, QString::fromLatin1(name));
}

inline void click(QWidget* w, const QString& name) {
    QTest::mouseClick(child(w, name), Qt::LeftButton);
}
inline void click(QWidget* w, const char* name) {
    click(w, QString::fromLatin1(name));
}

// What a label or a text box shows.
inline QString text(QWidget* w, const QString& name) {
    if (auto* l = w->findChild<QLabel*>(name)) return l->text();
    return child<QLineEdit>(w, name)->text();
}
inline QString text(QWidget* w, const char* name) {
    return text(w, QString::fromLatin1(name));
}

// Text typed into a box key by key, in any letters (QTest::keyClicks types Latin-1 only).
inline void type(QLineEdit* box, const QString& text) {
    for (QChar c : text) QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// The student form that follows an accepted examination password on a home screen, filled
// in and confirmed: the examination begins.
inline void nameStudent(QWidget* home, const QString& surname = QStringLiteral("Иванов"),
                        const QString& name = QStringLiteral("Иван"), const QString& group = QStringLiteral("101")) {
    if (!child(home, "Frm_Student")->isVisibleTo(home)) qFatal("the student form is not shown");
    type(child<QLineEdit>(home, "Txt_Surname"), surname);
    type(child<QLineEdit>(home, "Txt_StudentName"), name);
    type(child<QLineEdit>(home, "Txt_Group"), group);
    click(home, "Cmd_StudentOK");
}

}  // namespace controls
