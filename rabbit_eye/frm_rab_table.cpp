#include "frm_rab_table.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

#include "colours.h"
#include "exam_results.h"
#include "named_widgets.h"
#include "program_context.h"
#include "rabbit_model.h"
#include "rabbit_run_state.h"
#include "window_helpers.h"

namespace {

using namespace named_widgets;

const QColor fixedCells(0xd4, 0xd0, 0xc8);
constexpr int gridHeightLimit = 300;  // beyond it the results scroll

// A grid whose first row and first column are its fixed header cells.
QTableWidget* grid(const char* name) {
    auto* g = named(new QTableWidget, name);
    g->horizontalHeader()->hide();
    g->verticalHeader()->hide();
    g->setWordWrap(true);
    g->setTextElideMode(Qt::ElideNone);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->setSelectionMode(QAbstractItemView::NoSelection);
    g->setFocusPolicy(Qt::NoFocus);
    g->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(8);
    g->setFont(f);
    return g;
}

void setCell(QTableWidget* g, int row, int column, const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled);
    item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    if (row == 0 || column == 0) {
        item->setBackground(fixedCells);
        item->setForeground(Qt::black);
    } else {
        item->setForeground(redText);
    }
    g->setItem(row, column, item);
}

// Every line of a heading shows whole, never broken: a column narrower than its heading's
// longest line grows to it.
void fitColumnsToHeadings(QTableWidget* g) {
    // Text is laid out in fractions of a pixel: a line needs its width rounded up.
    const QFontMetricsF metrics(g->font());
    // The item view's text margins on both sides, and the grid line.
    const int margins = 2 * (g->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, g) + 1) + 1;
    for (int c = 0; c < g->columnCount(); ++c) {
        const QTableWidgetItem* heading = g->item(0, c);
        if (!heading) continue;
        qreal widest = 0;
        for (const QString& line : heading->text().split(u'\n'))
            widest = std::max(widest, metrics.horizontalAdvance(line));
        g->setColumnWidth(c, std::max(g->columnWidth(c), static_cast<int>(std::ceil(widest)) + margins));
    }
}

// The grid takes the size of its cells, up to a height beyond which it scrolls.
void fitToCells(QTableWidget* g) {
    fitColumnsToHeadings(g);
    int width = 2 * g->frameWidth(), height = 2 * g->frameWidth();
    for (int c = 0; c < g->columnCount(); ++c) width += g->columnWidth(c);
    for (int r = 0; r < g->rowCount(); ++r) height += g->rowHeight(r);
    if (height > gridHeightLimit) {
        height = gridHeightLimit;
        width += g->verticalScrollBar()->sizeHint().width();
    }
    g->setFixedSize(width, height);
}

const QString notTested = QStringLiteral(" Not Tested ");

QString yesNo(bool yes) {
    return yes ? QStringLiteral(" Yes ") : QStringLiteral(" No ");
}

QString reflexWord(std::optional<bool> reading) {
    return reading ? yesNo(*reading) : notTested;
}

QString tensionWord(std::optional<TensionEffect> reading) {
    if (!reading) return notTested;
    switch (*reading) {
        case TensionEffect::Normal:
            return QStringLiteral(" Normal ");
        case TensionEffect::Decreased:
            return QStringLiteral(" Decreased ");
        case TensionEffect::Increased:
            break;
    }
    return QStringLiteral(" Increased ");
}

QString actionWord(PupilAction action) {
    switch (action) {
        case PupilAction::Miotic:
            return QStringLiteral(" Miotic ");
        case PupilAction::Mydriatic:
            return QStringLiteral(" Mydriatic ");
        case PupilAction::Neither:
            break;
    }
    return QStringLiteral(" Neither ");
}

}  // namespace

Frm_Rab_Table::Frm_Rab_Table(ProgramContext& ctx, RabbitRunState& run) : m_ctx(ctx), m_run(run) {
    setWindowTitle(QStringLiteral("Morvane - Кролик T1.01R"));
    discardWindowKeys(this);

    // All three faces are hidden until the load chooses one.
    auto* layout = new QVBoxLayout(this);
    for (QGroupBox* face : {buildGate(), buildTable(), buildQuestions()}) {
        layout->addWidget(face, 0, Qt::AlignCenter);
        face->hide();
    }

    const QFontMetrics metrics(Grid_Rab->font());
    TW = metrics.horizontalAdvance(u'A');
    TH = metrics.height();
}

