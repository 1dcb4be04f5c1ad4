// SPDX-License-Identifier: MIT
#pragma once
#include <QString>
#include <QtGlobal>

namespace catalogue {

// What reading one Access file may take, measured against the file itself,
// so that a damaged or crafted file cannot make the loader loop or read
// without end; and the refusal of a file that contradicts itself.
class LoadLimits {
public:
    LoadLimits(QString path, qint64 fileSize, qint64 pageSize);

    const QString& path() const { return path_; }
    qint64 fileSize() const { return fileSize_; }
    qint64 pages() const { return fileSize_ / pageSize_; }

    // Throws CatalogueError "The database '<path>' is damaged: <what>."
    [[noreturn]] void refuse(const QString& what) const;
    // Counts bytes of long values (Memo text kept outside the rows). Every
    // stored byte belongs to one value, so all of them together cannot
    // outgrow the file; beyond that the file is refused.
    void chargeLongValueBytes(qint64 bytes, const QString& table);

private:
    QString path_;
    qint64 fileSize_;
    qint64 pageSize_;
    qint64 longValueBytes_ = 0;
};

} // namespace catalogue
