#include "gui/FileFilter.h"

#include <QRegularExpression>
#include <QStringList>

QString QtFileFilter(const QString& filter) {
    static const QRegularExpression trailingPatterns(R"(\s*\([^()]*\)\s*$)");
    const QStringList parts = filter.split('|');
    QStringList filters;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString description = QString(parts[i]).remove(trailingPatterns).trimmed();
        const QString patterns = i + 1 < parts.size() ? parts[i + 1].trimmed() : QString("*");
        filters << description + " (" + patterns.split(';', Qt::SkipEmptyParts).join(' ') + ")";
    }
    return filters.join(";;");
}
