#include "csv.h"

namespace csv {

QString field(const QString& text) {
    const bool quote = text.contains(separator) || text.contains(u',') || text.contains(u'"') || text.contains(u'\n') ||
                       text.contains(u'\r') || (!text.isEmpty() && (text.front().isSpace() || text.back().isSpace()));
    if (!quote) return text;
    return u'"' + QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString line(const QStringList& fields) {
    QStringList written;
    written.reserve(fields.size());
    for (const QString& f : fields) written << field(f);
    return written.join(separator);
}

std::optional<QStringList> split(const QString& line) {
    QStringList fields;
    QString current;
    qsizetype i = 0;
    for (;;) {
        current.clear();
        if (i < line.size() && line[i] == u'"') {
            // A quoted field ends at a quote that is not doubled, and the separator or the
            // line's end must follow it.
            ++i;
            for (;;) {
                if (i >= line.size()) return std::nullopt;
                if (line[i] == u'"') {
                    if (i + 1 < line.size() && line[i + 1] == u'"') {
                        current += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                current += line[i++];
            }
            if (i < line.size() && line[i] != separator) return std::nullopt;
        } else {
            while (i < line.size() && line[i] != separator) {
                if (line[i] == u'"') return std::nullopt;
                current += line[i++];
            }
        }
        fields << current;
        if (i >= line.size()) return fields;
        ++i;  // the separator
    }
}

}  // namespace csv
