#include "oeso_results.h"

#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "colours.h"
#include "exam_record.h"
#include "exam_results.h"
#include "named_widgets.h"
#include "oeso_model.h"
#include "oeso_run_state.h"
#include "program_context.h"
#include "window_helpers.h"

namespace {

using namespace named_widgets;

constexpr int columns = 7;
constexpr int identifiedColumn = 6;
constexpr int maxGridHeight = 400;  // taller tables scroll, so the window fits 800 x 600

// The sample rows of the tutorial, written the way the examination's rows are.
const OesoExamRec sample[2] = {
    {QStringLiteral("Раствор Рингера"), QString(), 38, 41, 37, 3},
    {QStringLiteral("Ацетилхолин"), QString(), 26, 26, 29, 3},
};

}  // namespace

Frm_Oeso_Table::Frm_Oeso_Table(ProgramContext& ctx, const OesoRunState& run) : m_ctx(ctx), m_run(run) {
    setWindowTitle(QStringLiteral("Morvane - Oesophagus T1.00"));
    discardWindowKeys(this);
    // The table is written in Arial, and its columns are measured in widths of its "A".
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSize(9);
    setFont(arial);

    Frame_Grid = named(new QFrame, "Frame_Grid");
    Label2 = named(new QLabel(QStringLiteral("Таблица-образец")), "Label2");
    QFont big = Label2->font();
    big.setPointSize(big.pointSize() + 3);
    big.setBold(true);
    Label2->setFont(big);
    auto* caption =
        named(new QLabel(QStringLiteral("Таблица: время (в секундах), затраченное на перемещение зернышка")), "Label1");
    Grid_oeso = named(new QTableWidget, "Grid_oeso");
    auto* end = named(new QPushButton(QStringLiteral("&Ok")), "Cmd_End");
    auto* gridLayout = new QVBoxLayout(Frame_Grid);
    gridLayout->setContentsMargins(0, 0, 0, 0);
    gridLayout->addWidget(Label2, 0, Qt::AlignHCenter);
    gridLayout->addWidget(caption);
    gridLayout->addWidget(Grid_oeso, 0, Qt::AlignHCenter);
    gridLayout->addWidget(end, 0, Qt::AlignRight);
    Frame_Grid->hide();

    Frame_Pass = named(new QGroupBox(QStringLiteral(" GateWay For Supervisor  Mode")), "Frame_Pass");
    Txt_PassW = named(new QLineEdit, "Txt_PassW");
    Txt_PassW->setMaxLength(10);
    Txt_PassW->setEchoMode(QLineEdit::Password);
    Txt_PassW->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 32; }"));
    auto* ok = named(new QPushButton(QStringLiteral("&Ok")), "Cmd_ok");
    auto* passLayout = new QHBoxLayout(Frame_Pass);
    passLayout->addWidget(named(new QLabel(QStringLiteral("Password  :")), "Lab_Password"));
    passLayout->addWidget(Txt_PassW, 1);
    passLayout->addWidget(ok);
    Frame_Pass->hide();

    auto* layout = new QVBoxLayout(this);
    if (m_run.examination()) {
        auto* heading = label("Lbl_ExamHeading", examHeading(m_run.student()));
        heading->setStyleSheet(QStringLiteral("font-weight: bold;"));
        layout->addWidget(heading);
    }
    layout->addWidget(Frame_Grid);
    layout->addWidget(Frame_Pass);

    connect(ok, &QPushButton::clicked, this, &Frm_Oeso_Table::Cmd_ok_Click);
    connect(Txt_PassW, &QLineEdit::returnPressed, this, &Frm_Oeso_Table::Cmd_ok_Click);
    connect(end, &QPushButton::clicked, this, &Frm_Oeso_Table::Cmd_End_Click);

    RemoveSysMenuItems(this);
    setUpGrid();
    if (m_run.examination()) {
        Label2->hide();  // these are the student's results, not a sample
        Frame_Pass->show();
        Txt_PassW->setFocus();
    } else {
        fillSample();
        Frame_Grid->show();
    }
    fitToContents();
}

