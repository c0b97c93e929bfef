#include "eye_panel.h"

#include <QLabel>

#include "named_widgets.h"
#include "rabbit_widgets.h"
#include "twips.h"

namespace {

using namespace named_widgets;

const QString rulerTip = QStringLiteral("Переместите для измерения размеров зрачка. 1 деление = 1 мм");

constexpr int rulerTop = 60;  // twips of the eye view; a ruler moves sideways only

// A label placed in twips on an eye panel.
QLabel* placedLabel(const char* name, const QString& text, QWidget* parent, int left, int top, int width = 0) {
    QLabel* l = label(name, text, parent);
    l->move(twips::point(left, top));
    if (width > 0) {
        l->setWordWrap(true);
        l->setFixedWidth(twips::toPixels(width));
    }
    l->adjustSize();
    return l;
}

}  // namespace

EyePanel::EyePanel(EyeSide side, const QHash<QString, QPixmap>& pictures)
    : m_left(side == EyeSide::Left), m_pictures(pictures) {
    setObjectName(m_left ? QStringLiteral("Frame_PicLeft") : QStringLiteral("Frame_Pic_right"));
    setFixedSize(twips::size(5580, 4800));
    buildCaption();
    buildView();
    buildHead();
    buildSubstanceName();
    buildTensionGauge();
}

QPixmap EyePanel::picture(const char* leftFile, const char* rightFile) const {
    return m_pictures.value(QString::fromLatin1(m_left ? leftFile : rightFile));
}

void EyePanel::buildCaption() {
    QLabel* caption = label(m_left ? "Label1" : "Lab_PicRight",
                            m_left ? QStringLiteral("Левый глаз") : QStringLiteral("Правый глаз"), this);
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    caption->move(twips::point(m_left ? 180 : 2280, 30));
    caption->adjustSize();
}

// The magnified eye with its zoom frame, pupil and ruler.
void EyePanel::buildView() {
    m_view = named(new QLabel(this), m_left ? "Pic_LEye" : "Pic_Reye");
    m_view->setGeometry(m_left ? twips::rect(180, 360, 2950, 2895) : twips::rect(2280, 360, 3015, 2895));
    m_view->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_view->setAutoFillBackground(true);
    m_zoom = m_left ? new RabShape(QStringLiteral("Shape_LEZoom"), QColor(255, 0, 0), QColor(), m_view)
                    : new RabShape(QStringLiteral("Shape_REzoom"), QColor(0, 0, 255), QColor(), m_view);
    if (m_left)
        m_zoom->placeTwips(600, 240, 2220, 2355);
    else
        m_zoom->placeTwips(120, 240, 2280, 2355);
    m_pupil = new PupilShape(m_left ? QStringLiteral("Shape_LEye") : QStringLiteral("Shape_REye"), m_view);
    m_ruler = named(new QLabel(m_view), m_left ? "Picture_ScaleL" : "Picture_Scale_R");
    m_ruler->setPixmap(m_pictures.value(QStringLiteral("rab_ruler.png")));
    m_ruler->setFixedSize(twips::size(350, 2775));
    m_ruler->setToolTip(rulerTip);
    m_ruler->setCursor(Qt::SizeHorCursor);
}

// That side of the rabbit's head, with the dropper, the eye target and its marker.
void EyePanel::buildHead() {
    m_head = named(new QLabel(this), m_left ? "Pic_LRab" : "Pic_Rrab");
    m_head->setGeometry(m_left ? twips::rect(3240, 240, 2175, 3015) : twips::rect(120, 240, 2055, 3015));
    m_head->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* marker = m_left ? new RabShape(QStringLiteral("Shape_Rzoom"), QColor(255, 0, 0), QColor(), m_head)
                          : new RabShape(QStringLiteral("Shape_Zooml"), QColor(0, 0, 192), QColor(), m_head);
    if (m_left)
        marker->placeTwips(240, 1680, 495, 615);
    else
        marker->placeTwips(1440, 1680, 525, 615);
    m_dropper = named(new QLabel(m_head), m_left ? "Image_LD" : "Image_Rd");
    m_dropper->move(m_left ? twips::point(480, 1440) : twips::point(1540, 1440));
    m_dropper->resize(m_pictures.value(QStringLiteral("filler.ico")).size());
    m_dropper->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_target = named(new QWidget(m_head), m_left ? "Image_LEye" : "Image_REye");
    m_target->setGeometry(m_left ? twips::rect(240, 1680, 615, 615) : twips::rect(1320, 1800, 615, 495));
}

