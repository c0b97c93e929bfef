#include "journal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLockFile>
#include <QMessageAuthenticationCode>
#include <QPasswordDigestor>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QStringDecoder>
#include <cstdio>
#include <optional>

#include "csv.h"
#include "exam_record.h"
#include "password.h"

#ifdef Q_OS_UNIX
#include <termios.h>
#include <unistd.h>
#endif

namespace journal {

namespace {

const QString journalTitle = QStringLiteral("Журнал экзаменов Morvane");
constexpr int saltBytes = 16;
constexpr int maxIterations = 10'000'000;  // a header asking for more is not one this program wrote
constexpr int keyIdDigits = 16;
constexpr int codeDigits = 64;
constexpr int maxPlace = 1'000'000'000;

enum Column {
    When,
    Program,
    Experiment,
    StudentName,
    Group,
    Unknown,
    Of,
    Given,
    Answer,
    Mark,
    Measured,
    Key,
    Place,
    Code,
    Columns
};

QString columnTitles() {
    return csv::line({QStringLiteral("Дата и время"), QStringLiteral("Программа"), QStringLiteral("Эксперимент"),
                      QStringLiteral("Студент"), QStringLiteral("Группа"), QStringLiteral("Неизвестное"),
                      QStringLiteral("Из"), QStringLiteral("Дано"), QStringLiteral("Ответ"), QStringLiteral("Оценка"),
                      QStringLiteral("Измерено"), QStringLiteral("Ключ"), QStringLiteral("Место"),
                      QStringLiteral("Код проверки")});
}

struct Header {
    QByteArray salt;  // as the file writes it: hex digits
    int iterations = 0;
};

QString headerLine(const Header& h) {
    return csv::line({journalTitle, QStringLiteral("соль"), QString::fromLatin1(h.salt), QStringLiteral("итераций"),
                      QString::number(h.iterations)});
}

bool isHex(const QString& text, int digits) {
    if (text.size() != digits) return false;
    for (const QChar c : text)
        if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f'))) return false;
    return true;
}

// The file's lines without their line ends and without the byte order mark; nothing for a
// line that is not UTF-8, so that bytes of another kind spoil no line but their own.
using Line = std::optional<QString>;
QList<Line> fileLines(QByteArray bytes) {
    if (bytes.startsWith(csv::byteOrderMark)) bytes.remove(0, qstrlen(csv::byteOrderMark));
    QList<QByteArray> raw = bytes.split('\n');
    if (raw.back().isEmpty()) raw.removeLast();
    QList<Line> lines;
    for (QByteArray& r : raw) {
        if (r.endsWith('\r')) r.chop(1);
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString text = utf8(r);
        lines << (utf8.hasError() ? Line() : Line(text));
    }
    return lines;
}

std::optional<Header> readHeader(const QList<Line>& lines) {
    if (lines.isEmpty() || !lines.front()) return std::nullopt;
    const auto f = csv::split(*lines.front());
    if (!f || f->size() != 5 || f->at(0) != journalTitle || !isHex(f->at(2), 2 * saltBytes)) return std::nullopt;
    bool ok = false;
    const int iterations = f->at(4).toInt(&ok);
    if (!ok || iterations < 1 || iterations > maxIterations) return std::nullopt;
    return Header{f->at(2).toLatin1(), iterations};
}

// The key of a password for this journal, and its identifier.
struct PasswordKey {
    QByteArray key;
    QString id;
};

PasswordKey deriveKey(const QString& typedPassword, const Header& h) {
    // The password as every gate of the programs reads it, so the same keys give the same key.
    const QByteArray pw = password::stored(typedPassword, 0).toUtf8();
    PasswordKey k;
    k.key = QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, pw, QByteArray::fromHex(h.salt),
                                               h.iterations, 32);
    k.id = QString::fromLatin1(QMessageAuthenticationCode::hash("journal key id", k.key, QCryptographicHash::Sha256)
                                   .toHex()
                                   .left(keyIdDigits));
    return k;
}

QString checkCode(const PasswordKey& k, const QByteArray& previousCode, const QString& text) {
    return QString::fromLatin1(
        QMessageAuthenticationCode::hash(previousCode + '\n' + text.toUtf8(), k.key, QCryptographicHash::Sha256)
            .toHex());
}

// A line of the journal read as far as the check needs it.
struct Entry {
    int line = 0;
    QStringList fields;
    QString signedText;  // the line before its check code, up to the separator before it
    int place = 0, unknown = 0, of = 0;
};

// The entry of a line, or why it is not one.
std::optional<Entry> readEntry(const Line& text, int line, QString* why) {
    if (!text) {
        *why = QStringLiteral("не в кодировке UTF-8");
        return std::nullopt;
    }
    const auto f = csv::split(*text);
    if (!f) {
        *why = QStringLiteral("не разбирается на поля");
        return std::nullopt;
    }
    if (f->size() != Columns) {
        *why = QStringLiteral("полей %1 вместо %2").arg(f->size()).arg(int(Columns));
        return std::nullopt;
    }
    Entry e;
    e.line = line;
    e.fields = *f;
    bool okPlace = false, okUnknown = false, okOf = false;
    e.place = f->at(Place).toInt(&okPlace);
    e.unknown = f->at(Unknown).toInt(&okUnknown);
    e.of = f->at(Of).toInt(&okOf);
    if (!isHex(f->at(Key), keyIdDigits) || !isHex(f->at(Code), codeDigits) || !okPlace || e.place < 1 ||
        e.place > maxPlace || !okUnknown || !okOf || e.unknown < 1 || e.unknown > e.of) {
        *why = QStringLiteral("поля не того вида");
        return std::nullopt;
    }
    e.signedText = text->chopped(codeDigits);
    return e;
}

QString describe(const Entry& e) {
    QString student = e.fields[StudentName];
    if (!e.fields[Group].isEmpty()) student += QStringLiteral(", гр. ") + e.fields[Group];
    return QStringLiteral("%1, %2, %3, неизвестное %4 из %5")
        .arg(e.fields[When], student, e.fields[Experiment])
        .arg(e.unknown)
        .arg(e.of);
}

// A journal field holds no line break: every line of the file is one line of the journal.
QString oneLine(QString text) {
    return text.replace(u'\r', u' ').replace(u'\n', u' ');
}

QString writeFault(const QString& path, const QString& reason) {
    return QStringLiteral("Экзамен не записан в журнал\n%1\n(%2).").arg(QDir::toNativeSeparators(path), reason);
}

}  // namespace

