// SPDX-License-Identifier: MIT
// Draws the window icon and the button faces into the given folder. The
// results are committed beside this file and compiled in as resources; run
// it again (target talvex-draw-pictures) after changing a drawing.
#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {

QImage GreyBar(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB888);
    QPainter p(&image);
    QLinearGradient shade(0, 0, 0, height);
    shade.setColorAt(0, QColor(236, 236, 236));
    shade.setColorAt(1, QColor(176, 176, 176));
    p.fillRect(image.rect(), shade);
    p.setPen(QColor(120, 120, 120));
    p.drawRect(image.rect().adjusted(0, 0, -1, -1));
    return image;
}

QImage CheckMark()
{
    QImage image = GreyBar(148, 31);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath tick;
    tick.moveTo(60, 16);
    tick.lineTo(70, 26);
    tick.lineTo(89, 5);
    p.setPen(QPen(QColor(20, 150, 40), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick);
    return image;
}

QImage Cross()
{
    QImage image = GreyBar(148, 31);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(200, 30, 30), 6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(64, 6, 84, 25);
    p.drawLine(84, 6, 64, 25);
    return image;
}

QImage LabelledFace(int width, int height, const QString& label, int pointSize)
{
    QImage image = GreyBar(width, height);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QFont font(QStringLiteral("Noto Sans CJK TC"));
    font.setPixelSize(pointSize);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(20, 40, 110));
    p.drawText(image.rect(), Qt::AlignCenter | Qt::TextWordWrap, label);
    return image;
}

QImage Accessories()
{
    // The button shows the middle band of this face; everything sits there.
    QImage image = GreyBar(146, 70);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    p.setBrush(QColor(190, 190, 200));
    QPolygonF nut;  // a hex nut
    for (int i = 0; i < 6; ++i)
        nut << QPointF(17 + 10 * std::cos(i * M_PI / 3), 35 + 10 * std::sin(i * M_PI / 3));
    p.drawPolygon(nut);
    p.setBrush(QColor(240, 240, 240));
    p.drawEllipse(QPointF(17, 35), 4, 4);
    QFont font(QStringLiteral("Noto Sans CJK TC"));
    font.setBold(true);
    font.setPixelSize(16);
    p.setFont(font);
    p.setPen(QColor(20, 40, 110));
    p.drawText(QRect(30, 15, 116, 20), Qt::AlignCenter, QStringLiteral("配件"));
    font.setPixelSize(13);
    p.setFont(font);
    p.drawText(QRect(30, 34, 116, 20), Qt::AlignCenter, QStringLiteral("Accessories"));
    return image;
}

QImage WasteBin()
{
    QImage image(35, 38, QImage::Format_RGB32);
    image.fill(QColor(192, 192, 192));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(50, 50, 50), 1.2));
    p.setBrush(QColor(120, 140, 160));
    p.drawRect(QRectF(8, 4, 19, 3));      // lid
    p.drawRect(QRectF(14, 1.5, 7, 2.5));  // handle
    QPolygonF body{{9, 9}, {26, 9}, {24, 35}, {11, 35}};
    p.setBrush(QColor(150, 170, 190));
    p.drawPolygon(body);
    for (double x : {13.0, 17.5, 22.0})
        p.drawLine(QPointF(x, 12), QPointF(x, 32));
    p.end();
    return image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
}

QImage Logo(int colours, int size = 32)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, colours > 16);
    p.scale(size / 32.0, size / 32.0);
    // A cylinder seen from the side: barrel, rod and the maker's "T".
    p.setPen(QPen(QColor(0, 0, 128), 1));
    p.setBrush(QColor(0, 90, 200));
    p.drawRoundedRect(QRectF(2, 9, 20, 14), 2, 2);
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(QRectF(22, 14, 8, 4));
    p.setPen(QPen(Qt::white, 3));
    p.drawLine(6, 13, 18, 13);
    p.drawLine(12, 13, 12, 21);
    p.end();
    if (colours > 16)
        return image;
    // The classic 16-colour palette, transparent in place of dark grey.
    const QList<QRgb> vga = {qRgba(0, 0, 0, 0), 0xff800000, 0xff008000, 0xff808000, 0xff000080,
                             0xff800080, 0xff008080, 0xffc0c0c0, 0xff000000, 0xffff0000,
                             0xff00ff00, 0xffffff00, 0xff0000ff, 0xffff00ff, 0xff00ffff, 0xffffffff};
    return image.convertToFormat(QImage::Format_Indexed8, vga, Qt::ThresholdDither);
}

// The program file's icon for Windows: every size Explorer and the taskbar
// ask for, each stored as a PNG (which Windows reads in icon files since
// Vista). Qt's ICO writer stores one image only.
bool WriteIcon(const QString& path, const QList<int>& sizes)
{
    QList<QByteArray> images;
    for (const int size : sizes) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!Logo(256, size).save(&buffer, "PNG"))
            return false;
        images.append(png);
    }
    QByteArray icon;
    QDataStream out(&icon, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(sizes.size()); // reserved, type icon, count
    quint32 offset = 6 + 16 * quint32(sizes.size());
    for (qsizetype i = 0; i < sizes.size(); ++i) {
        const quint8 side = sizes[i] >= 256 ? 0 : quint8(sizes[i]); // 0 stands for 256
        out << side << side << quint8(0) << quint8(0) << quint16(1) << quint16(32)
            << quint32(images[i].size()) << offset;
        offset += quint32(images[i].size());
    }
    for (const QByteArray& png : images)
        out.writeRawData(png.constData(), int(png.size()));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(icon) == icon.size();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    bool ok = CheckMark().save(out.filePath(QStringLiteral("check.png")))
        && Cross().save(out.filePath(QStringLiteral("cross.png")))
        && Accessories().save(out.filePath(QStringLiteral("accessories.jpg")), "JPG", 92)
        && LabelledFace(148, 25, QStringLiteral("AutoCAD2017 UP"), 12)
               .save(out.filePath(QStringLiteral("autocad2017-up.jpg")), "JPG", 92)
        && WasteBin().save(out.filePath(QStringLiteral("waste-bin.bmp")))
        && Logo(16).save(out.filePath(QStringLiteral("icon-16colors.png")))
        && Logo(256).save(out.filePath(QStringLiteral("icon-256colors.png")))
        && WriteIcon(out.filePath(QStringLiteral("talvex.ico")), {16, 24, 32, 48, 256});
    return ok ? 0 : 1;
}
