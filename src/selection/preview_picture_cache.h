// SPDX-License-Identifier: MIT
#pragma once
#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QString>
#include <functional>
#include <optional>

namespace selection {

// What the file system says about a file without reading it: its size and
// times, to the millisecond, through QFileInfo (on Windows from the data
// GetFileAttributesEx gives, where the status-change time is the last write
// time). Content can change while all of them stay only within the time
// stamps' resolution, or when a program sets the modification time back;
// POSIX systems then still move the status-change time, which no program
// can set.
struct FileStamp {
    qint64 size = -1;
    QDateTime modified;
    QDateTime statusChanged;
    QDateTime created;
    bool operator==(const FileStamp&) const = default;
};

// The preview picture of the last file asked for, kept while that file is
// unchanged: the preview refresh runs on every key typed into the stroke box,
// and decoding a large JPEG each time costs most of a frame. A file whose
// stamp changed is read again, and decoded again unless its bytes are the
// same; a missing file gives a null picture at once. A stamp is trusted only
// once the file was written, and its status last changed, more than
// RacyWindowMs before it was read, as a write within the stamp's resolution
// could leave it as it was; until then every load compares the file's bytes
// with those decoded.
class PreviewPictureCache {
public:
    // File systems whose time stamps are coarsest (FAT) count in 2 seconds.
    static constexpr qint64 RacyWindowMs = 2000;
    // Files larger than this are not kept for comparing: they are decoded
    // again whenever their stamp cannot be trusted.
    static constexpr qint64 MaxKeptBytes = 32LL * 1024 * 1024;

    using Decoder = std::function<QImage(const QByteArray& content)>;
    using Clock = std::function<QDateTime()>;
    explicit PreviewPictureCache(Decoder decode, Clock now = &QDateTime::currentDateTimeUtc);

    // As LoadPreviewPicture(path).
    QImage load(const QString& path);

private:
    struct Entry {
        QString path;
        FileStamp stamp;
        bool stampTrusted = false;
        bool contentKept = false;
        QByteArray content;
        QImage picture;
    };

    Decoder decode_;
    Clock now_;
    std::optional<Entry> entry_;
};

} // namespace selection
