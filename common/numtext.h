#pragma once

#include <QString>
#include <QStringView>

// Number texts shown on screen and read back from text boxes.
//
// Every number a screen shows is written in the "general form": a point as decimal
// separator whatever the locale, rounded to 7 significant digits for 32-bit values
// (15 for 64-bit values), no trailing zeros, "0.25" rather than ".25", fixed-point
// notation for magnitudes from 0.0001 up to below 10^7 (10^15), exponent notation
// ("1E+07", "1E-05") outside that range.
namespace numtext {

QString generalForm(float value);   // 7 significant digits
QString generalForm(double value);  // 15 significant digits
QString generalForm(double value, int significantDigits);

// The general form with a blank in place of the sign of a value that is not negative
// and without the "0" before the point: 0.25 -> " .25", 2 -> " 2", -0.5 -> "-.5".
QString signedFieldForm(float value);

// Reads the longest leading decimal number of a text, ignoring blanks anywhere in it:
// "1.2.3" reads 1.2, " 1 2 . 5" reads 12.5, ".", "-" and "" read 0. A comma is a decimal
// separator as a point is (Russian users write "0,5"): "2,5" reads 2.5, "1,2.3" reads 1.2. An exponent
// ("1E+07") is taken when it has digits, so every general form reads back.
// A text whose value is beyond the range of a double reads as the largest double (with its
// sign) rather than ending the program; one too small reads 0.
double numberReading(QStringView text);

// True for a text made only of digits with at most one decimal separator (a point or a
// comma) and at least one digit: what may be pasted into a box that takes a non-negative decimal.
bool isPlainDecimal(QStringView text);

}  // namespace numtext
