// SPDX-License-Identifier: MIT
#include "metafile_builders.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace rtf_test {

namespace {

void Put16(QByteArray& out, std::uint16_t value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void Put32(QByteArray& out, std::uint32_t value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

void PutColour(QByteArray& out, const QColor& colour)
{
    out.append(char(colour.red())).append(char(colour.green())).append(char(colour.blue())).append('\0');
}

void PutRect(QByteArray& out, const QRect& rect)
{
    Put32(out, std::uint32_t(rect.left()));
    Put32(out, std::uint32_t(rect.top()));
    Put32(out, std::uint32_t(rect.left() + rect.width()));
    Put32(out, std::uint32_t(rect.top() + rect.height()));
}

} // namespace

QByteArray MetafileGroup(const char* kind, const QByteArray& metafile, const QByteArray& properties)
{
    return "{\\pict\\" + QByteArray(kind) + properties + "\r\n" + metafile.toHex() + "}";
}

QByteArray PackedDib(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const int stride = (rgb.width() * 3 + 3) / 4 * 4;
    QByteArray dib;
    Put32(dib, 40);
    Put32(dib, std::uint32_t(rgb.width()));
    Put32(dib, std::uint32_t(rgb.height()));
    Put16(dib, 1);
    Put16(dib, 24);
    Put32(dib, 0); // BI_RGB
    Put32(dib, std::uint32_t(stride * rgb.height()));
    for (int i = 0; i < 4; ++i)
        Put32(dib, 0);
    for (int y = rgb.height() - 1; y >= 0; --y) {
        QByteArray row;
        for (int x = 0; x < rgb.width(); ++x) {
            const QColor c = rgb.pixelColor(x, y);
            row.append(char(c.blue())).append(char(c.green())).append(char(c.red()));
        }
        row.append(QByteArray(stride - row.size(), '\0'));
        dib.append(row);
    }
    return dib;
}

WmfBuilder& WmfBuilder::record(std::uint16_t function, std::initializer_list<std::int16_t> words)
{
    QByteArray parameters;
    for (const std::int16_t word : words)
        Put16(parameters, std::uint16_t(word));
    return record(function, parameters);
}

WmfBuilder& WmfBuilder::record(std::uint16_t function, const QByteArray& parameters)
{
    QByteArray padded = parameters;
    if (padded.size() % 2)
        padded.append('\0');
    Put32(records_, std::uint32_t(3 + padded.size() / 2));
    Put16(records_, function);
    records_.append(padded);
    return *this;
}

WmfBuilder& WmfBuilder::raw(const QByteArray& bytes)
{
    records_.append(bytes);
    return *this;
}

QByteArray WmfBuilder::finish(const QRect& frame, int unitsPerInch) const
{
    QByteArray eof;
    Put32(eof, 3);
    Put16(eof, 0);
    const QByteArray body = records_ + eof;
    QByteArray wmf;
    if (!frame.isNull()) {
        QByteArray placeable;
        Put32(placeable, 0x9AC6CDD7);
        Put16(placeable, 0);
        Put16(placeable, std::uint16_t(frame.left()));
        Put16(placeable, std::uint16_t(frame.top()));
        Put16(placeable, std::uint16_t(frame.left() + frame.width()));
        Put16(placeable, std::uint16_t(frame.top() + frame.height()));
        Put16(placeable, std::uint16_t(unitsPerInch));
        Put32(placeable, 0);
        std::uint16_t checksum = 0;
        for (int i = 0; i < 20; i += 2)
            checksum ^= qFromLittleEndian<std::uint16_t>(placeable.constData() + i);
        Put16(placeable, checksum);
        wmf.append(placeable);
    }
    Put16(wmf, 1);      // memory metafile
    Put16(wmf, 9);      // header words
    Put16(wmf, 0x0300); // version
    Put32(wmf, std::uint32_t(9 + body.size() / 2));
    Put16(wmf, std::uint16_t(objects_));
    Put32(wmf, std::uint32_t(body.size() / 2)); // at least the largest record
    Put16(wmf, 0);
    return wmf + body;
}

QByteArray SolidBrush(const QColor& colour)
{
    QByteArray brush;
    Put16(brush, 0); // BS_SOLID
    PutColour(brush, colour);
    Put16(brush, 0);
    return brush;
}

QByteArray StretchDib(const QImage& image, const QRect& destination)
{
    QByteArray record;
    Put32(record, 0x00CC0020); // SRCCOPY
    Put16(record, 0);          // DIB_RGB_COLORS
    for (const int value : {image.height(), image.width(), 0, 0, destination.height(), destination.width(),
                            destination.top(), destination.left()})
        Put16(record, std::uint16_t(value));
    return record + PackedDib(image);
}

EmfBuilder& EmfBuilder::record(std::uint32_t type, std::initializer_list<std::int32_t> values)
{
    QByteArray parameters;
    for (const std::int32_t value : values)
        Put32(parameters, std::uint32_t(value));
    return record(type, parameters);
}

EmfBuilder& EmfBuilder::record(std::uint32_t type, const QByteArray& parameters)
{
    QByteArray padded = parameters;
    while (padded.size() % 4)
        padded.append('\0');
    Put32(records_, type);
    Put32(records_, std::uint32_t(8 + padded.size()));
    records_.append(padded);
    ++count_;
    return *this;
}

EmfBuilder& EmfBuilder::raw(const QByteArray& bytes)
{
    records_.append(bytes);
    return *this;
}

QByteArray EmfBuilder::finish(const QRect& frame) const
{
    QByteArray eof;
    Put32(eof, 14);
    Put32(eof, 20);
    Put32(eof, 0);
    Put32(eof, 16);
    Put32(eof, 20);
    constexpr int HeaderSize = 108;
    QByteArray header;
    Put32(header, 1);
    Put32(header, HeaderSize);
    PutRect(header, frame.adjusted(0, 0, -1, -1)); // bounds, inclusive, device pixels
    // The frame in hundredths of a millimetre: ten pixels to the millimetre.
    PutRect(header, QRect(frame.topLeft() * 10, frame.size() * 10));
    Put32(header, 0x464D4520);
    Put32(header, 0x10000);
    Put32(header, std::uint32_t(HeaderSize + records_.size() + eof.size()));
    Put32(header, std::uint32_t(count_ + 2));
    Put16(header, 8); // handles
    Put16(header, 0);
    Put32(header, 0);
    Put32(header, 0);
    Put32(header, 0);
    Put32(header, 1000); // device pixels
    Put32(header, 1000);
    Put32(header, 100); // device millimetres
    Put32(header, 100);
    Put32(header, 0);
    Put32(header, 0);
    Put32(header, 0);
    Put32(header, 100000);
    Put32(header, 100000);
    return header + records_ + eof;
}

QByteArray StretchDibits(const QImage& image, const QRect& destination)
{
    constexpr std::uint32_t FixedSize = 80; // record header and fields before the bitmap
    const QByteArray dib = PackedDib(image);
    QByteArray record;
    PutRect(record, destination);
    for (const int value : {destination.left(), destination.top(), 0, 0, image.width(), image.height()})
        Put32(record, std::uint32_t(value));
    Put32(record, FixedSize);
    Put32(record, 40);
    Put32(record, FixedSize + 40);
    Put32(record, std::uint32_t(dib.size() - 40));
    Put32(record, 0);          // DIB_RGB_COLORS
    Put32(record, 0x00CC0020); // SRCCOPY
    Put32(record, std::uint32_t(destination.width()));
    Put32(record, std::uint32_t(destination.height()));
    return record + dib;
}

QByteArray ExtTextOutW(const QString& text, QPoint reference)
{
    constexpr std::uint32_t StringAt = 60;
    const auto count = std::uint32_t(text.size());
    const std::uint32_t dxAt = StringAt + (count * 2 + 3) / 4 * 4;
    QByteArray record;
    PutRect(record, QRect());
    Put32(record, 1); // GM_COMPATIBLE
    Put32(record, 0);
    Put32(record, 0);
    Put32(record, std::uint32_t(reference.x()));
    Put32(record, std::uint32_t(reference.y()));
    Put32(record, count);
    Put32(record, StringAt);
    Put32(record, 0x100); // ETO_NO_RECT
    Put32(record, dxAt);
    for (const QChar c : text)
        Put16(record, c.unicode());
    while ((record.size() + 8) % 4)
        record.append('\0');
    for (std::uint32_t i = 0; i < count; ++i)
        Put32(record, 20);
    return record;
}

QByteArray FontIndirectW(std::uint32_t index, int height, const QString& face)
{
    QByteArray record;
    Put32(record, index);
    Put32(record, std::uint32_t(height));
    for (int i = 0; i < 3; ++i)
        Put32(record, 0);
    Put32(record, 700); // bold: broad strokes to find
    record.append(QByteArray(8, '\0'));
    for (int i = 0; i < 32; ++i)
        Put16(record, i < face.size() ? face.at(i).unicode() : 0);
    return record;
}

} // namespace rtf_test
