#include "drug_names.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

#include "data_files.h"

namespace {

QString quoted(const QString& name) {
    return QStringLiteral("«%1»").arg(name);
}

}  // namespace

QString DrugNames::comparable(const QString& name) {
    QString result;
    result.reserve(name.size());
    for (const QChar c : name)
        if (!c.isSpace()) result += c;
    return result.toCaseFolded();
}

bool DrugNames::load(const QString& file) {
    m_drugs.clear();
    m_drugOf.clear();
    m_error = read(file);
    if (m_error.isEmpty()) return true;
    // A broken list marks nothing by halves.
    m_drugs.clear();
    m_drugOf.clear();
    return false;
}

QString DrugNames::read(const QString& file) {
    const QString path = file.contains(u'/') ? file : data_files::find(file);
    QFile f(path);
    if (path.isEmpty() || !f.exists())
        return QStringLiteral("Не найден файл названий лекарств %1 в папке программы\n%2.")
            .arg(quoted(file), QDir::currentPath());
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("Не удаётся прочитать файл названий лекарств %1.").arg(quoted(file));
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(f.readAll());
    if (utf8.hasError())
        return QStringLiteral("Файл названий лекарств %1 повреждён: он не в кодировке UTF-8.").arg(quoted(file));

    const QStringList lines = text.split(u'\n');
    QHash<QString, int> lineOf;  // comparable name -> line number, for the message about a repeat
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int lineNumber = int(i) + 1;
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(u'#')) continue;
        QStringList names;
        for (const QString& part : line.split(u';')) {
            const QString name = part.simplified();
            const QString key = comparable(name);
            if (key.isEmpty())
                return QStringLiteral("Файл названий лекарств %1, строка %2: пустое название.")
                    .arg(quoted(file))
                    .arg(lineNumber);
            if (lineOf.contains(key))
                return QStringLiteral("Файл названий лекарств %1, строка %2: название %3 уже есть в строке %4.")
                    .arg(quoted(file))
                    .arg(lineNumber)
                    .arg(quoted(name))
                    .arg(lineOf.value(key));
            lineOf.insert(key, lineNumber);
            m_drugOf.insert(key, m_drugs.size());
            names << name;
        }
        m_drugs << names;
    }
    return {};
}

bool DrugNames::sameDrug(const QString& given, const QString& answer) const {
    const QString a = comparable(answer);
    if (a.isEmpty()) return false;
    const QString g = comparable(given);
    if (a == g) return true;
    const auto drug = m_drugOf.constFind(g);
    return drug != m_drugOf.cend() && m_drugOf.value(a, -1) == *drug;
}
