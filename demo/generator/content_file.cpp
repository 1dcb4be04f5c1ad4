// SPDX-License-Identifier: MIT
#include "content_file.h"
#include <QFile>

namespace demo {

namespace {

QStringList SplitValues(const QString& text, QChar separator)
{
    QStringList values;
    for (const QString& value : text.split(separator))
        values.append(value.trimmed());
    return values;
}

bool IsTableRow(const QString& line)
{
    return line.startsWith(u'|') && line.endsWith(u'|') && line.size() >= 2;
}

QStringList TableCells(const QString& line)
{
    return SplitValues(line.mid(1, line.size() - 2), u'|');
}

} // namespace

QList<QStringList> ContentFile::all(const QString& key) const
{
    QList<QStringList> values;
    for (const auto& field : fields) {
        if (field.first == key)
            values.append(field.second);
    }
    return values;
}

QStringList ContentFile::first(const QString& key) const
{
    for (const auto& field : fields) {
        if (field.first == key)
            return field.second;
    }
    return {};
}

QString ContentFile::text(const QString& key, int index, const QString& fallback) const
{
    const QStringList values = first(key);
    return index < values.size() && !values.at(index).isEmpty() ? values.at(index) : fallback;
}

ContentFile ParseContent(const QString& source)
{
    ContentFile content;
    bool inBody = false;
    for (QString line : source.split(u'\n')) {
        line = line.trimmed();
        if (line.startsWith(u';'))
            continue;
        if (inBody) {
            content.body.append(line);
            continue;
        }
        if (line == QLatin1String("---")) {
            inBody = true;
            continue;
        }
        const qsizetype colon = line.indexOf(u':');
        if (colon <= 0)
            continue;
        content.fields.append({line.left(colon).trimmed(), SplitValues(line.mid(colon + 1), u'|')});
    }
    return content;
}

base::Result<ContentFile> ReadContentFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return base::Fail(path + QStringLiteral(": ") + file.errorString());
    return ParseContent(QString::fromUtf8(file.readAll()));
}

QByteArray RenderRtf(const ContentFile& content, const TableSource& tables)
{
    RtfDocument document;
    QList<QStringList> pendingRows;
    auto flushTable = [&] {
        if (!pendingRows.isEmpty())
            document.table(pendingRows, true);
        pendingRows.clear();
    };
    for (const QString& line : content.body) {
        if (IsTableRow(line)) {
            pendingRows.append(TableCells(line));
            continue;
        }
        flushTable();
        if (line.isEmpty())
            continue;
        if (line.startsWith(QLatin1String("## ")))
            document.heading(line.mid(3), 2);
        else if (line.startsWith(QLatin1String("# ")))
            document.heading(line.mid(2), 1);
        else if (line.startsWith(QLatin1String("- ")))
            document.bullet(line.mid(2));
        else if (line.startsWith(u'@')) {
            const QList<QStringList> rows = tables ? tables(line.mid(1)) : QList<QStringList>{};
            if (!rows.isEmpty())
                document.table(rows, true);
        } else
            document.paragraph(line);
    }
    flushTable();
    return document.bytes();
}

} // namespace demo
