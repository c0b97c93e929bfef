#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// The other names a drug goes by (адреналин, эпинефрин, Adrenaline, Epinephrine), so that
// an answer naming the drug given by any of them is marked right. Each drug table has
// its list in a text file beside it in the data folder, written in UTF-8:
//
//   # a comment; blank lines are skipped
//   Адреналин; Эпинефрин; Adrenaline; Epinephrine
//
// one line per drug, the drug's name as the table has it first. The list ships with the
// programs like the tables themselves, so it is required data: a missing or broken file
// is an error to report, not a reason to mark with names alone.
class DrugNames {
public:
    // Reads the list from `file` (a bare name is looked up in the current folder whatever
    // its letter case, as the tables are); false, with error() set in Russian naming the
    // file and line, when the file is missing, unreadable, not UTF-8, or a line has an
    // empty name or a name that another line already has.
    bool load(const QString& file);
    const QString& error() const { return m_error; }

    // True when `answer` names the drug `given`: the same name or another name of the
    // same drug, whatever the letter case and the blanks. An empty answer names nothing.
    bool sameDrug(const QString& given, const QString& answer) const;

    // The lines of the list, each a drug's names, the table's name first.
    const QList<QStringList>& drugs() const { return m_drugs; }

    // A name as answers are compared: lower case, without blanks.
    static QString comparable(const QString& name);

private:
    QString read(const QString& file);  // the fault, or empty

    QList<QStringList> m_drugs;
    QHash<QString, qsizetype> m_drugOf;  // comparable name -> index in m_drugs
    QString m_error;
};