void Frm_Oeso_Table::setUpGrid() {
    const bool exam = m_run.examination();
    Grid_oeso->setColumnCount(columns);
    Grid_oeso->setRowCount(exam ? 1 : 5);
    Grid_oeso->horizontalHeader()->hide();
    Grid_oeso->verticalHeader()->hide();
    Grid_oeso->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid_oeso->setSelectionMode(QAbstractItemView::NoSelection);
    Grid_oeso->setFocusPolicy(Qt::NoFocus);
    Grid_oeso->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Grid_oeso->setWordWrap(false);
    const QStringList headings{QStringLiteral(" Номер"),
                               exam ? QStringLiteral(" Drug  Given ") : QStringLiteral("  Вещества  "),
                               QStringLiteral("Измерение 1 "),
                               QStringLiteral("Измерение 2 "),
                               QStringLiteral("Измерение 3 "),
                               QStringLiteral("  Среднее  "),
                               exam ? QStringLiteral(" Drug Identified") : QString()};
    for (int c = 0; c < columns; ++c) Grid_oeso->setItem(0, c, new QTableWidgetItem(headings[c]));
    const QFontMetrics fm = fontMetrics();
    const int a = fm.horizontalAdvance(u'A');
    const int widths[columns] = {10 * a, 15 * a, 12 * a, 12 * a, 12 * a, 12 * a, 0};
    for (int c = 0; c < columns; ++c) Grid_oeso->setColumnWidth(c, widths[c]);
    Grid_oeso->setColumnHidden(identifiedColumn, true);
    Grid_oeso->setRowHeight(0, 2 * fm.height());
}

void Frm_Oeso_Table::fillSample() {
    for (int r = 0; r < 2; ++r) {
        const QStringList texts = examRowTexts(r, sample[r]);
        for (int c = 0; c < identifiedColumn; ++c) Grid_oeso->setItem(r + 1, c, new QTableWidgetItem(texts[c]));
    }
    for (int r = 1; r < Grid_oeso->rowCount(); ++r) Grid_oeso->setRowHeight(r, 2 * fontMetrics().height());
}

void Frm_Oeso_Table::fillExamRows() {
    const QVector<OesoExamRec>& recs = m_run.Oeso_ExamRecs();
    const int rows = std::max(0, static_cast<int>(recs.size()) - 1);  // the spare record is not shown
    Grid_oeso->setRowCount(rows + 1);
    for (int r = 0; r < rows; ++r) {
        const QStringList texts = examRowTexts(r, recs[r]);
        for (int c = 0; c < columns; ++c) Grid_oeso->setItem(r + 1, c, new QTableWidgetItem(texts[c]));
        Grid_oeso->setRowHeight(r + 1, 2 * fontMetrics().height());
    }
    // The supervisor opens the table to read the identifications: their column shows.
    Grid_oeso->setColumnHidden(identifiedColumn, false);
    Grid_oeso->setColumnWidth(identifiedColumn, 16 * fontMetrics().horizontalAdvance(u'A'));
}

void Frm_Oeso_Table::fitToContents() {
    // Red text; the fixed heading row and column look like buttons.
    const QFontMetrics fm = fontMetrics();
    const QBrush fixed = palette().button();
    for (int r = 0; r < Grid_oeso->rowCount(); ++r) {
        for (int c = 0; c < columns; ++c) {
            QTableWidgetItem* item = Grid_oeso->item(r, c);
            if (!item) Grid_oeso->setItem(r, c, item = new QTableWidgetItem);
            item->setForeground(redText);
            item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            item->setFlags(Qt::ItemIsEnabled);
            if (r == 0 || c == 0) item->setBackground(fixed);
            // No text is cut: a column too narrow for what it holds grows.
            if (!Grid_oeso->isColumnHidden(c))
                Grid_oeso->setColumnWidth(
                    c, std::max(Grid_oeso->columnWidth(c), fm.horizontalAdvance(item->text().trimmed()) + 16));
        }
    }
    int width = 2 * Grid_oeso->frameWidth();
    for (int c = 0; c < columns; ++c)
        if (!Grid_oeso->isColumnHidden(c)) width += Grid_oeso->columnWidth(c);
    int height = 2 * Grid_oeso->frameWidth();
    for (int r = 0; r < Grid_oeso->rowCount(); ++r) height += Grid_oeso->rowHeight(r);
    if (height > maxGridHeight) {
        height = maxGridHeight;
        width += Grid_oeso->verticalScrollBar()->sizeHint().width();
    }
    Grid_oeso->setFixedSize(width, height);

    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    layout()->activate();
    setFixedSize(layout()->sizeHint().expandedTo(QSize(Frame_Grid->isHidden() ? 380 : 0, 0)));
    CenterForm(m_ctx, this);
}

