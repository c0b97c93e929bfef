#pragma once

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>

#include "controls.h"
#include "fakes.h"
#include "frm_heart.h"
#include "heart_run_state.h"
#include "heart_windows.h"

// The heart program in a test: its windows registered on a context of the given kind.
template <class Context>
struct HeartProgram {
    Context t;
    HeartRunState run;
    QString oldCurrent = QDir::currentPath();
    HeartProgram() {
        QDir::setCurrent(QStringLiteral(MORVANE_DATA_DIR));
        registerHeartWindows(t.ctx, run);
    }
    ~HeartProgram() {
        for (const char* n : {"Frm_Heart_Main", "Frm_Heart", "Frm_Question", "Frm_Heart_Table"})
            t.ctx.navigator.closeIfOpen(windowNamed(QString::fromLatin1(n)));
        flushDeletes();
        QDir::setCurrent(oldCurrent);
    }
    QWidget* find(const char* name) const { return t.ctx.navigator.find(windowNamed(QString::fromLatin1(name))); }
    Frm_Heart* heart() const { return qobject_cast<Frm_Heart*>(find("Frm_Heart")); }

    static bool enabled(QWidget* w, const char* name) { return controls::child(w, name)->isEnabled(); }
    static void ticks(Frm_Heart* h, int n) {
        for (int i = 0; i < n; ++i) h->RecorderTick();
    }
    static void inject(Frm_Heart* h, int position) {
        auto* list = controls::child<QComboBox>(h, "Combo_Drug");
        list->setCurrentIndex(position);
        h->Combo_Drug_Click();
        controls::click(h, "Cmd_Inject");
        h->endSyringePause();
    }
    Frm_Heart* startExamination() {
        QWidget* home = t.ctx.navigator.open(HeartWindows::Frm_Heart_Main);
        controls::click(home, "Cmd_Exam");
        QTest::keyClicks(controls::child<QLineEdit>(home, "Txt_PassWord"), QStringLiteral("abcd"));
        controls::click(home, "Cmd_Ok_Password");
        controls::nameStudent(home);
        return heart();
    }
    // Answers the identification with the list item `row` and returns the next screen.
    Frm_Heart* identify(int row) {
        QWidget* q = find("Frm_Question");
        controls::child<QListWidget>(q, "Lst_Drugs")->setCurrentRow(row);
        controls::click(q, "Cmd_done");
        flushDeletes();
        return heart();
    }
};
