#include "heart_exam.h"

#include <QAbstractButton>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionHeader>
#include <QTableWidget>
#include <QVBoxLayout>

#include "colours.h"
#include "exam_results.h"
#include "heart_run_state.h"
#include "named_widgets.h"
#include "password.h"
#include "program_context.h"
#include "window_helpers.h"

namespace {

using namespace named_widgets;

QLabel* wrapped(const char* name, const QString& text) {
    auto* l = named(new QLabel(text), name);
    l->setWordWrap(true);
    return l;
}

const QString spaces7 = QStringLiteral("       ");

// A grid's corner button shows the heading of the first column (the button's text).
class CornerHeading : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint) return false;
        auto* corner = static_cast<QAbstractButton*>(watched);
        QStyleOptionHeader option;
        option.initFrom(corner);
        option.rect = corner->rect();
        option.text = corner->text();
        option.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        option.position = QStyleOptionHeader::OnlyOneSection;
        option.palette.setColor(QPalette::ButtonText, redText);
        QPainter painter(corner);
        corner->style()->drawControl(QStyle::CE_Header, &option, &painter, corner);
        return true;
    }
};

QAbstractButton* cornerOf(QTableWidget* g) {
    return g->findChild<QAbstractButton*>();
}

// A results grid: red Arial text, rows twice the letter height, widths in letter widths.
// The heading row is the grid's horizontal header and the first column its vertical header
// (its heading in the corner), so both stay in place while the grid scrolls.
QTableWidget* grid(const char* name) {
    auto* g = named(new QTableWidget, name);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->setSelectionMode(QAbstractItemView::NoSelection);
    g->setFocusPolicy(Qt::NoFocus);  // the focus stays with the button
    g->setCornerButtonEnabled(false);
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPointSize(9);
    g->setFont(f);
    QFont bold = f;
    bold.setBold(true);
    for (QHeaderView* h : {g->horizontalHeader(), g->verticalHeader()}) {
        h->setSectionsClickable(false);
        h->setSectionResizeMode(QHeaderView::Fixed);
        h->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    g->horizontalHeader()->setFont(bold);
    cornerOf(g)->setFont(bold);
    cornerOf(g)->installEventFilter(new CornerHeading(g));
    return g;
}

// Fills a grid: `headings` over the columns, then one row per list, whose first text is
// the row's heading.
void setRows(QTableWidget* g, const QStringList& headings, const QVector<QStringList>& rows,
             const QVector<int>& letterWidths) {
    const QFontMetrics fm(g->font());
    const int letter = fm.horizontalAdvance(u'A');
    auto cell = [](const QString& text) {
        auto* item = new QTableWidgetItem(text);
        item->setForeground(redText);
        return item;
    };
    g->clear();
    g->setRowCount(rows.size());
    g->setColumnCount(letterWidths.size() - 1);
    cornerOf(g)->setText(headings.value(0));
    g->verticalHeader()->setFixedWidth(letterWidths[0] * letter);
    g->horizontalHeader()->setFixedHeight(2 * fm.height());
    g->verticalHeader()->setDefaultSectionSize(2 * fm.height());
    for (int c = 1; c < letterWidths.size(); ++c) {
        g->setColumnWidth(c - 1, letterWidths[c] * letter);
        g->setHorizontalHeaderItem(c - 1, cell(headings.value(c)));
    }
    for (int r = 0; r < rows.size(); ++r) {
        g->setVerticalHeaderItem(r, cell(rows[r].value(0)));
        for (int c = 1; c < rows[r].size() && c < letterWidths.size(); ++c) g->setItem(r, c - 1, cell(rows[r][c]));
    }
}

QString rateText(quint8 rate) {
    return rate == 0 ? QStringLiteral("Не введено") : spaces7 + QString::number(rate);
}

}  // namespace

