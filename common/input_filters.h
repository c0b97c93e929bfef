#pragma once

class QLineEdit;

// A box for a non-negative decimal: typing takes digits, the point, the comma (put in as a
// point) and backspace only (editing keys such as the arrows and Delete still work); a paste
// or a drop is taken only when its text is a plain non-negative decimal, its comma put in as
// a point.
void installNumericFilter(QLineEdit* box);
