// SPDX-License-Identifier: MIT
#pragma once
#include <QByteArray>
#include <QFile>
#include <QString>

namespace testing {

inline bool WriteFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

// The whole file, or ifMissing when it cannot be read.
inline QByteArray ReadAll(const QString& path, const QByteArray& ifMissing = QByteArray())
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : ifMissing;
}

} // namespace testing