// The supervisor's gate.
QGroupBox* Frm_Rab_Table::buildGate() {
    Frame_Pass = named(new QGroupBox(QStringLiteral(" GateWay For   Supervisor  Mode")), "Frame_Pass");
    Txt_PassW = named(new QLineEdit, "Txt_PassW");
    Txt_PassW->setMaxLength(10);
    Txt_PassW->setEchoMode(QLineEdit::Password);
    Txt_PassW->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 120; }"));
    auto* pass = named(new QPushButton(QStringLiteral("&OK")), "Cmd_pass");
    auto* gate = new QGridLayout(Frame_Pass);
    gate->addWidget(named(new QLabel(QStringLiteral("Password  :")), "Lab_Password"), 0, 0);
    gate->addWidget(Txt_PassW, 0, 1);
    gate->addWidget(pass, 1, 0, 1, 2, Qt::AlignRight);
    Frame_Pass->setFixedWidth(320);
    connect(pass, &QPushButton::clicked, this, &Frm_Rab_Table::Cmd_pass_Click);
    connect(Txt_PassW, &QLineEdit::returnPressed, this, &Frm_Rab_Table::Cmd_pass_Click);
    return Frame_Pass;
}

// The results: the sample table of the tutorial, or both examinations'.
QGroupBox* Frm_Rab_Table::buildTable() {
    Frametab = named(new QGroupBox, "Frametab");
    lbltitle = named(new QLabel(QStringLiteral("Таблица 1: Воздействие веществ на глаз кролика")), "lbltitle");
    QFont titleFont = lbltitle->font();
    titleFont.setBold(true);
    lbltitle->setFont(titleFont);
    Grid_Rab = grid("Grid_Rab");
    lblexam2 = named(new QLabel(QStringLiteral("Examination 2 : miotic or mydriatic")), "lblexam2");
    lblexam2->setFont(titleFont);
    Grid_Exam2 = grid("Grid_Exam2");
    auto* end = named(new QPushButton(QStringLiteral("&OK")), "Cmd_End");
    auto* table = new QVBoxLayout(Frametab);
    table->addWidget(lbltitle);
    table->addWidget(Grid_Rab, 0, Qt::AlignHCenter);
    table->addWidget(lblexam2);
    table->addWidget(Grid_Exam2, 0, Qt::AlignHCenter);
    table->addStretch();
    table->addWidget(end, 0, Qt::AlignRight);
    lblexam2->hide();
    Grid_Exam2->hide();
    connect(end, &QPushButton::clicked, this, &Frm_Rab_Table::Cmd_End_Click);
    return Frametab;
}

// The questions that close the tutorial.
QGroupBox* Frm_Rab_Table::buildQuestions() {
    Fra_Ques = named(new QGroupBox(QStringLiteral("Ответьте на следующие вопросы:")), "Fra_Ques");
    auto* questions = new QVBoxLayout(Fra_Ques);
    const std::pair<const char*, QString> texts[] = {
        {"Lab_Q1", QStringLiteral("1. В чем заключается разница между мидриазом, вызванным "
                                  "адренергическими средствами и мидриазом, вызванным "
                                  "антихолинергическими средствами? ")},
        {"Label_q2", QStringLiteral("2. Перечислите некоторые из известных вам мидриатиков и "
                                    "миотиков, использующихся в клинической практике.")},
        {"laQ", QStringLiteral("3. Какое применение имеют мидриатики в терапии?")},
        {"labq2", QStringLiteral("4. Жидкость, полученная из желудка пациента с отравлением, будучи "
                                 "введенной в глаз кролика, дала эффект сильно суженного зрачка. Внутриглазное "
                                 "давление оказалось пониженным. Какой диагноз вы могли бы поставить? "
                                 "Обоснуйте свой ответ.")}};
    for (const auto& [name, text] : texts) {
        auto* q = named(new QLabel(text), name);
        q->setWordWrap(true);
        QFont f = q->font();
        f.setPointSize(11);
        q->setFont(f);
        questions->addWidget(q);
    }
    auto* ok = named(new QPushButton(QStringLiteral("&OK")), "Cmd_ok");
    auto* back = named(new QPushButton(QStringLiteral("Назад")), "Cmd_return");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(back);
    questions->addStretch();
    questions->addLayout(buttons);
    Fra_Ques->setFixedWidth(600);
    connect(ok, &QPushButton::clicked, this, &Frm_Rab_Table::Cmd_ok_Click);
    connect(back, &QPushButton::clicked, this, &Frm_Rab_Table::Cmd_return_Click);
    return Fra_Ques;
}

