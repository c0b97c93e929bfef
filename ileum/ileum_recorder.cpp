#include "ileum_recorder.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "numtext.h"
#include "program_context.h"

static_assert(PaperScroll::maxWidth == RecordingPaper::maxWidth, "the model counts the paper the recorder draws on");

namespace {

const QColor paperColour(0x1c, 0x2b, 0x3b);  // dark, like smoked paper
const QColor inkColour(Qt::white);
// The lines at the paper's top that marks are written on.
constexpr int markLines = 4;

// The ruler's scale, numbered 2 to 10 with four divisions to a number: the mark 2 lies on the
// baseline, 10 on the tallest contraction (the ruler hangs 5 pixels above the paper's top).
QPixmap rulerPicture(int height, int baseline, int ceiling) {
    QPixmap pm(23, height);
    pm.fill(QColor(0xf4, 0xe9, 0xc8));
    QPainter p(&pm);
    p.setPen(QColor(0x5a, 0x45, 0x20));
    p.drawRect(0, 0, 22, height - 1);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(8);
    p.setFont(f);
    const double division = (baseline - ceiling) / 32.0;
    for (int i = 0; i <= 32; ++i) {
        const int y = static_cast<int>(std::lround(baseline - i * division));
        p.drawLine(0, y, i % 4 == 0 ? 8 : 4, y);
        if (i % 4 == 0) p.drawText(QRect(9, y - 6, 14, 12), Qt::AlignCenter, QString::number(2 + i / 4));
    }
    return pm;
}

// The ruler follows the pointer while it is dragged over the paper.
class Ruler : public QLabel {
public:
    Ruler(QWidget* paperView, std::function<void(int)> moveTo) : QLabel(paperView), m_moveTo(std::move(moveTo)) {
        setCursor(Qt::SizeHorCursor);
    }

protected:
    void mousePressEvent(QMouseEvent* e) override { e->accept(); }
    void mouseMoveEvent(QMouseEvent* e) override {
        const QPoint inView = mapToParent(e->position().toPoint());
        if (parentWidget()->rect().contains(inView)) m_moveTo(inView.x());
    }

private:
    std::function<void(int)> m_moveTo;
};

}  // namespace

QStringList traceLabelLines(const QString& label, const QFontMetrics& metrics, int slot) {
    auto fits = [&](const QString& text) { return metrics.horizontalAdvance(text) <= slot; };
    if (fits(label)) return {label};

    // The number is what the label starts with: digits, points and a fraction's slash.
    qsizetype end = 0;
    while (end < label.size() && (label[end].isDigit() || label[end] == u'.' || label[end] == u'/')) ++end;
    QString number = label.left(end);
    const QString rest = label.mid(end).trimmed();
    if (!fits(number) && numtext::isPlainDecimal(number)) {
        const double value = numtext::numberReading(number);
        for (int digits = 6; digits >= 1 && !fits(number); --digits) number = numtext::generalForm(value, digits);
    }
    QStringList lines;
    if (number.isEmpty() || fits(number + rest))
        lines << number + rest;
    else
        lines << number << rest;
    lines.removeAll(QString());
    for (QString& line : lines) line = metrics.elidedText(line, Qt::ElideRight, slot);
    return lines;
}

IleumRecorder::IleumRecorder(ProgramContext& ctx, IleumModel& model, QWidget* parent)
    : QGroupBox(QStringLiteral("Самописец"), parent),
      m_ctx(ctx),
      m_model(model),
      m_paper(viewWidth, viewHeight, paperColour, inkColour),
      m_view(new PaperView(m_paper, this)),
      m_readout(new QLabel(this)),
      m_scroll(new QScrollBar(Qt::Horizontal, this)),
      m_pause(new QTimer(this)) {
    setObjectName(QStringLiteral("FraPicture"));
    m_view->setObjectName(QStringLiteral("Pic_Continer"));
    m_view->setFixedSize(viewWidth, viewHeight);
    m_ruler = new Ruler(m_view, [this](int viewX) { setRulerX(viewX - paperLeft()); });
    m_ruler->setObjectName(QStringLiteral("Picture1"));
    m_ruler->setPixmap(rulerPicture(viewHeight, viewHeight - 40 + 5, 20 + 5));
    m_ruler->setFixedSize(23, viewHeight);
    m_ruler->setToolTip(QStringLiteral("Переместите для измерений. 1 деление = 0,25см"));

    m_scroll->setObjectName(QStringLiteral("HScrPic"));
    m_scroll->setFixedWidth(viewWidth);
    m_scroll->setSingleStep(1);
    m_scroll->setPageStep(1);
    m_scroll->setRange(0, 0);
    m_scroll->setTracking(false);  // the view follows the thumb when it is released
    connect(m_scroll, &QScrollBar::valueChanged, this, [this] { HScrPic_Change(scrollValue()); });

    m_pause->setObjectName(QStringLiteral("Timer_Syringe"));
    m_pause->setSingleShot(true);
    m_pause->setInterval(1000);
    connect(m_pause, &QTimer::timeout, this, &IleumRecorder::finishInjection);

    m_font = QFont(QStringLiteral("Liberation Sans"));
    m_font.setPointSize(8);
    m_readout->setObjectName(QStringLiteral("Lbl_Cursor"));
    m_readout->setStyleSheet(QStringLiteral("color: #00007f;"));
    m_markFont = m_font;
    m_markFont.setPixelSize(9);
    m_view->installEventFilter(this);
    m_readout->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(0);
    layout->addWidget(m_view);
    layout->addWidget(m_scroll);
}