QString defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/morvane/journal.csv");
}

QString append(const QString& path, const ExamRecord& record, const QString& password, int iterations) {
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath())) return writeFault(path, QStringLiteral("не удаётся создать папку"));
    // Both programs may finish an examination at once; the place numbers need one writer at a time.
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.tryLock(5000)) return writeFault(path, QStringLiteral("журнал занят другой программой"));

    QFile file(path);
    QByteArray out;
    std::optional<Header> header;
    QList<Line> lines;
    if (info.exists() && info.size() > 0) {
        if (!file.open(QIODevice::ReadOnly)) return writeFault(path, file.errorString());
        const QByteArray bytes = file.readAll();
        file.close();
        lines = fileLines(bytes);
        header = readHeader(lines);
        if (!header)
            return writeFault(
                path, QStringLiteral("первая строка журнала испорчена; уберите этот файл, и будет начат новый журнал"));
        if (!bytes.endsWith('\n')) out += csv::lineEnd;  // a last line cut short stays a line of its own
    } else {
        QByteArray salt(saltBytes, '\0');
        QRandomGenerator::system()->generate(salt.begin(), salt.end());
        header = Header{salt.toHex(), iterations};
        out += csv::byteOrderMark;
        out += headerLine(*header).toUtf8() + csv::lineEnd + columnTitles().toUtf8() + csv::lineEnd;
    }

    const PasswordKey key = deriveKey(password, *header);
    // The chain goes on from the highest place of this password's lines.
    int place = 0;
    QByteArray previous = header->salt;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        QString why;
        if (const auto e = readEntry(lines[i], int(i) + 1, &why); e && e->fields[Key] == key.id && e->place > place) {
            place = e->place;
            previous = e->fields[Code].toLatin1();
        }
    }

    const QString program = oneLine(record.program + u' ' + record.version).trimmed();
    for (const ExamItem& item : record.items) {
        const QString text = csv::line({record.whenText(), program, oneLine(record.experiment),
                                        oneLine(record.student.fullName()), oneLine(record.student.group),
                                        QString::number(item.number), QString::number(record.items.size()),
                                        oneLine(item.given), oneLine(item.answer), verdictText(record.verdict(item)),
                                        oneLine(record.measuredText(item)), key.id, QString::number(++place)}) +
                             csv::separator;
        const QString code = checkCode(key, previous, text);
        out += (text + code).toUtf8() + csv::lineEnd;
        previous = code.toLatin1();
    }

    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) return writeFault(path, file.errorString());
    if (file.write(out) != out.size() || !file.flush()) return writeFault(path, file.errorString());
