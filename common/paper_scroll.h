#pragma once

// The counting behind a kymograph's window: how wide its paper is, where the paper's left
// edge lies while the newest part shows, and how far back the scroll bar under the window
// reaches. Plain numbers; the recorder's widget draws the paper and moves the bar.
//
// The paper grows at its right end and the view follows it. The scroll range starts empty
// and lags behind the paper: it grows by 4 positions once the paper has grown by more than
// its first width, then by 1 position each time it has grown by more than a quarter of
// that width again. One position moves the view by that quarter (the unit).
class PaperScroll {
public:
    static constexpr int maxWidth = 16383;  // the widest paper a recorder holds

    // A fresh paper `width` pixels wide, shown from its left edge, with no scroll range.
    void start(int width);

    bool full() const { return m_width >= maxWidth; }

    // The paper grows by `pixels` at its right end, never beyond maxWidth, and the view
    // follows: its left edge moves the whole `pixels`, even when the width stops at the limit.
    void advance(int pixels);
    // Growth counted towards the next widening of the scroll range.
    void count(int pixels) { m_growth += pixels; }
    // The scroll range widens once the growth counted since it last widened exceeds the
    // limit. True when it widened.
    bool widen();
    // One step of the recording: the paper advances, the range widens if it is due, and
    // the step's growth counts towards the next widening.
    void record(int pixels);

    // The paper's left edge with the scroll bar at `position`: 0 is the start of the strip,
    // each position further a unit to the right.
    int leftAt(int position) const { return -position * m_unit; }
    // As leftAt, except that the bar's far end (positions()) shows the newest part.
    int shownLeft(int position) const { return position == m_positions ? m_left : leftAt(position); }

    int width() const { return m_width; }
    int left() const { return m_left; }  // while the newest part shows
    int firstWidth() const { return m_firstWidth; }
    int growth() const { return m_growth; }
    int growthLimit() const { return m_growthLimit; }
    int unit() const { return m_unit; }
    int step() const { return m_step; }  // positions the next widening adds
    int positions() const { return m_positions; }

private:
    int m_width = 0, m_left = 0, m_firstWidth = 0;
    int m_growth = 0, m_growthLimit = 0, m_unit = 0, m_step = 4, m_positions = 0;
};