void fillExam3Table(QTableWidget* g, const HeartRunState& run, const QStringList& headers, int rateColumnLetters) {
    QVector<QStringList> rows;
    for (int i = 1; i <= run.Heart_HeartNo() && i < run.Heart_Exam3Rates().size(); ++i) {
        const auto& r = run.Heart_Exam3Rates()[i];
        rows << QStringList{spaces7 + QString::number(i), rateText(r[0]), rateText(r[1]), rateText(r[2])};
    }
    setRows(g, headers, rows, {12, rateColumnLetters, rateColumnLetters, rateColumnLetters});
}

Frm_Question::Frm_Question(ProgramContext& ctx, HeartRunState& run) : m_ctx(ctx), m_run(run) {
    setWindowTitle(QStringLiteral("Morvane - Сердце E1.00R"));
    discardWindowKeys(this);

    Frame_TutQuestions = named(new QGroupBox(QStringLiteral(" Вопросы: ")), "Frame_TutQuestions");
    auto* tq = new QVBoxLayout(Frame_TutQuestions);
    const std::pair<const char*, QString> questions[] = {
        {"Lab_Q1", QStringLiteral("1. Перечислите сердечные стимуляторы и депрессанты.")},
        {"Label_q2", QStringLiteral("2. Почему внутривенные инъекции калия и кальция должны проводиться медленно?")},
        {"laQ", QStringLiteral("3. Почему дофамин предпочтительнее адреналина при кардиогенном шоке?")},
        {"labq2",
         QStringLiteral(
             "4. Перечислите использование и побочные эффекты (1) пропранолола, (2) дигоксина, (3) адреналина.")},
        {"Label5", QStringLiteral("5. Пациент с бронхиальной астмой жалуется на учащенное сердцебиение и на "
                                  "повышенное кровяное давление каждый раз при принятии препарата. "
                                  "Определите природу препарата.")}};
    for (const auto& [name, text] : questions) tq->addWidget(wrapped(name, text));
    auto* done1 = named(new QPushButton(QStringLiteral("&OK")), "Cmd_Done1");
    auto* ret = named(new QPushButton(QStringLiteral("Возврат")), "Cmd_Ret");
    auto* tqButtons = new QHBoxLayout;
    tqButtons->addStretch();
    tqButtons->addWidget(done1);
    tqButtons->addWidget(ret);
    tq->addLayout(tqButtons);

    Frame_ExamQuestions =
        named(new QGroupBox(QStringLiteral("Определение неизвестного вещества")), "Frame_ExamQuestions");
    Lst_Drugs = named(new QListWidget, "Lst_Drugs");
    Lst_Drugs->addItems(run.Heart_AnswerNames());
    auto* done = named(new QPushButton(QStringLiteral("&Ok")), "Cmd_done");
    auto* eq = new QVBoxLayout(Frame_ExamQuestions);
    eq->addWidget(named(new QLabel(QStringLiteral("Список веществ")), "Lab_Drugs"));
    eq->addWidget(Lst_Drugs);
    eq->addWidget(done, 0, Qt::AlignRight);

    Frame_exam4 = named(new QGroupBox, "Frame_exam4");
    MsGrid_Table1 = grid("MsGrid_Table1");
    Opt_dr0 = named(new QRadioButton(QStringLiteral("Адреналином")), "Opt_dr0");
    Opt_dr0->setToolTip(QStringLiteral("Нажмите, если неизвестное вещество - это адреналин"));
    Opt_dr1 = named(new QRadioButton(QStringLiteral("Ацетилхолином")), "Opt_dr1");
    Opt_dr1->setToolTip(QStringLiteral("Нажмите, если неизвестное вещество - это ацетилхолин"));
    auto* exam4 = named(new QPushButton(QStringLiteral("&Ok")), "Cmd_exam4");
    auto* e4 = new QGridLayout(Frame_exam4);
    e4->addWidget(wrapped("Label1", QStringLiteral("Таблица показывает наблюдаемую частоту биения сердца (уд/мин). "
                                                   "Сравните ее при неизвестном веществе с известными веществами, "
                                                   "используя статистические методы и определите вещество. ")),
                  0, 0, 1, 3);
    e4->addWidget(MsGrid_Table1, 1, 0, 1, 3);
    e4->addWidget(named(new QLabel(QStringLiteral("Неизвестное вещество совместимо с")), "lab_unknown"), 2, 0);
    e4->addWidget(Opt_dr0, 2, 1);
    e4->addWidget(Opt_dr1, 2, 2);
    e4->addWidget(exam4, 3, 2, Qt::AlignRight);

    Frame_Password = named(new QGroupBox(QStringLiteral("Вход в режим наблюдателя")), "Frame_Password");
    Txt_PassWord = named(new QLineEdit, "Txt_PassWord");
    Txt_PassWord->setEchoMode(QLineEdit::Password);
    Txt_PassWord->setMaxLength(password::boxLength);
    auto* okPass = named(new QPushButton(QStringLiteral("&Ok")), "Cmd_Ok_Password");
    auto* pw = new QHBoxLayout(Frame_Password);
    pw->addWidget(named(new QLabel(QStringLiteral("Пароль  :")), "Lab_Password"));
    pw->addWidget(Txt_PassWord);
    pw->addWidget(okPass);

    auto* layout = new QVBoxLayout(this);
    if (isExamination(run.Heart_Mode())) {
        auto* heading = label("Lbl_ExamHeading", examHeading(run.student()));
        heading->setStyleSheet(QStringLiteral("font-weight: bold;"));
        layout->addWidget(heading);
    }
    for (QGroupBox* f : {Frame_TutQuestions, Frame_ExamQuestions, Frame_exam4, Frame_Password}) {
        layout->addWidget(f);
        f->hide();
    }
    const HeartMode mode = run.Heart_Mode();
    if (!isExamination(mode))
        Frame_TutQuestions->show();
    else if (mode == HeartMode::Exam3) {
        fillExam3Table(MsGrid_Table1, run,
                       {QStringLiteral(" Сердце No."), QStringLiteral(" Адреналин (HR)"),
                        QStringLiteral(" Ацетилхолин (HR)"), QStringLiteral(" Неизвестное (HR)")},
                       18);
        Frame_exam4->show();
    } else {
        Frame_ExamQuestions->show();
    }
    setFixedSize(640, 420);

    connect(done1, &QPushButton::clicked, this, &Frm_Question::Cmd_Done1_Click);
    connect(ret, &QPushButton::clicked, this, &Frm_Question::Cmd_Ret_Click);
    connect(done, &QPushButton::clicked, this, &Frm_Question::Cmd_done_Click);
    connect(exam4, &QPushButton::clicked, this, &Frm_Question::Cmd_exam4_Click);
    connect(okPass, &QPushButton::clicked, this, &Frm_Question::Cmd_Ok_Password_Click);
    connect(Txt_PassWord, &QLineEdit::returnPressed, this, &Frm_Question::Cmd_Ok_Password_Click);
    RemoveSysMenuItems(this);
    CenterForm(ctx, this);
}