#ifdef Q_OS_UNIX
    if (::fsync(file.handle()) != 0) return writeFault(path, QStringLiteral("данные не удалось сохранить на диск"));
#endif
    return {};
}

bool CheckResult::allIntact() const {
    if (!error.isEmpty()) return false;
    for (const LineResult& r : lines)
        if (r.status == LineStatus::Altered || r.status == LineStatus::Unreadable) return false;
    return true;
}

CheckResult check(const QString& path, const QString& password) {
    CheckResult result;
    QFile file(path);
    if (!file.exists()) {
        result.error = QStringLiteral("Журнал не найден: %1").arg(QDir::toNativeSeparators(path));
        return result;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        result.error =
            QStringLiteral("Журнал не читается: %1 (%2)").arg(QDir::toNativeSeparators(path), file.errorString());
        return result;
    }
    const QList<Line> lines = fileLines(file.readAll());
    const std::optional<Header> header = readHeader(lines);
    if (!header) {
        result.error = QStringLiteral("Первая строка журнала испорчена: проверить его нельзя.");
        return result;
    }
    const PasswordKey key = deriveKey(password, *header);

    // Every line read; this password's lines kept aside with their index among the results.
    QList<Entry> own;
    QList<qsizetype> ownResult;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const Line& text = lines[i];
        if (text && (text->trimmed().isEmpty() || (i == 1 && *text == columnTitles()))) continue;
        LineResult r;
        r.line = int(i) + 1;
        if (const auto e = readEntry(text, r.line, &r.why)) {
            if (e->fields[Key] == key.id) {
                r.status = LineStatus::Intact;
                r.what = describe(*e);
                own << *e;
                ownResult << result.lines.size();
            } else {
                r.status = LineStatus::OtherPassword;
            }
        }
        result.lines << r;
    }
    if (own.isEmpty()) {
        result.error = QStringLiteral("В журнале нет ни одной строки с этим паролем: проверить нечего.");
        return result;
    }

    // Where each place first stands among this password's lines (file order).
    QHash<int, qsizetype> firstAt;
    for (qsizetype j = 0; j < own.size(); ++j)
        if (!firstAt.contains(own[j].place)) firstAt.insert(own[j].place, j);

    for (qsizetype j = 0; j < own.size(); ++j) {
        const Entry& e = own[j];
        LineResult& r = result.lines[ownResult[j]];
        auto altered = [&r](const QString& why) {
            r.status = LineStatus::Altered;
            r.why = why;
        };
        const auto predecessor = firstAt.constFind(e.place - 1);
        const auto successor = firstAt.constFind(e.place + 1);
        if (firstAt.value(e.place) != j) {
            altered(QStringLiteral("повтор строки, уже стоящей выше"));
        } else if (e.place > 1 && predecessor == firstAt.cend()) {
            altered(QStringLiteral("перед ней удалена или испорчена строка"));
        } else if (checkCode(key, e.place == 1 ? header->salt : own[*predecessor].fields[Code].toLatin1(),
                             e.signedText) != e.fields[Code]) {
            altered(QStringLiteral("изменена"));
        } else if ((e.place > 1 && *predecessor > j) || (successor != firstAt.cend() && *successor < j)) {
            altered(QStringLiteral("стоит не на своём месте"));
        }
    }

    // The last line of the chain ends its examination, or lines were cut from the end.
    qsizetype last = 0;
    for (qsizetype j = 1; j < own.size(); ++j)
        if (own[j].place > own[last].place) last = j;
    if (own[last].unknown < own[last].of && result.lines[ownResult[last]].status == LineStatus::Intact) {
        result.lines[ownResult[last]].status = LineStatus::Altered;
        result.lines[ownResult[last]].why = QStringLiteral("за ней удалены строки того же экзамена");
    }
    return result;
}