void Frm_Rab_Table::Form_Load() {
    RemoveSysMenuItems(this);
    if (m_run.Rab_Mode() == RabMode::SecondExamination) {
        Frame_Pass->show();
        Txt_PassW->setFocus();
    } else if (m_run.openSampleTable()) {
        fillTable();
    } else {
        Fra_Ques->show();
    }
    fitToFace();
}

// The window takes the size of the face on show, centred on the screen.
void Frm_Rab_Table::fitToFace() {
    for (QGroupBox* face : {Frame_Pass, Frametab, Fra_Ques})
        if (face->layout()) face->layout()->activate();
    layout()->activate();
    setFixedSize(sizeHint());
    CenterForm(m_ctx, this);
}

void Frm_Rab_Table::Cmd_pass_Click() {
    if (!passwordAccepted(m_ctx, Txt_PassW, m_run.Rab_Password(), QStringLiteral("Invalid Password "),
                          QStringLiteral(" Password Error ")))
        return;
    Frame_Pass->hide();
    fillTable();
    fitToFace();
    showExamResults(m_ctx, rabbitExamRecords(m_run, QDateTime::currentDateTime()),
                    m_run.Rab_Password().trimmed());  // the field's padding is not the password's
}

void Frm_Rab_Table::fillTable() {
    Frametab->show();
    Grid_Rab->clear();
    Grid_Rab->setColumnCount(6);
    Grid_Rab->setRowCount(2);
    const int widths[] = {13, 12, 17, 13, 13, 12};
    for (int c = 0; c < 6; ++c) Grid_Rab->setColumnWidth(c, widths[c] * TW);
    if (m_run.Rab_Mode() == RabMode::Tutorial) {
        // Each reading is written before and after the drops, in one cell: the sub-heading
        // has a line of its own.
        const QString header[] = {
            QStringLiteral("Кролик No.\n(Пр глаз/Л глаз)"),         QStringLiteral(" Вещество "),
            QStringLiteral("Внутриглазное давление\nДо  |  После"), QStringLiteral("Реакция на свет\nДо  |  После"),
            QStringLiteral("Рефлекс роговицы\nДо  |  После"),       QStringLiteral("Размер зрачка\nДо  |  После")};
        for (int c = 0; c < 6; ++c) setCell(Grid_Rab, 0, c, header[c]);
        Grid_Rab->setRowCount(6);
        const QString rabbits[] = {QStringLiteral("    1 (ПрГ)"), QStringLiteral("    1 (ЛГ)"),
                                   QStringLiteral("    2 (ПрГ)"), QStringLiteral("    2 (ЛГ)")};
        for (int r = 1; r <= 4; ++r) setCell(Grid_Rab, r, 0, rabbits[r - 1]);
        setCell(Grid_Rab, 5, 0, QString());
        setCell(Grid_Rab, 1, 1, QStringLiteral(" Солевой раствор "));
        setCell(Grid_Rab, 2, 1, QStringLiteral(" Адреналин "));
    } else {
        fillExamination();
    }
    Grid_Rab->setRowHeight(0, 4 * TH);
    if (m_run.Rab_Mode() == RabMode::Tutorial)
        for (int r = 1; r < Grid_Rab->rowCount(); ++r) Grid_Rab->setRowHeight(r, rowHeight());
    fitToCells(Grid_Rab);
}

