// SPDX-License-Identifier: MIT
#include "selection/preview_picture.h"
#include "selection/preview_picture_cache.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using selection::LoadPreviewPicture;
using selection::PreviewPictureCache;

namespace {

QByteArray Encoded(int width, int height, const char* format) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.fillRect(0, 0, width / 2, height / 3, Qt::darkBlue);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 90);
    return bytes;
}

// An Exif block whose orientation says "turn a quarter clockwise to show".
QByteArray WithExifOrientation(QByteArray jpeg, quint16 orientation) {
    QByteArray tiff("II*\0\x08\0\0\0", 8);
    tiff += QByteArray("\x01\0", 2);                    // one entry
    tiff += QByteArray("\x12\x01\x03\0\x01\0\0\0", 8);  // Orientation, SHORT, count 1
    tiff += char(orientation & 0xff);
    tiff += char(orientation >> 8);
    tiff += QByteArray(2, '\0');
    tiff += QByteArray(4, '\0');  // no next directory
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    const int length = payload.size() + 2;
    QByteArray segment("\xff\xe1", 2);
    segment += char(length >> 8);
    segment += char(length & 0xff);
    segment += payload;
    jpeg.insert(2, segment);  // right after the start-of-image marker
    return jpeg;
}

QString Write(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

// A BMP picture: its size in bytes depends on its size in pixels only.
QByteArray Bmp(int width, int height, QColor colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

bool SetModified(const QString& path, const QDateTime& time) {
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.setFileTime(time, QFileDevice::FileModificationTime);
}

// What happens to the file between two loads through the cache.
enum class Change { None, OtherSize, SameSizeTimeSetBack, Touched, Replaced, Deleted };

} // namespace

class TestPreviewPicture : public QObject {
    Q_OBJECT

private slots:
    void loadsAtNaturalSize() {
        QTemporaryDir dir;
        const QString path = Write(dir, "HQA.jpg", Encoded(1000, 1500, "JPEG"));
        const QImage picture = LoadPreviewPicture(path);
        QCOMPARE(picture.size(), QSize(1000, 1500));
        QVERIFY(qBlue(picture.pixel(10, 10)) > 100 && qRed(picture.pixel(10, 10)) < 60);
    }

    void failuresGiveANullPicture() {
        QTemporaryDir dir;
        QVERIFY(LoadPreviewPicture(dir.filePath("missing.jpg")).isNull());
        QVERIFY(LoadPreviewPicture(Write(dir, "text.jpg", "not a picture at all")).isNull());
        QVERIFY(LoadPreviewPicture(Write(dir, "empty.jpg", {})).isNull());
        QVERIFY(LoadPreviewPicture(dir.path()).isNull());  // a folder
    }

    void kindComesFromTheContent() {
        QTemporaryDir dir;
        const QString path = Write(dir, "MCP.jpg", Encoded(30, 40, "PNG"));
        QCOMPARE(LoadPreviewPicture(path).size(), QSize(30, 40));
    }

    void exifOrientationIsNotApplied() {
        QTemporaryDir dir;
        const QString path = Write(dir, "AXN.jpg", WithExifOrientation(Encoded(40, 20, "JPEG"), 6));
        QImageReader turning(path);
        turning.setAutoTransform(true);
        QCOMPARE(turning.read().size(), QSize(20, 40));  // the file does carry the tag
        QCOMPARE(LoadPreviewPicture(path).size(), QSize(40, 20));
    }

    void cacheDecodesAFileAgainOnlyWhenItChanged_data() {
        QTest::addColumn<Change>("change");
        QTest::addColumn<bool>("stampTrusted");  // written long before it is read, or just now
        QTest::addColumn<int>("decodes");
        QTest::addColumn<QSize>("size");  // 0 x 0: no picture
        QTest::addColumn<QColor>("colour");
        const QColor white(Qt::white), black(Qt::black);
        QTest::newRow("unchanged") << Change::None << true << 1 << QSize(40, 20) << white;
        QTest::newRow("unchanged, just written") << Change::None << false << 1 << QSize(40, 20) << white;
        QTest::newRow("another size") << Change::OtherSize << true << 2 << QSize(60, 20) << white;
        QTest::newRow("touched") << Change::Touched << true << 1 << QSize(40, 20) << white;
        QTest::newRow("deleted") << Change::Deleted << true << 1 << QSize(0, 0) << QColor();
        // Within the time stamps' resolution only the bytes tell.
        QTest::newRow("same size and time, just written")
            << Change::SameSizeTimeSetBack << false << 2 << QSize(40, 20) << black;
#ifdef Q_OS_UNIX
        // The status-change time moves whatever the writer does.
        QTest::newRow("same size, time set back")
            << Change::SameSizeTimeSetBack << true << 2 << QSize(40, 20) << black;
        QTest::newRow("replaced, same size and time") << Change::Replaced << true << 2 << QSize(40, 20) << black;
#endif
    }

    void cacheDecodesAFileAgainOnlyWhenItChanged() {
        QFETCH(Change, change);
        QFETCH(bool, stampTrusted);
        QFETCH(int, decodes);
        QFETCH(QSize, size);
        QFETCH(QColor, colour);
        QTemporaryDir dir;
        const QString path = Write(dir, "AX.jpg", Bmp(40, 20, Qt::white));
        // Written an hour before a clock an hour ahead: every stamp is old
        // enough to trust. Otherwise written just now, as the clock says.
        const QDateTime written = QDateTime::currentDateTimeUtc().addSecs(stampTrusted ? -3600 : 0);
        QVERIFY(SetModified(path, written));
        const qint64 ahead = stampTrusted ? 3600 : 0;
        int decoded = 0;
        PreviewPictureCache cache(
            [&decoded](const QByteArray& content) {
                ++decoded;
                return selection::DecodePreviewPicture(content);
            },
            [ahead] { return QDateTime::currentDateTimeUtc().addSecs(ahead); });
        QCOMPARE(cache.load(path).size(), QSize(40, 20));
        QCOMPARE(decoded, 1);

        QThread::msleep(20);  // past the resolution of the status-change time
        switch (change) {
        case Change::None: break;
        case Change::OtherSize: QVERIFY(!Write(dir, "AX.jpg", Bmp(60, 20, Qt::white)).isEmpty()); break;
        case Change::SameSizeTimeSetBack:
            QVERIFY(!Write(dir, "AX.jpg", Bmp(40, 20, Qt::black)).isEmpty());
            QVERIFY(SetModified(path, written));
            break;
        case Change::Touched: QVERIFY(SetModified(path, written.addSecs(60))); break;
        case Change::Replaced: {
            const QString other = Write(dir, "other.jpg", Bmp(40, 20, Qt::black));
            QVERIFY(SetModified(other, written));
            QVERIFY(QFile::remove(path));
            QVERIFY(QFile::rename(other, path));
            break;
        }
        case Change::Deleted: QVERIFY(QFile::remove(path)); break;
        }
        for (int load = 0; load < 2; ++load) {  // the second load finds it unchanged
            const QImage picture = cache.load(path);
            QCOMPARE(picture.size(), size);
            if (!picture.isNull())
                QCOMPARE(picture.pixelColor(0, 0), colour);
            QCOMPARE(decoded, decodes);
        }
    }
};

QTEST_MAIN(TestPreviewPicture)
#include "test_preview_picture.moc"
