// Random use: thousands of random actions on whatever windows are open (clicks on enabled
// buttons and pictures, typing, list choices, timer ticks, random answers to message boxes),
// with the invariants checked after every action.
#include <sys/resource.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <random>

#include "clickable_label.h"
#include "fakes.h"
#include "heart_run_state.h"
#include "heart_windows.h"
#include "launcher_windows.h"
#include "password.h"

namespace {

// Message boxes answered at random among their buttons.
class RandomAnswers : public MessageBoxes {
public:
    explicit RandomAnswers(std::mt19937& gen) : m_gen(gen) {}
    QString last;  // the text of the last message shown
    MsgAnswer show(const MessageRequest& r) override {
        last = r.text;
        const bool first = m_gen() % 2;
        switch (r.buttons) {
            case MsgButtons::YesNo:
                return first ? MsgAnswer::Yes : MsgAnswer::No;
            case MsgButtons::OkCancel:
                return first ? MsgAnswer::Ok : MsgAnswer::Cancel;
            default:
                return MsgAnswer::Ok;
        }
    }

private:
    std::mt19937& m_gen;
};

struct Monkey {
    std::mt19937 gen;
    Mt19937Random random;
    RandomAnswers messages{gen};
    RecordingHelp help;
    FakeDesktop desktop;
    QTemporaryDir printDir;
    PdfPrinter printer{printDir.filePath(QStringLiteral("p.pdf"))};
    ScriptedFiles files;
    ProgramContext ctx;
    QSet<QString> typedPasswords;  // what was typed into supervisor password boxes, as compared
    QSet<QString> seen;            // windows the run came to
    QString failure;

    Monkey(unsigned seed, const QString& title)
        : gen(seed), random(seed), ctx(title, random, messages, help, desktop, printer, files) {
        ctx.journalPath = printDir.filePath(QStringLiteral("journal.csv"));
        ctx.journalIterations = 16;
    }

    QList<QWidget*> windows() const {
        QList<QWidget*> result;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && !w->objectName().isEmpty()) result << w;
        return result;
    }

    template <typename T>
    QList<T*> usable(QWidget* w) const {
        QList<T*> result;
        for (T* c : w->findChildren<T*>())
            if (c->isVisible() && c->isEnabled()) result << c;
        return result;
    }

