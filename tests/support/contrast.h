#pragma once

#include <QTableWidget>
#include <algorithm>
#include <cmath>

// How well text stands out from its ground, measured as the accessibility guidelines do:
// from 1 (none) to 21 (black on white); body text wants at least 4.5.
namespace contrast {

inline double luminance(const QColor& c) {
    auto linear = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

inline double ratio(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The lowest contrast of any text in the grid with the ground its cell is drawn on.
inline double lowestInGrid(const QTableWidget* g) {
    double lowest = 21;
    for (int r = 0; r < g->rowCount(); ++r)
        for (int c = 0; c < g->columnCount(); ++c) {
            const QTableWidgetItem* item = g->item(r, c);
            if (!item || item->text().trimmed().isEmpty()) continue;
            const QBrush fg = item->foreground(), bg = item->background();
            const QColor text = fg.style() == Qt::NoBrush ? g->palette().color(QPalette::Text) : fg.color();
            const QColor ground = bg.style() == Qt::NoBrush ? g->palette().color(QPalette::Base) : bg.color();
            lowest = std::min(lowest, ratio(text, ground));
        }
    return lowest;
}

}  // namespace contrast