// What acts on the eye.
void EyePanel::buildSubstanceName() {
    QLabel* acting = placedLabel(m_left ? "Lab_LDrugt" : "Lab_rDrugt", QStringLiteral("Действует вещество:"), this,
                                 m_left ? 180 : 120, 3330);
    m_drugName = label(m_left ? "Lab_LDrug" : "Lab_rDrug", QStringLiteral("Нет"), this);
    m_drugName->setGeometry(acting->geometry().right() + 6, acting->y(),
                            twips::toPixels(5400) - acting->geometry().right(), acting->height());
    QFont strong = m_drugName->font();
    strong.setBold(true);
    m_drugName->setFont(strong);
    m_drugName->setStyleSheet(QStringLiteral("color: #00007f;"));
}

// The tension gauge: box, bar, the mark of normal and the three words under it.
void EyePanel::buildTensionGauge() {
    const int textLeft = m_left ? 180 : 120;
    const int dx = m_left ? 0 : 120, dy = m_left ? 0 : 120;
    placedLabel(m_left ? "Lab_LIntra" : "Lab_RINtra", QStringLiteral("Внутриглазное давление:"), this, textLeft,
                3840 + dy, 2160 + dx - textLeft);
    auto* box =
        new RabShape(m_left ? QStringLiteral("Shape_LBox") : QStringLiteral("Shape_RBox"), Qt::black, Qt::white, this);
    box->placeTwips(2400 + dx, 3960 + dy, 1920, 240);
    m_tension = m_left ? new RabShape(QStringLiteral("Shape_LTension"), Qt::black, QColor(128, 0, 128), this)
                       : new RabShape(QStringLiteral("Shape_RTension"), QColor(), QColor(128, 0, 128), this);
    auto* mark = new RabShape(m_left ? QStringLiteral("Line_LNormal") : QStringLiteral("Line_RNormal"), QColor(),
                              Qt::black, this);
    mark->setGeometry(twips::toPixels(3360 + dx), twips::toPixels(3840 + dy), 1, twips::toPixels(480));
    const std::tuple<const char*, const char*, QString, QString, int> words[] = {
        {"Lab_LLow", "Lab_RLow", QStringLiteral("НИЗ"), QStringLiteral("Low"), 2160},
        {"Lab_LNorm", "Lab_RNorm", QStringLiteral("НОРМ"), QStringLiteral("Normal"), 3000},
        {"Lab_LHigh", "Lab_RHigh", QStringLiteral("ВЫС"), QStringLiteral("High"), 4080}};
    for (const auto& [leftName, rightName, text, tip, x] : words) {
        QLabel* w = placedLabel(m_left ? leftName : rightName, text, this, x + dx, 4320 + dy);
        w->setToolTip(tip);
        QFont small = w->font();
        small.setPointSizeF(small.pointSizeF() * 0.85);
        w->setFont(small);
        w->adjustSize();
    }
}

void EyePanel::showEye(const EyeState& eye) {
    m_pupil->setBox(eye.Pupil);
    m_tension->placeTwips(m_left ? 2430 : 2535, m_left ? 3990 : 4095, eye.Tension, m_left ? 195 : 210);
    m_drugName->setText(eye.Label);
}

void EyePanel::showDropper(bool shown) {
    if (shown)
        m_dropper->setPixmap(m_pictures.value(QStringLiteral("filler.ico")));
    else
        m_dropper->clear();
}

void EyePanel::openEye() {
    m_view->setPixmap(picture("Leye1.bmp", "Reye1.bmp"));
    m_head->setPixmap(picture("LRab1.bmp", "RRab1.bmp"));
    m_pupil->show();
}

void EyePanel::closeEye() {
    m_pupil->hide();
    m_view->setPixmap(picture("leye2.bmp", "Reye2.bmp"));
    m_head->setPixmap(picture("LRab2.bmp", "Rrab2.bmp"));
}

void EyePanel::clearEye() {
    m_pupil->hide();
    m_view->clear();
    m_head->clear();
}

void EyePanel::placeRuler(int x) {
    m_rulerX = x;
    m_ruler->move(twips::point(x, rulerTop));
}

// The left ruler lies at the view's left edge, the right one beside the zoom frame.
void EyePanel::putRulerBack() {
    placeRuler(m_left ? 0 : twips::fromPixels(m_zoom->width()) + 300);
}
