#pragma once

#include <QImage>
#include <QList>
#include <QTimer>
#include <QWidget>

class HeartModel;
class QLabel;

// The apparatus with its writing lever and the heart. The lever is a line from its tip
// (50 twips, y) to its pivot (1000, 4200 twips), drawn by inverting the pixels under it,
// so that drawing it twice at the same height leaves the picture as it was. The picture is
// held at the device pixel ratio of the screen it shows on, so that it is sharp on any.
class SetupPicture : public QWidget {
    Q_OBJECT
public:
    explicit SetupPicture(QWidget* parent = nullptr);

    // Inverts the lever at height yTwips and repaints only the part of the picture it covers.
    void invertLever(int yTwips);
    // The part of the picture the lever at height yTwips covers (widget pixels).
    static QRect leverRect(int yTwips);
    // The small, contracted heart (systole, a calcium contracture; the screen calls it
    // Img_hrtdia) or the large, relaxed one (diastole, a potassium arrest; Img_hrtsys).
    QLabel* contracted() const { return m_contracted; }
    QLabel* relaxed() const { return m_relaxed; }
    void showContracted(bool contracted);
    // The picture with the lever as it stands (for tests and pictures).
    const QImage& canvas() const { return m_canvas; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void paintCanvas(qreal ratio);
    void drawLever(QPainter& p, int yTwips);

    QImage m_canvas;
    QList<int> m_lever;  // the heights the lever is drawn at now
    QLabel* m_contracted;
    QLabel* m_relaxed;
};

// One heart beat of the lever: it rises from its rest height by its stroke and falls back,
// in steps of 16 twips, the heart contracted while the lever rises and relaxed as it falls. A beat starts
// every `interval` ms and lasts a visible part of it, paced by a frame timer.
class LeverBeat : public QObject {
    Q_OBJECT
public:
    // The resting lever is where `model` has it (lastneedle()); the beat tells it where it leaves it.
    LeverBeat(SetupPicture* picture, HeartModel& model, QObject* parent = nullptr);

    // The lever's geometry for the next beat.
    void setGeometry(int rest, int stroke);
    void start(int intervalMs);  // a beat every intervalMs; 0: none
    void stop();                 // no more beats; a beat under way ends at once, the lever at its rest
    void settle();               // a beat under way ends at once; the beats go on
    bool running() const { return m_interval.isActive(); }
    int interval() const { return m_interval.interval(); }

    // One beat from start to end, without waiting (tests).
    void beatNow();
    void beginBeat();                            // the interval timer's step: a beat begins
    void frame();                                // the frame timer's step
    int drawnHeight() const { return m_drawn; }  // where the beating lever is drawn, 0 between beats

private:
    void finishBeat();
    int heightAt(int step) const;

    SetupPicture* m_picture;
    HeartModel& m_model;
    QTimer m_interval;
    QTimer m_frames;
    int m_rest = 4250, m_stroke = 500;
    int m_step = -1;  // -1: no beat under way
    int m_steps = 0;  // steps of the beat, up then down
    int m_drawn = 0;  // height now drawn by the beat, 0 none
};
