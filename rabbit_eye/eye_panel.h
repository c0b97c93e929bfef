#pragma once

#include <QGroupBox>
#include <QHash>
#include <QPixmap>

#include "rabbit_model.h"

class PupilShape;
class QLabel;
class RabShape;

// One eye's panel of the rabbit screen: the magnified eye with its zoom frame, pupil and
// ruler; that side of the rabbit's head with the dropper, the eye target and its marker;
// the name of what acts on the eye, and the tension gauge. Placed in twips, as the
// pictures are drawn. It shows an eye as the model has it.
class EyePanel : public QGroupBox {
    Q_OBJECT
public:
    // `pictures` are the screen's, by file name; they outlive the panel.
    EyePanel(EyeSide side, const QHash<QString, QPixmap>& pictures);

    // The pupil, the tension bar and the name of the substance.
    void showEye(const EyeState& eye);
    void showDropper(bool shown);
    // The eye open, closed by a blink, or not there while the rabbit is being changed.
    void openEye();
    void closeEye();
    void clearEye();

    // The ruler's left edge in twips of the eye view: where a drag put it, or where a new
    // rabbit finds it.
    void placeRuler(int x);
    void putRulerBack();
    int rulerLeft() const { return m_rulerX; }

    QLabel* view() const { return m_view; }       // Pic_LEye / Pic_Reye
    QLabel* ruler() const { return m_ruler; }     // Picture_ScaleL / Picture_Scale_R
    QLabel* head() const { return m_head; }       // Pic_LRab / Pic_Rrab
    QWidget* target() const { return m_target; }  // Image_LEye / Image_REye: where a tool tests the eye

private:
    void buildCaption();
    void buildView();
    void buildHead();
    void buildSubstanceName();
    void buildTensionGauge();
    QPixmap picture(const char* leftFile, const char* rightFile) const;

    const bool m_left;
    const QHash<QString, QPixmap>& m_pictures;
    QLabel* m_view = nullptr;
    PupilShape* m_pupil = nullptr;  // Shape_LEye / Shape_REye
    RabShape* m_zoom = nullptr;     // Shape_LEZoom / Shape_REzoom
    QLabel* m_ruler = nullptr;
    QLabel* m_head = nullptr;
    QLabel* m_dropper = nullptr;  // Image_LD / Image_Rd
    QWidget* m_target = nullptr;
    QLabel* m_drugName = nullptr;   // Lab_LDrug / Lab_rDrug
    RabShape* m_tension = nullptr;  // Shape_LTension / Shape_RTension
    int m_rulerX = 0;
};