int IleumRecorder::paperLeft() const {
    return m_view->paperLeft();
}

void IleumRecorder::setPaperLeft(int left) {
    m_view->setPaperLeft(left);
    setRulerX(m_rulerX);
}

void IleumRecorder::setRulerX(int x) {
    m_rulerX = x;
    m_ruler->move(x + paperLeft(), -5);
}

int IleumRecorder::scrollPositions() const {
    return m_scroll->maximum();
}

int IleumRecorder::scrollValue() const {
    return m_scroll->maximum() - m_scroll->value();
}

void IleumRecorder::setScrollValue(int value) {
    m_scroll->setValue(m_scroll->maximum() - value);
}

void IleumRecorder::SetupRecorder() {
    m_model.setUpRecorder(m_paper.height(), m_ctx.random);
    ResetRecorder();
}

void IleumRecorder::ResetRecorder() {
    m_paper.reset();
    m_traces.clear();
    m_markEnds.clear();
    m_model.startRecorder(m_paper.width());
    setPaperLeft(m_model.paperScroll().left());
    {
        const QSignalBlocker quiet(m_scroll);
        m_scroll->setRange(0, 0);
        m_scroll->setValue(0);
    }
    m_view->update();
}

// The bar's range follows the model's; the bar keeps its distance from the newest end.
void IleumRecorder::followScrollRange() {
    const int positions = m_model.paperScroll().positions();
    if (m_scroll->maximum() == positions) return;
    const int value = scrollValue();
    const QSignalBlocker quiet(m_scroll);
    m_scroll->setMaximum(positions);
    setScrollValue(value);
}

bool IleumRecorder::injecting() const {
    return m_pause->isActive();
}

void IleumRecorder::Cmd_inject_Click() {
    if (injecting()) return;
    if (m_controls.syringe) m_controls.syringe->show();
    m_disabled.clear();
    for (QWidget* w : std::as_const(m_controls.injectControls)) {
        if (w && w->isEnabled()) {
            w->setEnabled(false);
            m_disabled << w;
        }
    }
    m_pause->start();
}

void IleumRecorder::refuse(const QString& text, QWidget* focus) {
    m_ctx.message({text, {}, MsgButtons::Ok, MsgIcon::Information, MsgAnswer::Ok});
    if (focus) focus->setFocus();
}