void Frm_Rab_Table::fillExamination() {
    const QString header[] = {QStringLiteral(" Rabbit No."),          QStringLiteral(" Unknown Drug  "),
                              QStringLiteral(" Intraocular Tension"), QStringLiteral("  Light Reflex "),
                              QStringLiteral(" Corneal Reflex"),      QStringLiteral("  Saline Instilled ")};
    for (int c = 0; c < 6; ++c) setCell(Grid_Rab, 0, c, header[c]);
    Grid_Rab->setColumnCount(7);
    Grid_Rab->setColumnWidth(6, 15 * TW);
    setCell(Grid_Rab, 0, 6, QStringLiteral(" Drug Identified"));
    const QVector<RabExamRec>& recs = m_run.Rab_ExamRecs();
    const int count = m_run.unknownCount();
    Grid_Rab->setRowCount(count + 1);
    for (int i = 1; i <= count; ++i) {
        Grid_Rab->setRowHeight(i, rowHeight());
        const RabExamRec& rec = recs[i];
        setCell(Grid_Rab, i, 0, QString(10, u' ') + QString::number(i));
        if (!rec.Recorded) {
            // The student went on before this unknown: there is nothing to show but that.
            setCell(Grid_Rab, i, 1, QStringLiteral(" Not Examined "));
            continue;
        }
        setCell(Grid_Rab, i, 1, rec.DrugName);
        setCell(Grid_Rab, i, 2, tensionWord(rec.Tension));
        setCell(Grid_Rab, i, 3, reflexWord(rec.LightReflex));
        setCell(Grid_Rab, i, 4, reflexWord(rec.CornealReflex));
        setCell(Grid_Rab, i, 5, yesNo(rec.SalineInstilled));
        setCell(Grid_Rab, i, 6,
                rec.Identified.trimmed().isEmpty() ? QStringLiteral(" Not Identified ") : rec.Identified);
    }
    fillSecondExamination();
}

void Frm_Rab_Table::fillSecondExamination() {
    const RabExam2Rec& e = m_run.Rab_Exam2();
    lblexam2->setVisible(e.Given);
    Grid_Exam2->setVisible(e.Given);
    if (!e.Given) return;
    Grid_Exam2->clear();
    Grid_Exam2->setColumnCount(6);
    Grid_Exam2->setRowCount(2);
    const std::pair<QString, int> columns[] = {
        {QStringLiteral(" Unknown Drug "), 16},     {QStringLiteral(" Action on the Pupil "), 14},
        {QStringLiteral(" Drug Instilled "), 12},   {QStringLiteral("  Saline Instilled "), 12},
        {QStringLiteral(" Student's Answer "), 15}, {QStringLiteral(" Correct "), 9}};
    for (int c = 0; c < 6; ++c) {
        setCell(Grid_Exam2, 0, c, columns[c].first);
        Grid_Exam2->setColumnWidth(c, columns[c].second * TW);
    }
    setCell(Grid_Exam2, 1, 0, e.DrugName);
    setCell(Grid_Exam2, 1, 1, actionWord(e.Action));
    setCell(Grid_Exam2, 1, 2, yesNo(e.Instilled));
    setCell(Grid_Exam2, 1, 3, yesNo(e.SalineInstilled));
    setCell(Grid_Exam2, 1, 4, e.Answer.trimmed().isEmpty() ? QStringLiteral(" Not Identified ") : e.Answer);
    setCell(Grid_Exam2, 1, 5, yesNo(secondExaminationCorrect(e)));
    // Its first column holds a name, not a header.
    Grid_Exam2->item(1, 0)->setBackground(QBrush());
    Grid_Exam2->item(1, 0)->setForeground(redText);
    Grid_Exam2->setRowHeight(0, 3 * TH);
    Grid_Exam2->setRowHeight(1, rowHeight());
    fitToCells(Grid_Exam2);
}

void Frm_Rab_Table::Cmd_End_Click() {
    if (m_run.closeSampleTable()) {
        m_ctx.navigator.open(RabbitWindows::Frm_Rabbit);  // as it was left
    } else {
        m_ctx.navigator.open(RabbitWindows::Frm_Rab_main);
    }
    close();
}

void Frm_Rab_Table::Cmd_ok_Click() {
    m_ctx.navigator.open(RabbitWindows::Frm_Rab_main);  // its load closes the experiment screen too
    close();
    m_ctx.navigator.closeIfOpen(RabbitWindows::Frm_Rabbit);
}

void Frm_Rab_Table::Cmd_return_Click() {
    m_ctx.navigator.open(RabbitWindows::Frm_Rabbit);
    close();
}
