#include "ileum_graph.h"

#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPushButton>
#include <QScatterSeries>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "ileum_model.h"
#include "named_widgets.h"
#include "numtext.h"
#include "printing.h"
#include "program_context.h"
#include "seams.h"

namespace {

using namespace named_widgets;

const QString pdfFilter = QStringLiteral("PDF (*.pdf)");
const QString pngFilter = QStringLiteral("PNG (*.png)");

// A textbook colour for each condition: the control black, mepyramine in blues growing
// darker with the concentration, atropine red.
QColor conditionColour(const BathCondition& c) {
    switch (c.drug) {
        case Antagonist::None:
            return Qt::black;
        case Antagonist::Atropine:
            return QColor(0xc0, 0x20, 0x20);
        case Antagonist::Mepyramine:
            break;
    }
    if (c.nanomolar <= 1) return QColor(0x20, 0x90, 0xd0);
    if (c.nanomolar <= 3) return QColor(0x20, 0x60, 0xb0);
    return QColor(0x20, 0x30, 0x80);
}

QChartView* chartView(const char* name) {
    auto* view = named(new QChartView(new QChart), name);
    view->setRenderHint(QPainter::Antialiasing);
    view->chart()->legend()->setAlignment(Qt::AlignRight);
    view->chart()->setMargins(QMargins(4, 4, 4, 4));
    return view;
}

// The chart without its series and axes, to be filled again.
QChart* emptied(QChart* chart) {
    chart->removeAllSeries();
    for (QAbstractAxis* a : chart->axes()) {
        chart->removeAxis(a);
        delete a;
    }
    return chart;
}

QValueAxis* axis(QChart* chart, Qt::Alignment where, const QString& title) {
    auto* a = new QValueAxis;
    a->setTitleText(title);
    a->setMinorTickCount(1);
    chart->addAxis(a, where);
    return a;
}

// The range [lo, hi] widened to whole halves, at least one unit wide.
std::pair<double, double> halves(double lo, double hi) {
    lo = std::floor(lo * 2 - 0.25) / 2;
    hi = std::ceil(hi * 2 + 0.25) / 2;
    if (hi - lo < 1) hi = lo + 1;
    return {lo, hi};
}

void setHalfTicks(QValueAxis* a, double lo, double hi) {
    a->setRange(lo, hi);
    a->setTickCount(static_cast<int>(std::lround((hi - lo) * 2)) + 1);
    a->setLabelFormat(QStringLiteral("%.1f"));
}

void attach(QChart* chart, QAbstractSeries* s, QValueAxis* x, QValueAxis* y) {
    chart->addSeries(s);
    s->attachAxis(x);
    s->attachAxis(y);
}

}  // namespace

