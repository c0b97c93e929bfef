#pragma once

#include <QList>
#include <QString>

struct ExamRecord;

// The examination journal: one spreadsheet file (csv.h) to which every finished
// examination of both programs adds one line per unknown, and which a supervisor can later
// check for lines altered, removed or moved.
//
// The file:
//   line 1   «Журнал экзаменов Morvane;соль;<32 hex digits>;итераций;<count>» (after the
//            UTF-8 byte order mark): the journal's random salt and the key derivation's cost
//   line 2   the column titles
//   then     date and time; program and version; experiment; student; group; unknown;
//            of (how many unknowns the examination had); given; answer; verdict;
//            measured values; key; place; check code
//
// The check code. Each examination has its supervisor's password, which the journal never
// holds. From it and the salt PBKDF2 (HMAC-SHA256, the iterations of line 1) derives a
// 32-byte key; "key" is a short identifier made from the key (HMAC of a fixed text, 16 hex
// digits), which tells a checker which lines are its password's without revealing the key.
// Examinations with different passwords interleave in one file, so every password has a
// chain of its own: "place" numbers that password's lines 1, 2, 3, ... in the order they
// were written, and the check code is the HMAC-SHA256, under the key, of the previous code
// of the same chain (the salt for place 1) and the line's text before the code. So a line
// cannot be edited, and a line of the chain cannot be removed (the next line no longer
// follows its predecessor's code), repeated or moved against the others (the places go out
// of order) without the check noticing it on that line. An examination also tells how many
// unknowns it had, so lines cut from the end of a chain show as an examination that is not
// complete; only whole examinations cut from the end of a chain leave no trace. Lines of
// other passwords are neither needed nor disturbed by the check.
namespace journal {

// About 0.3 s of one core of a 2020s computer per derivation, so a guess at a password
// costs that much too.
inline constexpr int defaultIterations = 250000;

// The journal of both programs: "journal.csv" in morvane's folder of the user's data
// (QStandardPaths' AppDataLocation of morvane, ~/.local/share/morvane on Linux); the
// heart program writes to the same file.
QString defaultPath();

// Adds the examination's lines to the journal at `path`, creating the file and its folder
// when there is none (with a new salt and `iterations`, lower only in tests). The lines are
// written at the end in one piece, flushed and synced; nothing already in the file is
// rewritten. Returns an empty text, or the reason the lines could not be written, in
// Russian and naming the file.
QString append(const QString& path, const ExamRecord& record, const QString& password,
               int iterations = defaultIterations);

enum class LineStatus {
    Intact,         // written with this password and unchanged, in its place
    Altered,        // of this password, but changed, out of place, or missing lines beside it
    OtherPassword,  // written with another password
    Unreadable,     // not a journal line at all
};

struct LineResult {
    int line = 0;  // in the file, from 1 (as a spreadsheet numbers its rows)
    LineStatus status = LineStatus::Unreadable;
    QString what;  // the examination and unknown, for a line of this password
    QString why;   // for an altered or unreadable line
};

struct CheckResult {
    // Empty when the journal could be checked; otherwise why not (no file, a broken first
    // line, or no line of this password).
    QString error;
    QList<LineResult> lines;  // every line after the column titles, blank lines left out

    // True when the check ran and every line of this password is intact and no line is
    // unreadable (a line too damaged to read might have been one of them).
    bool allIntact() const;
};

CheckResult check(const QString& path, const QString& password);

// `--check-journal [FILE]` in a terminal: asks for the password (without echo), prints the
// result of each line and returns the exit status, 0 when allIntact().
int checkCommand(const QStringList& arguments);

}  // namespace journal
