#pragma once

#include <QString>

// Supervisor passwords: stored upper-case without surrounding spaces, optionally in a
// fixed field (longer text cut, shorter padded with spaces); compared trimmed, so the
// padding never matters.
namespace password {

// How many characters a password box keeps. Every box where a password is set or asked
// for keeps this many, and text from anywhere else is read only this far, so the same
// keys give the same password at every gate.
inline constexpr int boxLength = 10;

// Removes leading and trailing spaces only (not tabs), as the password boxes do.
QString trimSpaces(const QString& text);

// The text of a password box as it is stored (its first boxLength characters, trimmed and
// upper-cased); fieldWidth 0 means no fixed field.
QString stored(const QString& typed, int fieldWidth);

// True when the stored password is long enough to open an examination.
bool acceptable(const QString& storedPassword);

// What a supervisor gate checks: the typed text, read as stored() reads it, against the
// stored password, trimmed.
bool matches(const QString& typed, const QString& storedPassword);

}  // namespace password