void IleumRecorder::finishInjection() {
    m_pause->stop();
    if (m_controls.syringe) m_controls.syringe->hide();
    for (const QPointer<QWidget>& w : std::as_const(m_disabled))
        if (w) w->setEnabled(true);
    m_disabled.clear();

    // The ruler waits just beyond the paper's end; the newest part comes into view, with
    // the new trace when there is one. The ruler is moved only as the paper scrolls: moved
    // before, it would make the whole view repaint instead of the part that comes into view.
    m_rulerX = m_paper.width() + 15;

    const QString dose = m_controls.dose ? m_controls.dose->text() : QString();
    // A dose too large for single precision, or an unknown's whose amount would be, is
    // refused like an empty one.
    if (!m_model.injectable(dose, m_controls.standard ? m_controls.standard->text() : QString())) {
        setPaperLeft(m_model.paperScroll().left());
        refuse(QStringLiteral(" Введите правильную дозу! "), m_controls.dose);
        return;
    }
    if (m_controls.unknownUnit) m_controls.unknownUnit->setText(dose + QStringLiteral(" мл"));
    if (m_model.paperScroll().full()) {
        setPaperLeft(m_model.paperScroll().left());
        refuse(QStringLiteral(" Память самописца переполнена! "), nullptr);
        return;
    }

    m_model.advancePaper();
    followScrollRange();
    const int W = m_paper.grow(m_model.paperScroll().width() - m_paper.width());
    const int baseY = m_model.BaseY();
    m_paper.line({W - 50, baseY}, {W - 30, baseY});

    const InjectionResult r = m_model.inject(dose, m_controls.standard ? m_controls.standard->text() : QString());
    if (r.flicker) {
        m_paper.arc(QPointF(W - 60, baseY), 10, 4, 0.2, 3.3);
    } else {
        const int peak = r.PeakY;
        m_paper.line({W - 70, baseY}, {W - 66, peak - 3});
        m_paper.line({W - 51, baseY}, {W - 51, peak});
        m_paper.arc(QPointF(W - 59, peak + 20), 10, 30, 0.7, 2.4);
    }
    std::optional<double> logDose;
    if (!r.unknown) logDose = std::log10(double(r.amount));
    m_traces << RecordedTrace{W - 70, W - 30, m_model.InjLabel(), m_model.heightMm(r), logDose, r.condition};
    const QFontMetrics metrics(m_font);
    const QStringList lines = traceLabelLines(m_model.InjLabel(), metrics, labelSlot);
    for (int k = 0; k < lines.size(); ++k) m_paper.text({W - 70, baseY + 10 + k * metrics.height()}, lines[k], m_font);

    setPaperLeft(m_model.paperScroll().left());
    m_view->paperChanged(W - 80, W);
    if (m_controls.dose) m_controls.dose->setFocus();
    emit injected();
}

void IleumRecorder::mark(const QString& text) {
    // Where the next trace's contraction rises; the top rows stay clear of all but the
    // tallest contractions.
    const int x = m_paper.width() - 30;
    const QFontMetrics metrics(m_markFont);
    // Several marks in one place (two washes and a new antagonist) stand one under another.
    qsizetype row = 0;
    while (row < m_markEnds.size() && m_markEnds[row] > x) ++row;
    if (row == markLines) row = std::min_element(m_markEnds.cbegin(), m_markEnds.cend()) - m_markEnds.cbegin();
    if (row == m_markEnds.size()) m_markEnds << 0;
    const int top = 1 + int(row) * metrics.height();
    const QColor markColour(0xff, 0xd0, 0x60);
    m_paper.line({x, 0}, {x, top + metrics.height()}, markColour);
    m_paper.text({x + 2, top}, text, m_markFont, markColour);
    m_markEnds[row] = x + 2 + metrics.horizontalAdvance(text) + 4;
    m_view->paperChanged(x, m_markEnds[row]);
}

void IleumRecorder::setMeasuring(bool on) {
    m_measuring = on;
    m_readout->setVisible(on);
    if (on) {
        m_view->setCursor(Qt::CrossCursor);
        m_view->setToolTip(QStringLiteral("Щёлкните сокращение, чтобы измерить его высоту"));
    } else {
        m_view->unsetCursor();
        m_view->setToolTip(QString());
    }
}

int IleumRecorder::traceAt(int paperX) const {
    for (int i = 0; i < m_traces.size(); ++i)
        if (paperX >= m_traces[i].left && paperX < m_traces[i].right) return i;
    return -1;
}

// The read-out fills the title row from after the title to the frame's right edge.
void IleumRecorder::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    const QRect title = style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, this);
    m_readout->setGeometry(title.right() + 12, title.top(), width() - title.right() - 18, title.height());
}

bool IleumRecorder::eventFilter(QObject* watched, QEvent* event) {
    if (m_measuring && watched == m_view && event->type() == QEvent::MouseButtonPress) {
        const auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() == Qt::LeftButton) {
            const int i = traceAt(e->position().toPoint().x() - paperLeft());
            if (i >= 0) emit traceClicked(i);
            return true;
        }
    }
    return QGroupBox::eventFilter(watched, event);
}

void IleumRecorder::HScrPic_Change(int value) {
    // The value counts from the newest end; the model's positions from the start of the strip.
    setPaperLeft(m_model.paperScroll().shownLeft(scrollPositions() - value));
}
