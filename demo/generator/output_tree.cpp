// SPDX-License-Identifier: MIT
#include "output_tree.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace demo {

QString OutputTree::path(const QString& relativePath) const
{
    return QDir(root_).filePath(relativePath);
}

base::Status OutputTree::write(const QString& relativePath, const QByteArray& bytes, bool executable)
{
    const QString target = path(relativePath);
    QFileDevice::Permissions wanted = QFileDevice::ReadOwner | QFileDevice::WriteOwner
        | QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ReadGroup
        | QFileDevice::ReadOther;
    if (executable)
        wanted |= QFileDevice::ExeOwner | QFileDevice::ExeUser | QFileDevice::ExeGroup
            | QFileDevice::ExeOther;
    QFile existing(target);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes) {
        existing.close();
        if (executable && !(existing.permissions() & QFileDevice::ExeOwner))
            existing.setPermissions(wanted);
        return {};
    }
    existing.close();
    if (!QDir().mkpath(QFileInfo(target).absolutePath()))
        return base::Fail(target + QStringLiteral(": cannot create its folder"));
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return base::Fail(target + QStringLiteral(": ") + file.errorString());
    QFile::setPermissions(target, wanted);
    ++written_;
    return {};
}

QByteArray WindowsText(const QByteArray& utf8)
{
    QByteArray text = utf8;
    text.replace("\r\n", "\n");
    text.replace("\n", "\r\n");
    if (!text.startsWith("\xEF\xBB\xBF"))
        text.prepend("\xEF\xBB\xBF");
    return text;
}

} // namespace demo