    void act() {
        const QList<QWidget*> open = windows();
        if (open.isEmpty()) return;
        for (QWidget* w : open) seen << w->objectName();
        QWidget* w = open[gen() % open.size()];
        const int kind = gen() % 10;
        if (kind < 4) {
            const auto buttons = usable<QAbstractButton>(w);
            if (!buttons.isEmpty()) QTest::mouseClick(buttons[gen() % buttons.size()], Qt::LeftButton);
        } else if (kind < 5) {
            const auto pictures = usable<ClickableLabel>(w);
            if (!pictures.isEmpty()) QTest::mouseClick(pictures[gen() % pictures.size()], Qt::LeftButton);
        } else if (kind < 7) {
            const auto boxes = usable<QLineEdit>(w);
            if (!boxes.isEmpty()) {
                static const char* texts[] = {"0.5", "0.25", "abcd", "ABCD ", "1", "", "0", "12.8", "wxyz"};
                QLineEdit* box = boxes[gen() % boxes.size()];
                box->clear();
                const QString text = QString::fromLatin1(texts[gen() % std::size(texts)]);
                QTest::keyClicks(box, text);
                if (box->echoMode() == QLineEdit::Password && !w->objectName().endsWith(QLatin1String("main")) &&
                    !w->objectName().endsWith(QLatin1String("Main")))
                    typedPasswords << password::stored(box->text(), 0);
            }
        } else if (kind < 8) {
            for (QComboBox* c : usable<QComboBox>(w))
                if (c->count()) c->setCurrentIndex(gen() % c->count()), emit c->activated(c->currentIndex());
            for (QListWidget* l : usable<QListWidget>(w))
                if (l->count()) l->setCurrentRow(gen() % l->count());
        } else {
            // Time passes: every running timer fires soon.
            for (QWidget* win : open)
                for (QTimer* t : win->findChildren<QTimer*>())
                    if (t->isActive()) t->start(0);
            QCoreApplication::processEvents();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    bool resultsShownWithout(const QString& stored) const {
        return !typedPasswords.contains(password::trimSpaces(stored));
    }

    // Runs `actions` random actions from the window `first`; after each, the invariants
    // every program keeps, then the program's own (`broken` tells what broke, if anything).
    // Returns the first failure, or nothing.
    QString run(const QString& first, int actions, const std::function<QString()>& broken) {
        ctx.navigator.open(windowNamed(first));
        QElapsedTimer clock;
        clock.start();
        QString failure;
        for (int i = 0; i < actions && failure.isEmpty(); ++i) {
            act();
            if (!desktop.quits.isEmpty()) {  // the program's own "Выход": start it again
                if (desktop.locked)
                    failure =
                        QStringLiteral("the program ended with the exam lock on (last message: %1)").arg(messages.last);
                desktop.quits.clear();
                for (QWidget* w : windows()) w->close();
                flushDeletes();
                ctx.navigator.open(windowNamed(first));
            }
            if (failure.isEmpty() && windows().isEmpty()) failure = QStringLiteral("no window");
            if (failure.isEmpty()) failure = broken();
            if (!failure.isEmpty()) failure += QStringLiteral(" after action %1").arg(i);
        }
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        qInfo("%s: %d actions, %.0f actions/s; peak memory of the test %ld MB; windows reached: %s", qPrintable(first),
              actions, actions * 1000.0 / std::max<qint64>(1, clock.elapsed()), usage.ru_maxrss / 1024,
              qPrintable(QStringList(seen.values()).join(u' ')));
        for (QWidget* w : windows()) w->close();
        flushDeletes();
        return failure;
    }
};

}  // namespace

class TstMonkey : public QObject {
    Q_OBJECT
    QString m_old;

private slots:
    void initTestCase() {
        m_old = QDir::currentPath();
        QVERIFY(QDir::setCurrent(QStringLiteral(MORVANE_DATA_DIR)));
    }
    void cleanupTestCase() { QDir::setCurrent(m_old); }

    void mainProgram() {
        MorvaneRunStates runs;
        Monkey m(20261209, QStringLiteral("Morvane T1.00R"));
        registerMorvaneWindows(m.ctx, runs);
        auto shown = [&m](const char* window, const char* part) {
            QWidget* w = m.ctx.navigator.find(windowNamed(QString::fromLatin1(window)));
            return w && w->findChild<QWidget*>(QString::fromLatin1(part))->isVisible();
        };
        const QString failure = m.run(QStringLiteral("Frm_Selection"), 3000, [&]() -> QString {
            if (shown("Frm_I_Exam", "Fra_Super") && m.resultsShownWithout(runs.ileum.Ile_Password()))
                return QStringLiteral("ileum result before the password");
            if (runs.oeso.examination() && shown("Frm_Oeso_Table", "Frame_Grid") &&
                m.resultsShownWithout(runs.oeso.Oeso_Password()))
                return QStringLiteral("oesophagus results before the password");
            if (runs.rabbit.examination() && shown("Frm_Rab_Table", "Frametab") &&
                m.resultsShownWithout(runs.rabbit.Rab_Password()))
                return QStringLiteral("rabbit results before the password");
            return {};
        });
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }

    void heartProgram() {
        HeartRunState run;
        Monkey m(7, QStringLiteral("Morvane - Сердце 1.00R"));
        registerHeartWindows(m.ctx, run);
        const QString failure = m.run(QStringLiteral("Frm_Heart_Main"), 3000, [&]() -> QString {
            if (!isExamination(run.Heart_Mode()) && m.desktop.locked)
                return QStringLiteral("the exam lock on outside an examination");
            QWidget* table = m.ctx.navigator.find(HeartWindows::Frm_Heart_Table);
            if (table && table->isVisible() && isExamination(run.Heart_Mode()) &&
                m.resultsShownWithout(run.Heart_Password()))
                return QStringLiteral("heart results before the password");
            return {};
        });
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }
};

QTEST_MAIN(TstMonkey)
#include "tst_monkey.moc"
