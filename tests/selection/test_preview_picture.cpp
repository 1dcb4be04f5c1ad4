#include "selection/preview_picture.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

using selection::LoadPreviewPicture;

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
};

QTEST_MAIN(TestPreviewPicture)
#include "test_preview_picture.moc"