void Frm_Question::Cmd_Done1_Click() {
    m_ctx.navigator.open(HeartWindows::Frm_Heart_Main);
    close();
}

void Frm_Question::Cmd_Ret_Click() {
    m_ctx.navigator.open(HeartWindows::Frm_Heart);
    close();
}

void Frm_Question::Cmd_done_Click() {
    QListWidgetItem* item = Lst_Drugs->currentItem();
    const QString answer = item ? item->text().trimmed() : QString();
    if (answer.isEmpty()) {
        Lst_Drugs->setFocus();
        return;
    }
    m_run.identifyUnknown(item->text());
    // The answer window goes before the next stage opens with its notice.
    Navigator& navigator = m_ctx.navigator;
    close();
    navigator.open(HeartWindows::Frm_Heart);
}

void Frm_Question::Cmd_exam4_Click() {
    m_run.answerExam3(Opt_dr0->isChecked()   ? Exam3Verdict::Adrenaline
                      : Opt_dr1->isChecked() ? Exam3Verdict::Acetylcholine
                                             : Exam3Verdict::Undecided);
    Frame_exam4->hide();
    Frame_Password->show();
    Txt_PassWord->setFocus();
}

void Frm_Question::Cmd_Ok_Password_Click() {
    if (!passwordAccepted(m_ctx, Txt_PassWord, m_run.Heart_Password(), QStringLiteral("Пароль неверный "),
                          QStringLiteral(" Ошибка пароля ")))
        return;
    m_ctx.navigator.openBehind(HeartWindows::Frm_Heart_Table);
    close();
    showExamResults(m_ctx, m_run.examRecords(QDateTime::currentDateTime()), m_run.Heart_Password());
}

