#include "password.h"

namespace password {

QString trimSpaces(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ') ++begin;
    while (end > begin && text[end - 1] == u' ') --end;
    return text.mid(begin, end - begin);
}

QString stored(const QString& typed, int fieldWidth) {
    QString text = trimSpaces(typed.left(boxLength)).toUpper();
    if (fieldWidth > 0) text = text.left(fieldWidth).leftJustified(fieldWidth, u' ');
    return text;
}

bool acceptable(const QString& storedPassword) {
    return trimSpaces(storedPassword).size() >= 4;
}

bool matches(const QString& typed, const QString& storedPassword) {
    return stored(typed, 0) == trimSpaces(storedPassword);
}

}  // namespace password
