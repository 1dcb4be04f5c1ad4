// SPDX-License-Identifier: MIT
#pragma once
#include "base/result.h"
#include "rtf_document.h"
#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <functional>

namespace demo {

// A readable UTF-8 source of one document and its picture texts:
//   key: value | value ...   header fields, up to a line "---"
//   then the body: "# " and "## " headings, "- " bullets, "| a | b |" table
//   rows, "@name" for a table the generator supplies, other lines paragraphs.
// Lines starting with ";" are comments.
struct ContentFile {
    QList<QPair<QString, QStringList>> fields;
    QStringList body;

    QList<QStringList> all(const QString& key) const;
    QStringList first(const QString& key) const;  // empty when absent
    // The value at index of the first field named key, or fallback.
    QString text(const QString& key, int index, const QString& fallback = {}) const;
};

ContentFile ParseContent(const QString& source);
base::Result<ContentFile> ReadContentFile(const QString& path);

// Supplies the rows of an "@name" table; no rows leaves it out.
using TableSource = std::function<QList<QStringList>(const QString& name)>;

QByteArray RenderRtf(const ContentFile& content, const TableSource& tables);

} // namespace demo
