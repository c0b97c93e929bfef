#pragma once

#include <QWidget>

class IleumModel;
class ProgramContext;
class QChart;
class QChartView;
class QLabel;
class QTabWidget;

// The tutorial's graphs of the current recording: every contraction's height against log dose,
// a series for each condition of the bath, and the Schild plot of the mepyramine series with
// its line, slope, pA2 and dose ratios. They can be saved (PNG or PDF) and printed.
class IleumGraph : public QWidget {
    Q_OBJECT
public:
    IleumGraph(ProgramContext& ctx, const IleumModel& model, QWidget* parent = nullptr);

    // Draws the graphs again from the model's points; `cursorRatio` is the dose ratio the
    // student read with the cursor, in words (empty when none).
    void refresh(const QString& cursorRatio);

    void Cmd_Save_Click();
    void Cmd_Print_Click();

private:
    void fillCurves();
    void fillSchild(const QString& cursorRatio);
    // Paints the graph on the tab shown now into `target` on `painter`.
    void paintShown(QPainter& painter, const QRectF& target) const;

    ProgramContext& m_ctx;
    const IleumModel& m_model;
    QTabWidget* m_tabs;
    QChartView *m_curvesView, *m_schildView;
    QLabel* m_schildText;
};
