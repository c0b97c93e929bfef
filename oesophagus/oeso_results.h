#pragma once

#include <QWidget>

class ProgramContext;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTableWidget;
class OesoRunState;

// The results table: in the tutorial a sample of how to record the seed's times; in the
// examination every run and every identification, behind the supervisor's password.
class Frm_Oeso_Table : public QWidget {
    Q_OBJECT
public:
    Frm_Oeso_Table(ProgramContext& ctx, const OesoRunState& run);

    void Cmd_ok_Click();
    void Cmd_End_Click();

    // The text of a cell of the grid (row 0 holds the headings).
    QString cell(int row, int column) const;

private:
    void setUpGrid();
    void fillSample();
    void fillExamRows();
    void fitToContents();

    ProgramContext& m_ctx;
    const OesoRunState& m_run;
    QFrame* Frame_Grid;
    QTableWidget* Grid_oeso;
    QLabel* Label2;
    QGroupBox* Frame_Pass;
    QLineEdit* Txt_PassW;
};

// The review questions at the end of a tutorial.
class Frm_Oeso_Quest : public QWidget {
    Q_OBJECT
public:
    explicit Frm_Oeso_Quest(ProgramContext& ctx);

    void cmdBack_Click();
    void Cmd_Done1_Click();

private:
    ProgramContext& m_ctx;
};
