#include "paper_scroll.h"

#include <algorithm>

void PaperScroll::start(int width) {
    m_width = m_firstWidth = width;
    m_left = 0;
    m_growthLimit = width;
    m_unit = width / 4;
    m_growth = 0;
    m_step = 4;
    m_positions = 0;
}

void PaperScroll::advance(int pixels) {
    m_left -= pixels;
    m_width = std::min(m_width + pixels, maxWidth);
}

bool PaperScroll::widen() {
    if (m_growth <= m_growthLimit) return false;
    m_positions += m_step;
    m_step = 1;
    m_growthLimit = m_unit;
    m_growth = 0;
    return true;
}

void PaperScroll::record(int pixels) {
    advance(pixels);
    widen();
    count(pixels);
}
