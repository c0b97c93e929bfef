#pragma once

#include <QColor>

// Red text on light ground (white cells, grey headings), dark enough to read: 7.4:1 on
// white and 5.6:1 on #E0E0E0, where pure red gives only 4.0:1 and 3.0:1.
inline const QColor redText{0xB0, 0x00, 0x00};
