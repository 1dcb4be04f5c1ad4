// SPDX-License-Identifier: MIT
#include "preview_picture_cache.h"

#include <QFile>
#include <QFileInfo>

namespace selection {

namespace {

FileStamp Stamp(const QFileInfo& info)
{
    return {info.size(), info.fileTime(QFileDevice::FileModificationTime).toUTC(),
            info.fileTime(QFileDevice::FileMetadataChangeTime).toUTC(),
            info.fileTime(QFileDevice::FileBirthTime).toUTC()};
}

// Whether a time stamp lies far enough before `readAt` that a later write
// moves it.
bool Settled(const QDateTime& stamp, const QDateTime& readAt)
{
    return stamp.isValid() && stamp.msecsTo(readAt) > PreviewPictureCache::RacyWindowMs;
}

} // namespace

PreviewPictureCache::PreviewPictureCache(Decoder decode, Clock now)
    : decode_(std::move(decode)), now_(std::move(now))
{
}

QImage PreviewPictureCache::load(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile()) {
        entry_.reset();
        return {};
    }
    const FileStamp stamp = Stamp(info);
    const bool samePath = entry_ && entry_->path == path;
    if (samePath && entry_->stampTrusted && entry_->stamp == stamp)
        return entry_->picture;

    const QDateTime readAt = now_();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        entry_.reset();
        return {};
    }
    QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        entry_.reset();
        return {};
    }
    const bool trusted = Settled(stamp.modified, readAt)
                         && (!stamp.statusChanged.isValid() || Settled(stamp.statusChanged, readAt));
    if (samePath && entry_->contentKept && entry_->content == content) {
        entry_->stamp = stamp;
        entry_->stampTrusted = trusted;
        return entry_->picture;
    }
    Entry fresh;
    fresh.path = path;
    fresh.stamp = stamp;
    fresh.stampTrusted = trusted;
    fresh.picture = decode_(content);
    fresh.contentKept = content.size() <= MaxKeptBytes;
    if (fresh.contentKept)
        fresh.content = std::move(content);
    entry_ = std::move(fresh);
    return entry_->picture;
}

} // namespace selection