Frm_Heart_Table::Frm_Heart_Table(ProgramContext& ctx, const HeartRunState& run) : m_ctx(ctx), m_run(run) {
    setWindowTitle(QStringLiteral("Morvane -  Сердце E1.00 R"));
    discardWindowKeys(this);
    tabletitleLbl =
        named(new QLabel(QStringLiteral("Таблица: Влияние веществ на изолированное сердце лягушки.")), "tabletitleLbl");
    QFont big = tabletitleLbl->font();
    big.setPointSize(12);
    big.setBold(true);
    tabletitleLbl->setFont(big);
    examno = named(new QLabel(QStringLiteral("Экзамен 1")), "examno");
    examno->setFont(big);
    MsGrid_Table = grid("MsGrid_Table");
    MsGrid_Table1_R = grid("MsGrid_Table1_R");
    MsGrid_Table1_R->hide();
    Lbl_alert = named(new QLabel(QStringLiteral("Вещество не было введено")), "Lbl_alert");
    Lbl_alert->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold;"));
    Lbl_alert->hide();
    Lab_UnKnown_drug = named(new QLabel(QStringLiteral("Выданное неизвестное вещество")), "Lab_UnKnown_drug");
    Lab_Drug_Identified = named(new QLabel(QStringLiteral("Вещество, определенное студентом")), "Lab_Drug_Identified");
    Txt_unknowndrug = named(new QLineEdit, "Txt_unknowndrug");
    Txt_drug_Identified = named(new QLineEdit, "Txt_drug_Identified");
    for (QLineEdit* e : {Txt_unknowndrug, Txt_drug_Identified}) readOnlyField(e);
    Cmd_Ret = named(new QPushButton(QStringLiteral("Возврат")), "Cmd_Ret");

    auto* answers = new QGridLayout;
    answers->addWidget(Lab_UnKnown_drug, 0, 0);
    answers->addWidget(Txt_unknowndrug, 0, 1);
    answers->addWidget(Lab_Drug_Identified, 1, 0);
    answers->addWidget(Txt_drug_Identified, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabletitleLbl);
    layout->addWidget(examno);
    layout->addWidget(MsGrid_Table, 1);
    layout->addWidget(MsGrid_Table1_R, 1);
    layout->addWidget(Lbl_alert);
    layout->addLayout(answers);
    layout->addWidget(Cmd_Ret, 0, Qt::AlignRight);
    for (QWidget* w : {static_cast<QWidget*>(Lab_UnKnown_drug), static_cast<QWidget*>(Lab_Drug_Identified),
                       static_cast<QWidget*>(Txt_unknowndrug), static_cast<QWidget*>(Txt_drug_Identified)})
        w->hide();
    connect(Cmd_Ret, &QPushButton::clicked, this, &Frm_Heart_Table::Cmd_Ret_Click);

    if (!isExamination(run.Heart_Mode())) {
        tabletitleLbl->setText(QStringLiteral("Таблица-образец"));
        examno->hide();
        setRows(MsGrid_Table,
                {QStringLiteral(" No."), QStringLiteral("  Вещество"), QStringLiteral("Частота сокращений (уд/мин)"),
                 QStringLiteral("   Амплитуда"), QStringLiteral(" Тон")},
                {{QStringLiteral("  1   "), QStringLiteral("Контрольное"), QStringLiteral("   67   "),
                  QStringLiteral("Нормальная"), QStringLiteral("Нормальный")},
                 {QStringLiteral("  2   "), QStringLiteral("Адреналин"), QStringLiteral("   85   "),
                  QStringLiteral("Увеличенная"), QStringLiteral("Без изменений")}},
                {5, 14, 25, 14, 14});
    } else {
        showExam1();
    }
    setFixedSize(720, 480);
    RemoveSysMenuItems(this);
    CenterForm(ctx, this);
}

