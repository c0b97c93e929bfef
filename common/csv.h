#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Text for a spreadsheet: fields separated by semicolons, as LibreOffice Calc and Excel
// expect in a Russian locale (where the comma is the decimal separator), in UTF-8 with a
// byte order mark so that Calc reads the Cyrillic right without asking.
namespace csv {

inline constexpr QChar separator = u';';
inline constexpr char byteOrderMark[] = "\xEF\xBB\xBF";
inline constexpr char lineEnd[] = "\r\n";

// One field: as it is, or in double quotes (inner quotes doubled) when it holds a
// separator of either kind, a quote, a line break, or blanks at an end that a
// spreadsheet would drop.
QString field(const QString& text);

// Fields joined by the separator, each as field() writes it; no line end.
QString line(const QStringList& fields);

// The fields of one line as line() writes them (the line holds no line break).
// Nothing when a quote is not closed or text follows a closing quote.
std::optional<QStringList> split(const QString& line);

}  // namespace csv