QString Frm_Oeso_Table::cell(int row, int column) const {
    const QTableWidgetItem* item = Grid_oeso->item(row, column);
    return item ? item->text() : QString();
}

void Frm_Oeso_Table::Cmd_ok_Click() {
    if (!passwordAccepted(m_ctx, Txt_PassW, m_run.Oeso_Password(), QStringLiteral("Invalid Password. "),
                          QStringLiteral(" Password Error ")))
        return;
    Frame_Grid->show();
    fillExamRows();
    Frame_Pass->hide();
    fitToContents();
    showExamResults(m_ctx, oesoExamRecord(m_run), m_run.Oeso_Password());
}

void Frm_Oeso_Table::Cmd_End_Click() {
    // The home screen closes this table as it loads; in the tutorial the experiment screen
    // is still open behind it.
    m_ctx.navigator.open(m_run.examination() ? OesoWindows::Frm_Oeso_main : OesoWindows::Frm_Oesophagus);
    close();
}

Frm_Oeso_Quest::Frm_Oeso_Quest(ProgramContext& ctx) : m_ctx(ctx) {
    setWindowTitle(QStringLiteral(" Morvane-Пищевод T1.00R"));
    discardWindowKeys(this);
    auto* frame = named(new QGroupBox(QStringLiteral("Ответьте на следующие вопросы:")), "Frame_TutQuestions");
    auto* questions = new QVBoxLayout(frame);
    const std::pair<const char*, QString> texts[] = {
        {"Lab_Q1", QStringLiteral("1. Перечислите участки тела, где мерцательные движения играют важную роль.")},
        {"Label_q2", QStringLiteral("2. Какое действие оказывает ацетилхолин на желудочно-кишечный тракт (ЖКТ)?")},
        {"laQ", QStringLiteral("3. Где применяются холинергические и антихолинергические лекарственные средства? "
                               "Назовите несколько случаев применения.")},
        {"labq2",
         QStringLiteral("4. Как используется атропин и его производные при желудочно-кишечных расстройствах?")},
        {"Label5(0)", QStringLiteral("5. Какие лекарства помимо холинергетиков и антихолинергетиков применяют при "
                                     "расстройствах желудочно-кишечного тракта? Перечислите их.")},
        {"Label5(1)",
         QStringLiteral("6. Дайте теоретическое обоснование применения антихолинестеразы при миастении гравис.")},
    };
    for (const auto& [name, text] : texts) {
        auto* q = new QLabel(text);
        q->setObjectName(QString::fromLatin1(name));
        q->setWordWrap(true);
        q->setTextFormat(Qt::PlainText);
        QFont f = q->font();
        f.setPointSize(11);
        q->setFont(f);
        questions->addWidget(q);
    }
    questions->addStretch();
    auto* back = named(new QPushButton(QStringLiteral("Назад")), "cmdBack");
    back->setToolTip(QStringLiteral("Return to experiment"));
    auto* done = named(new QPushButton(QStringLiteral("&Ok")), "Cmd_Done1");
    done->setToolTip(QStringLiteral("Exit to menu"));
    connect(back, &QPushButton::clicked, this, &Frm_Oeso_Quest::cmdBack_Click);
    connect(done, &QPushButton::clicked, this, &Frm_Oeso_Quest::Cmd_Done1_Click);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(done);
    buttons->addWidget(back);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttons);
    setFixedSize(600, 440);
    CenterForm(ctx, this);
    RemoveSysMenuItems(this);
}

void Frm_Oeso_Quest::cmdBack_Click() {
    m_ctx.navigator.open(OesoWindows::Frm_Oesophagus);  // as it was left
    close();
}

void Frm_Oeso_Quest::Cmd_Done1_Click() {
    m_ctx.navigator.open(OesoWindows::Frm_Oeso_main);
    m_ctx.navigator.closeIfOpen(OesoWindows::Frm_Oesophagus);
    close();
}
