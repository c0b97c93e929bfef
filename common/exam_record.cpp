#include "exam_record.h"

#include <QFile>
#include <QSaveFile>
#include <cmath>

#include "csv.h"
#include "drug_names.h"
#include "numtext.h"

namespace {

constexpr int maxNameLength = 40;
constexpr int maxGroupLength = 20;

// Letters in words joined by single blanks, hyphens or apostrophes: "Иванов-Петров", "Д'Арк".
bool isName(const QString& text) {
    bool afterLetter = false;
    for (const QChar c : text) {
        if (c.isLetter()) {
            afterLetter = true;
        } else if (c == u' ' || c == u'-' || c == u'\'' || c == u'\u2019') {
            if (!afterLetter) return false;
            afterLetter = false;
        } else {
            return false;
        }
    }
    return afterLetter;
}

// `what` names the field, `asked` is how a request for it says it ("фамилию").
QString checkedName(const QString& typed, const QString& what, const QString& asked, QString* error) {
    const QString text = typed.simplified();
    if (text.isEmpty())
        *error = QStringLiteral("Введите %1.").arg(asked);
    else if (text.size() > maxNameLength)
        *error = QStringLiteral("Слишком длинное поле «%1»: не больше %2 знаков.").arg(what).arg(maxNameLength);
    else if (!isName(text))
        *error = QStringLiteral("В поле «%1» только буквы, а между словами пробел, дефис или апостроф.").arg(what);
    return text;
}

}  // namespace

QString Student::fullName() const {
    return surname + u' ' + name;
}

QString Student::withGroup() const {
    return group.isEmpty() ? fullName() : QStringLiteral("%1, гр. %2").arg(fullName(), group);
}

std::optional<Student> makeStudent(const QString& surname, const QString& name, const QString& group, QString* error,
                                   StudentField* faulty) {
    QString fault;
    Student s;
    StudentField field = StudentField::Surname;
    s.surname = checkedName(surname, QStringLiteral("фамилия"), QStringLiteral("фамилию"), &fault);
    if (fault.isEmpty()) {
        field = StudentField::Name;
        s.name = checkedName(name, QStringLiteral("имя"), QStringLiteral("имя"), &fault);
    }
    s.group = group.simplified();
    if (fault.isEmpty() && s.group.size() > maxGroupLength) {
        field = StudentField::Group;
        fault = QStringLiteral("Слишком длинный номер группы: не больше %1 знаков.").arg(maxGroupLength);
    }
    if (!fault.isEmpty()) {
        if (error) *error = fault;
        if (faulty) *faulty = field;
        return std::nullopt;
    }
    return s;
}

QString examHeading(const Student& student) {
    return QStringLiteral("Экзамен — %1").arg(student.withGroup());
}

QString verdictText(Verdict verdict) {
    switch (verdict) {
        case Verdict::Right:
            return QStringLiteral("верно");
        case Verdict::Wrong:
            return QStringLiteral("неверно");
        case Verdict::WithinTolerance:
            return QStringLiteral("в пределах допуска");
        case Verdict::OutsideTolerance:
            return QStringLiteral("вне допуска");
    }
    return {};
}

void ExamRecord::addIdentification(const QString& given, const QString& answer, const DrugNames& names,
                                   const QString& measured) {
    ExamItem item;
    item.number = int(items.size()) + 1;
    item.given = given;
    item.answer = answer;
    item.measured = measured;
    item.right = names.sameDrug(given, answer);
    items << item;
}

void ExamRecord::addMeasurement(const QString& given, const QString& answer, float errorPercent) {
    ExamItem item;
    item.number = int(items.size()) + 1;
    item.given = given;
    item.answer = answer;
    item.errorPercent = errorPercent;
    items << item;
}

Verdict ExamRecord::verdict(const ExamItem& item) const {
    if (!item.errorPercent) return item.right ? Verdict::Right : Verdict::Wrong;
    // NaN compares false, so an error that cannot be told is outside.
    return std::fabs(*item.errorPercent) <= tolerancePercent ? Verdict::WithinTolerance : Verdict::OutsideTolerance;
}

bool ExamRecord::counts(const ExamItem& item) const {
    const Verdict v = verdict(item);
    return v == Verdict::Right || v == Verdict::WithinTolerance;
}

QString ExamRecord::measuredText(const ExamItem& item) const {
    QStringList parts;
    if (!item.measured.isEmpty()) parts << item.measured;
    if (item.errorPercent) {
        const QString error = std::isfinite(*item.errorPercent)
                                  ? QStringLiteral("%1 %").arg(numtext::generalForm(*item.errorPercent))
                                  : QStringLiteral("не определена");
        parts << QStringLiteral("ошибка %1 (допуск %2 %)").arg(error, numtext::generalForm(tolerancePercent));
    }
    return parts.join(QStringLiteral("; "));
}

int ExamRecord::score() const {
    int k = 0;
    for (const ExamItem& item : items)
        if (counts(item)) ++k;
    return k;
}

QString ExamRecord::scoreText() const {
    return QStringLiteral("%1 из %2").arg(score()).arg(items.size());
}

QString ExamRecord::whenText() const {
    return when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString ExamRecord::programVersion() {
    return QStringLiteral(MORVANE_VERSION);
}

QByteArray recordCsv(const QList<ExamRecord>& records) {
    QStringList lines;
    for (const ExamRecord& record : records) {
        if (!lines.isEmpty()) lines << QString();
        lines << csv::line({QStringLiteral("Программа"), record.program})
              << csv::line({QStringLiteral("Версия"), record.version})
              << csv::line({QStringLiteral("Эксперимент"), record.experiment})
              << csv::line({QStringLiteral("Дата и время"), record.whenText()})
              << csv::line({QStringLiteral("Студент"), record.student.fullName()})
              << csv::line({QStringLiteral("Группа"), record.student.group}) << QString()
              << csv::line({QStringLiteral("№"), QStringLiteral("Дано"), QStringLiteral("Ответ"),
                            QStringLiteral("Оценка"), QStringLiteral("Измерено")});
        for (const ExamItem& item : record.items)
            lines << csv::line({QString::number(item.number), item.given, item.answer,
                                verdictText(record.verdict(item)), record.measuredText(item)});
        lines << QString() << csv::line({QStringLiteral("Итог"), record.scoreText()}) << QString()
              << csv::line({QStringLiteral("Подпись преподавателя"), QString()});
    }
    QByteArray out(csv::byteOrderMark);
    for (const QString& line : lines) out += line.toUtf8() + csv::lineEnd;
    return out;
}

bool saveRecordCsv(const QList<ExamRecord>& records, const QString& path, QString* error) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(recordCsv(records)) >= 0 && file.commit()) return true;
    if (error) *error = QStringLiteral("Не удаётся записать файл\n%1\n(%2).").arg(path, file.errorString());
    return false;
}