void Frm_Heart_Table::showExam1() {
    Cmd_Ret->setText(QStringLiteral("&Ok"));
    examno->setText(QStringLiteral("Экзамен 1"));
    const QStringList headings{QStringLiteral(" No."), QStringLiteral(" Выданное вещество "),
                               QStringLiteral(" Определенное в-во "), QStringLiteral(" Частота сокращений "),
                               QStringLiteral(" Тон")};
    QVector<QStringList> rows;
    const QString notGiven = QStringLiteral(" Вещество не введено ");
    for (int i = 1; i <= m_run.Heart_DrugCount(); ++i) {
        const HeartExam1Result& r = m_run.Heart_Exam1Results()[i];
        if (r.identified.isEmpty()) {
            rows << QStringList();
            continue;
        }
        rows << QStringList{spaces7 + QString::number(i), r.given, r.identified,
                            r.rate == 0 ? notGiven : spaces7 + QString::number(r.rate),
                            r.rate == 0 ? notGiven : QStringLiteral("    ") + r.tone};
    }
    setRows(MsGrid_Table, headings, rows, {10, 18, 18, 19, 19});
}

void Frm_Heart_Table::showExam2() {
    examno->setText(QStringLiteral("Экзамен 2"));
    const QStringList headings{QStringLiteral(" No."), QStringLiteral(" Введенное вещество "),
                               QStringLiteral(" Частота сокращений (уд/мин)"), QStringLiteral(" Тон")};
    QVector<QStringList> rows;
    for (int i = 1; i <= m_run.Heart_Exam2Count() && i < m_run.Heart_Exam2Log().size(); ++i) {
        const HeartExam2Entry& e = m_run.Heart_Exam2Log()[i];
        rows << QStringList{spaces7 + QString::number(i), e.drug, spaces7 + QString::number(e.rate), QString(e.tone)};
    }
    setRows(MsGrid_Table, headings, rows, {10, 20, 25, 15});
    Lbl_alert->setVisible(m_run.Heart_Exam2Count() == 0);
    Txt_unknowndrug->setText(m_run.Heart_Exam2Name());
    Txt_drug_Identified->setText(m_run.Heart_Exam2Answer());
    for (QWidget* w : {static_cast<QWidget*>(Lab_UnKnown_drug), static_cast<QWidget*>(Lab_Drug_Identified),
                       static_cast<QWidget*>(Txt_unknowndrug), static_cast<QWidget*>(Txt_drug_Identified)})
        w->show();
}

void Frm_Heart_Table::showExam3() {
    MsGrid_Table->hide();
    Lbl_alert->hide();
    examno->setText(QStringLiteral("Экзамен 3"));
    fillExam3Table(MsGrid_Table1_R, m_run,
                   {QStringLiteral(" Сердце No."), QStringLiteral(" Адреналин (HR) "),
                    QStringLiteral(" Ацетилхолин (HR) "), QStringLiteral(" Неизвестное (HR) ")},
                   17);
    MsGrid_Table1_R->show();
    Txt_unknowndrug->setText(m_run.Heart_Exam3Name());
    Txt_drug_Identified->setText(m_run.Heart_Exam3Answer());
}

void Frm_Heart_Table::Cmd_Ret_Click() {
    if (!isExamination(m_run.Heart_Mode())) {
        m_ctx.navigator.open(HeartWindows::Frm_Heart);
        close();
        return;
    }
    ++m_page;
    if (m_page == 2)
        showExam2();
    else if (m_page == 3)
        showExam3();
    else {
        m_ctx.navigator.open(HeartWindows::Frm_Heart_Main);
        close();
    }
}
