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
    QString text = trimSpaces(typed).toUpper();
    if (fieldWidth > 0) text = text.left(fieldWidth).leftJustified(fieldWidth, u' ');
    return text;
}

bool acceptable(const QString& storedPassword) { return trimSpaces(storedPassword).size() >= 4; }

bool matches(const QString& typed, const QString& storedPassword) {
    return trimSpaces(typed).toUpper() == trimSpaces(storedPassword);
}

}  // namespace password
