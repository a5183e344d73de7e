#include "csvtext.h"

namespace zw
{

QString csvField(const QString &value)
{
    if (value.contains(u',') || value.contains(u'"') || value.contains(u'\n') ||
        value.contains(u'\r')) {
        QString quoted = value;
        quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
        return QLatin1Char('"') + quoted + QLatin1Char('"');
    }
    return value;
}

QList<std::pair<int, QStringList>> parseCsv(const QString &text)
{
    QList<std::pair<int, QStringList>> rows;
    QStringList fields;
    QString field;
    bool quoted = false;
    bool rowHasContent = false;
    int line = 1;
    int rowLine = 1;
    auto endRow = [&] {
        fields << field;
        if (rowHasContent || fields.size() > 1 || !fields.first().isEmpty())
            rows.append({rowLine, fields});
        fields.clear();
        field.clear();
        rowHasContent = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < text.size() && text.at(i + 1) == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == u'\n')
                    ++line;
                field += c;
            }
            continue;
        }
        if (c == u'"') {
            quoted = true;
            rowHasContent = true;
        } else if (c == u',') {
            fields << field;
            field.clear();
            rowHasContent = true;
        } else if (c == u'\n' || c == u'\r') {
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            endRow();
            ++line;
            rowLine = line;
        } else {
            field += c;
        }
    }
    if (!field.isEmpty() || !fields.isEmpty())
        endRow();
    return rows;
}

} // namespace zw