IleumGraph::IleumGraph(ProgramContext& ctx, const IleumModel& model, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_ctx(ctx),
      m_model(model),
      m_tabs(named(new QTabWidget, "Tab_Graph")),
      m_curvesView(chartView("Chart_Curves")),
      m_schildView(chartView("Chart_Schild")),
      m_schildText(label("Lbl_Schild", QString())) {
    setObjectName(QStringLiteral("Frm_Graph"));
    setWindowTitle(QStringLiteral("График - подвздошная кишка морской свинки"));
    m_schildText->setWordWrap(true);
    m_schildText->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* schildPage = new QWidget;
    auto* schildLayout = new QHBoxLayout(schildPage);
    schildLayout->setContentsMargins(0, 0, 0, 0);
    schildLayout->addWidget(m_schildView, 1);
    m_schildText->setFixedWidth(220);
    m_schildText->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    schildLayout->addWidget(m_schildText);
    m_tabs->addTab(m_curvesView, QStringLiteral("Кривые доза-эффект"));
    m_tabs->addTab(schildPage, QStringLiteral("График Шилда"));

    auto* save =
        button("Cmd_GraphSave", QStringLiteral("Сохранить…"), QStringLiteral("Сохранить график в файл PNG или PDF"));
    auto* print = button("Cmd_GraphPrint", QStringLiteral("Печать"), QStringLiteral("Напечатать график"));
    auto* close = button("Cmd_GraphClose", QStringLiteral("Закрыть"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {save, print, close}) buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(buttons);
    connect(save, &QPushButton::clicked, this, &IleumGraph::Cmd_Save_Click);
    connect(print, &QPushButton::clicked, this, &IleumGraph::Cmd_Print_Click);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    // Fits an 800 x 600 screen with its frame.
    resize(760, 520);
}

void IleumGraph::refresh(const QString& cursorRatio) {
    fillCurves();
    fillSchild(cursorRatio);
}

// Every point the student made, joined in order of dose; the legend names the scatter only.
void IleumGraph::fillCurves() {
    QChart* chart = emptied(m_curvesView->chart());
    chart->setTitle(QStringLiteral("Высота сокращения и доза гистамина"));
    QValueAxis* x = axis(chart, Qt::AlignBottom, QStringLiteral("lg доза (мкг)"));
    QValueAxis* y = axis(chart, Qt::AlignLeft, QStringLiteral("Высота сокращения, мм"));
    // A little above the ruler's full scale, so that the tallest contractions' points show whole.
    y->setRange(0, IleumModel::rulerSpanMm + 10);
    y->setTickCount(10);
    y->setLabelFormat(QStringLiteral("%.0f"));

    double lo = -1, hi = 1;
    bool any = false;
    for (const CurveSeries& s : m_model.points().series()) {
        auto* scatter = new QScatterSeries;
        scatter->setName(s.condition.text());
        scatter->setMarkerSize(8);
        scatter->setColor(conditionColour(s.condition));
        scatter->setBorderColor(conditionColour(s.condition));
        QList<CurvePoint> byDose = s.points;
        std::stable_sort(byDose.begin(), byDose.end(),
                         [](const CurvePoint& a, const CurvePoint& b) { return a.logDose < b.logDose; });
        auto* line = new QLineSeries;
        line->setPen(QPen(conditionColour(s.condition), 1.5));
        for (const CurvePoint& p : s.points) scatter->append(p.logDose, p.heightMm);
        for (const CurvePoint& p : byDose) {
            line->append(p.logDose, p.heightMm);
            lo = any ? std::min(lo, p.logDose) : p.logDose;
            hi = any ? std::max(hi, p.logDose) : p.logDose;
            any = true;
        }
        attach(chart, line, x, y);
        attach(chart, scatter, x, y);
        for (QLegendMarker* m : chart->legend()->markers(line)) m->setVisible(false);
    }
    const auto [xlo, xhi] = halves(lo, hi);
    setHalfTicks(x, xlo, xhi);
    chart->legend()->setVisible(any);
}

void IleumGraph::fillSchild(const QString& cursorRatio) {
    QChart* chart = emptied(m_schildView->chart());
    chart->setTitle(QStringLiteral("График Шилда (мепирамин)"));
    QValueAxis* x = axis(chart, Qt::AlignBottom, QStringLiteral("lg B (М)"));
    QValueAxis* y = axis(chart, Qt::AlignLeft, QStringLiteral("lg (ОД − 1)"));

    const QList<AntagonistRatio> ratios = doseRatios(m_model.points());
    const SchildAnalysis schild = schildAnalysis(schildInputs(ratios));

    auto* scatter = new QScatterSeries;
    scatter->setName(QStringLiteral("Опыт"));
    scatter->setMarkerSize(9);
    scatter->setColor(QColor(0x20, 0x60, 0xb0));
    double ylo = -0.5, yhi = 1.5;
    for (const SchildPoint& p : schild.points) {
        scatter->append(p.logB, p.logDrMinus1);
        ylo = std::min(ylo, p.logDrMinus1);
        yhi = std::max(yhi, p.logDrMinus1);
    }
    // Mepyramine's concentrations run from 1 to 10 nM: lg B from −9 to −8.
    const double xlo = -9.5, xhi = -7.5;
    if (schild.fit) {
        auto* line = new QLineSeries;
        line->setName(QStringLiteral("Прямая"));
        line->setPen(QPen(Qt::black, 1.5));
        for (double lb : {xlo, xhi}) line->append(lb, schild.fit->slope * lb + schild.fit->intercept);
        attach(chart, line, x, y);
    }
    attach(chart, scatter, x, y);
    setHalfTicks(x, xlo, xhi);
    const auto [lo, hi] = halves(ylo, yhi);
    setHalfTicks(y, lo, hi);

    QStringList text;
    text << QStringLiteral("<b>Отношения доз (ОД)</b>");
    for (const AntagonistRatio& r : ratios)
        text << QStringLiteral("%1: %2").arg(r.condition.text(), r.dr
                                                                     ? numtext::generalForm(r.dr->ratio, 3)
                                                                     : QStringLiteral("нет (кривые не перекрываются)"));
    if (ratios.isEmpty()) text << QStringLiteral("Запишите контрольную кривую и кривую с антагонистом.");
    if (!cursorRatio.isEmpty()) text << cursorRatio;
    if (schild.fit) {
        text << QString() << QStringLiteral("<b>Прямая Шилда</b>")
             << QStringLiteral("Наклон: %1").arg(numtext::generalForm(schild.fit->slope, 3));
        if (schild.fit->pA2) text << QStringLiteral("pA2: %1").arg(numtext::generalForm(*schild.fit->pA2, 3));
    }
    if (!schild.verdict.isEmpty()) text << QString() << schild.verdict;
    m_schildText->setText(text.join(QStringLiteral("<br>")));
}

void IleumGraph::paintShown(QPainter& painter, const QRectF& target) const {
    QChartView* view = m_tabs->currentIndex() == 0 ? m_curvesView : m_schildView;
    if (view == m_curvesView) {
        view->render(&painter, target);
        return;
    }
    // The Schild plot with its numbers beside it.
    const QRectF chartPart(target.left(), target.top(), target.width() * 0.7, target.height());
    view->render(&painter, chartPart);
    painter.save();
    painter.translate(chartPart.right() + 10, target.top() + 20);
    const double scale = target.width() / width();
    painter.scale(scale, scale);
    QLabel copy;
    copy.setText(m_schildText->text());
    copy.setWordWrap(true);
    copy.setFixedWidth(static_cast<int>((target.width() * 0.3 - 10) / scale));
    copy.adjustSize();
    copy.render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    painter.restore();
}

void IleumGraph::Cmd_Save_Click() {
    const ChosenFile chosen = m_ctx.files.saveFile(
        {QStringLiteral("Сохранить график"), proposedPdfFile(QStringLiteral("график.pdf")), {pdfFilter, pngFilter}});
    if (chosen.path.isEmpty()) return;
    const QString path = savedPath(chosen, {pdfFilter, pngFilter});
    QString failure;
    if (path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) {
        QImage image(1200, 800, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            paintShown(painter, image.rect());
        }
        if (!image.save(path, "PNG")) failure = QStringLiteral("Не удалось записать файл %1.").arg(path);
    } else {
        failure = writePdf(path, [this](QPagedPaintDevice* device) {
            QPainter painter(device);
            if (!painter.isActive()) return false;
            paintShown(painter, QRectF(0, 0, device->width(), device->height()));
            return true;
        });
    }
    if (!failure.isEmpty())
        m_ctx.message({failure, QStringLiteral("Сохранение"), MsgButtons::Ok, MsgIcon::Critical, MsgAnswer::Ok});
}

void IleumGraph::Cmd_Print_Click() {
    printDocument(m_ctx, QStringLiteral("ПРЕДУПРЕЖДЕНИЕ - Принтер должен быть ВКЛЮЧЕН!"),
                  [this](QPagedPaintDevice* device) {
                      QPainter painter(device);
                      if (!painter.isActive()) return false;
                      paintShown(painter, QRectF(0, 0, device->width(), device->height()));
                      return true;
                  });
}
