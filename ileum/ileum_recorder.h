#pragma once

#include <QGroupBox>
#include <QList>
#include <QPointer>

#include "ileum_model.h"
#include "recording_paper.h"

class ProgramContext;
class QFontMetrics;
class QLabel;
class QLineEdit;
class QScrollBar;
class QTimer;

// One contraction (or flicker) on the paper, as the measuring cursor reads it.
struct RecordedTrace {
    int left = 0, right = 0;        // the paper columns [left, right) of the trace and its label
    QString label;                  // the dose as written under it
    double heightMm = 0;            // on the ruler's scale
    std::optional<double> logDose;  // log10 µg; nothing for the unknown
    BathCondition condition;
};

// The lines a trace's label is written in, each no wider than `slot` pixels, so that it
// stays under its own trace. A label too wide goes on two lines, its number above what
// follows it ("1/2" above "Стнд", "0.25" above "мл"); a number still too wide is written
// with fewer significant digits; whatever still does not fit is cut with "…".
QStringList traceLabelLines(const QString& label, const QFontMetrics& metrics, int slot);

// The ileum's kymograph: the paper behind its window, the scroll bar under it and the
// ruler on it. Every injection grows the paper by 40 pixels and draws one contraction (or
// a flicker) with its label; the scroll bar lets the student look back.
class IleumRecorder : public QGroupBox {
    Q_OBJECT
public:
    static constexpr int viewWidth = 497, viewHeight = 225;
    // Every injection adds this much paper; a label keeps a gap of 2 pixels to the next.
    static constexpr int traceWidth = IleumModel::traceWidth, labelSlot = traceWidth - 2;

    // The controls of the experiment screen the injection sequence works with.
    struct Controls {
        QLineEdit* dose = nullptr;       // the dose box
        QLineEdit* standard = nullptr;   // the standard-dose box
        QLabel* unknownUnit = nullptr;   // unit label of the unknown button
        QWidget* syringe = nullptr;      // shown during the injection pause
        QList<QWidget*> injectControls;  // disabled during the pause
    };

    IleumRecorder(ProgramContext& ctx, IleumModel& model, QWidget* parent = nullptr);
    void setControls(const Controls& controls) { m_controls = controls; }

    // First set-up of the recorder (fixes the model's BaseY), and the reset of a new experiment.
    void SetupRecorder();
    void ResetRecorder();
    // At every experiment start the ruler stands 25 pixels inside the paper's right edge.
    void placeRuler() { setRulerX(m_paper.width() - 25); }

    // The injection sequence: the syringe shows for one second (a single-shot timer; the
    // injection controls are disabled meanwhile), then finishInjection() does the rest.
    void Cmd_inject_Click();
    void finishInjection();
    bool injecting() const;

    // A mark on the paper where the bath changed (an antagonist added, a wash), above the place
    // of the next trace, on the highest line at the paper's top where it runs into no other mark.
    void mark(const QString& text);
    // Every trace of this recording, in the order they were made.
    const QList<RecordedTrace>& traces() const { return m_traces; }
    // The trace under a paper column; −1 for none.
    int traceAt(int paperX) const;
    // The measuring cursor (the tutorial's): a click on a trace is reported, and the read-out
    // in the frame's title row beside "Самописец" shows.
    void setMeasuring(bool on);
    QLabel* readout() const { return m_readout; }

    // The scroll bar's change, with the value as the recorder counts it: N at the left end
    // (the start of the strip), 0 at the right end (the newest part).
    void HScrPic_Change(int value);

    const RecordingPaper& paper() const { return m_paper; }
    int paperLeft() const;
    int rulerX() const { return m_rulerX; }
    void setRulerX(int x);        // the ruler's left edge, in paper pixels
    int scrollPositions() const;  // N
    int scrollValue() const;      // 0 … N
    void setScrollValue(int value);

signals:
    // An injection drew its trace.
    void injected();
    // The student clicked a trace on the paper.
    void traceClicked(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void setPaperLeft(int left);
    void followScrollRange();
    void refuse(const QString& text, QWidget* focus);

    ProgramContext& m_ctx;
    IleumModel& m_model;
    Controls m_controls;
    RecordingPaper m_paper;
    PaperView* m_view;
    QLabel* m_ruler;
    QLabel* m_readout;
    QScrollBar* m_scroll;
    QTimer* m_pause;
    QList<QPointer<QWidget>> m_disabled;  // controls the pause disabled, to enable again
    int m_rulerX = 0;
    QFont m_font, m_markFont;
    QList<RecordedTrace> m_traces;
    bool m_measuring = false;
    QList<int> m_markEnds;  // where the last mark's text on each line at the top of the paper ends
};
