#include "numtext.h"

#include <locale.h>
#include <algorithm>
#include <cfloat>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

namespace numtext {

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

// Strips trailing zeros of a fraction, then a trailing point.
void trimFraction(std::string& digits) {
    if (digits.find('.') == std::string::npos) return;
    while (!digits.empty() && digits.back() == '0') digits.pop_back();
    if (!digits.empty() && digits.back() == '.') digits.pop_back();
}

}  // namespace

QString generalForm(double value, int significantDigits) {
    if (std::isnan(value)) return QStringLiteral("NaN");
    if (std::isinf(value)) return value < 0 ? QStringLiteral("-Inf") : QStringLiteral("Inf");
    if (value == 0) return QStringLiteral("0");

    // Round to the significant digits first: the rounded exponent decides the notation,
    // so 9999999.6 (7 digits) becomes 1E+07, not 10000000.
    // std::to_chars ignores the C locale, which a Qt program sets from the user's.
    char buf[400];
    auto end = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, significantDigits - 1).ptr;
    char* e = std::find(buf, end, 'e');
    const int exponent = std::atoi(std::string(static_cast<const char*>(e + 1), static_cast<const char*>(end)).c_str());

    std::string text;
    if (exponent >= -4 && exponent < significantDigits) {
        const int decimals = std::max(0, significantDigits - 1 - exponent);
        end = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals).ptr;
        text.assign(buf, end);
        trimFraction(text);
    } else {
        std::string mantissa(static_cast<const char*>(buf), static_cast<const char*>(e));
        trimFraction(mantissa);
        text = mantissa + (exponent < 0 ? "E-" : "E+") + (std::abs(exponent) < 10 ? "0" : "") +
               std::to_string(std::abs(exponent));
    }
    return QString::fromLatin1(text.c_str());
}

QString generalForm(float value) {
    return generalForm(static_cast<double>(value), 7);
}

QString generalForm(double value) {
    return generalForm(value, 15);
}

QString signedFieldForm(float value) {
    QString text = generalForm(value);
    const bool negative = text.startsWith(u'-');
    if (negative) text.remove(0, 1);
    if (text.startsWith(QStringLiteral("0."))) text.remove(0, 1);
    return (negative ? QStringLiteral("-") : QStringLiteral(" ")) + text;
}

double numberReading(QStringView text) {
    std::string s;
    s.reserve(text.size());
    for (QChar c : text) {
        if (isBlank(c)) continue;
        if (c == u',') c = u'.';
        s.push_back(c.unicode() < 128 ? static_cast<char>(c.unicode()) : '?');
    }

    // Longest leading [sign] digits [. digits] [E [sign] digits].
    size_t i = 0;
    auto digitsFrom = [&s](size_t at) {
        size_t n = 0;
        while (at + n < s.size() && std::isdigit(static_cast<unsigned char>(s[at + n]))) ++n;
        return n;
    };
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t mantissaDigits = digitsFrom(i);
    i += mantissaDigits;
    if (i < s.size() && s[i] == '.') {
        const size_t fraction = digitsFrom(i + 1);
        mantissaDigits += fraction;
        i += 1 + fraction;
    }
    if (mantissaDigits == 0) return 0;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
        size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        const size_t exponentDigits = digitsFrom(j);
        if (exponentDigits > 0) i = j + exponentDigits;
    }
    // strtod in the C locale: overflow gives ±HUGE_VAL, underflow 0.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    const std::string number = s.substr(0, i);
    const double value = strtod_l(number.c_str(), nullptr, cLocale);
    // A number written just below the largest double can round above it: it reads as the largest.
    if (std::isinf(value)) return value < 0 ? -DBL_MAX : DBL_MAX;
    return value;
}

bool isPlainDecimal(QStringView text) {
    int digits = 0;
    int points = 0;
    for (QChar c : text) {
        if (c.isDigit() && c.unicode() < 128)
            ++digits;
        else if (c == u'.' || c == u',')
            ++points;
        else
            return false;
    }
    return digits > 0 && points <= 1;
}

}  // namespace numtext