namespace {

void print(std::FILE* to, const QString& text) {
    std::fputs(text.toUtf8().constData(), to);
    std::fflush(to);
}

// One line from the terminal, without echo when it is one; nothing at the end of the input.
std::optional<QString> readPassword() {
    print(stderr, QStringLiteral("Пароль экзамена: "));
#ifdef Q_OS_UNIX
    termios saved{};
    const bool terminal = ::isatty(STDIN_FILENO) && ::tcgetattr(STDIN_FILENO, &saved) == 0;
    if (terminal) {
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
#endif
    QByteArray typed;
    int c;
    while ((c = std::getchar()) != EOF && c != '\n') typed += char(c);
#ifdef Q_OS_UNIX
    if (terminal) {
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        print(stderr, QStringLiteral("\n"));
    }
#endif
    if (c == EOF && typed.isEmpty()) return std::nullopt;
    if (typed.endsWith('\r')) typed.chop(1);
    return QString::fromUtf8(typed);
}

QString statusText(LineStatus status) {
    switch (status) {
        case LineStatus::Intact:
            return QStringLiteral("цела");
        case LineStatus::Altered:
            return QStringLiteral("ИЗМЕНЕНА");
        case LineStatus::OtherPassword:
            return QStringLiteral("другой пароль");
        case LineStatus::Unreadable:
            return QStringLiteral("НЕ ЧИТАЕТСЯ");
    }
    return {};
}

}  // namespace

int checkCommand(const QStringList& arguments) {
    if (arguments.size() > 1) {
        print(stderr, QStringLiteral("Использование: --check-journal [ФАЙЛ]\n"));
        return 1;
    }
    const QString path = arguments.isEmpty() ? defaultPath() : arguments.front();
    print(stdout, QStringLiteral("Журнал: %1\n").arg(QDir::toNativeSeparators(path)));
    if (!QFileInfo::exists(path)) {
        print(stdout, QStringLiteral("Журнал не найден.\n"));
        return 1;
    }
    const auto typed = readPassword();
    if (!typed || password::stored(*typed, 0).isEmpty()) {
        print(stderr, QStringLiteral("Пароль не введён.\n"));
        return 1;
    }
    const CheckResult result = check(path, *typed);
    if (!result.error.isEmpty()) {
        print(stdout, result.error + u'\n');
        return 1;
    }
    int counts[4] = {};
    for (const LineResult& r : result.lines) {
        ++counts[int(r.status)];
        QString text = QStringLiteral("строка %1: %2").arg(r.line).arg(statusText(r.status));
        if (!r.what.isEmpty()) text += QStringLiteral(" — ") + r.what;
        if (!r.why.isEmpty()) text += QStringLiteral(" (%1)").arg(r.why);
        print(stdout, text + u'\n');
    }
    print(stdout, QStringLiteral("Итог: строк этого пароля %1, из них целы %2, изменены %3; строк других паролей %4; "
                                 "не читаются %5.\n")
                      .arg(counts[int(LineStatus::Intact)] + counts[int(LineStatus::Altered)])
                      .arg(counts[int(LineStatus::Intact)])
                      .arg(counts[int(LineStatus::Altered)])
                      .arg(counts[int(LineStatus::OtherPassword)])
                      .arg(counts[int(LineStatus::Unreadable)]));
    return result.allIntact() ? 0 : 1;
}

}  // namespace journal
