// SPDX-License-Identifier: MIT
#include "extra_pages.h"
#include "cylinder_sketch.h"
#include "page_painter.h"
#include <QLinearGradient>

namespace demo {

namespace {

constexpr int kCoverHeightPx = 480;

void DrawWindowFrame(QPainter& painter, const QRectF& frame, const QString& title)
{
    painter.save();
    painter.setPen(QPen(palette::kRule, 1));
    painter.setBrush(Qt::white);
    painter.drawRect(frame);
    painter.fillRect(QRectF(frame.left(), frame.top(), frame.width(), 22), QColor(0x2b, 0x57, 0x9a));
    DrawElided(painter, QRectF(frame.left() + 8, frame.top(), frame.width() - 16, 22), title,
               SansFont(11, true), Qt::white);
    painter.restore();
}

void DrawButton(QPainter& painter, const QRectF& box, const QString& text, bool highlighted = false)
{
    painter.save();
    painter.setPen(QPen(highlighted ? palette::kAccent : palette::kMuted, highlighted ? 2 : 1));
    painter.setBrush(QColor(0xee, 0xee, 0xee));
    painter.drawRect(box);
    painter.setFont(SansFont(10));
    painter.setPen(palette::kInk);
    painter.drawText(box, Qt::AlignCenter, text);
    painter.restore();
}

// A tree of the Options dialog's Files tab with one entry picked out.
void DrawOptionsDialog(QPainter& painter, const QRectF& frame, const QString& node,
                       const QString& entry)
{
    DrawWindowFrame(painter, frame, QStringLiteral("選項 Options — 檔案 Files"));
    const QRectF tree = frame.adjusted(10, 32, -120, -12);
    painter.save();
    painter.setPen(QPen(palette::kRule, 1));
    painter.setBrush(Qt::white);
    painter.drawRect(tree);
    const QStringList nodes = {QStringLiteral("支援檔案搜尋路徑 Support File Search Path"),
                               QStringLiteral("工作支援檔案搜尋路徑 Working Support File Search Path"),
                               QStringLiteral("信任的位置 Trusted Locations"),
                               QStringLiteral("裝置驅動程式檔案搜尋路徑 Device Driver File Search Path")};
    qreal y = tree.top() + 6;
    for (const QString& name : nodes) {
        const bool open = name == node;
        DrawElided(painter, QRectF(tree.left() + 8, y, tree.width() - 16, 16),
                   (open ? QStringLiteral("⊟ ") : QStringLiteral("⊞ ")) + name, SansFont(11, open),
                   palette::kInk);
        y += 18;
        if (open) {
            const QRectF picked(tree.left() + 26, y, tree.width() - 34, 16);
            painter.fillRect(picked, QColor(0xcc, 0xe4, 0xf7));
            painter.setPen(QPen(palette::kAccent, 1.5));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(picked);
            painter.setPen(QPen(palette::kRule, 1));
            DrawElided(painter, picked.adjusted(4, 0, -4, 0), entry, SansFont(11), palette::kInk);
            y += 20;
        }
    }
    painter.restore();
    qreal buttonTop = frame.top() + 34;
    for (const QString& label : {QStringLiteral("瀏覽 Browse..."), QStringLiteral("加入 Add..."),
                                 QStringLiteral("移除 Remove"), QStringLiteral("上移 Move Up")}) {
        DrawButton(painter, QRectF(frame.right() - 110, buttonTop, 100, 22), label,
                   label.startsWith(QStringLiteral("加入")));
        buttonTop += 28;
    }
}

void DrawApploadDialog(QPainter& painter, const QRectF& frame)
{
    DrawWindowFrame(painter, frame, QStringLiteral("載入/卸載應用程式 Load/Unload Applications"));
    const QRectF list = frame.adjusted(10, 32, -120, -40);
    painter.save();
    painter.setPen(QPen(palette::kRule, 1));
    painter.setBrush(Qt::white);
    painter.drawRect(list);
    qreal y = list.top() + 6;
    for (const QString& name : {QStringLiteral("3dstretch.VLX"), QStringLiteral("AXN12.dwg"),
                                QStringLiteral("TAA20S.dwg")}) {
        const bool picked = name.endsWith(QStringLiteral(".VLX"));
        const QRectF row(list.left() + 6, y, list.width() - 12, 16);
        if (picked)
            painter.fillRect(row, QColor(0xcc, 0xe4, 0xf7));
        DrawElided(painter, row.adjusted(4, 0, -4, 0), name, SansFont(11, picked), palette::kInk);
        y += 18;
    }
    painter.restore();
    DrawButton(painter, QRectF(frame.right() - 110, frame.top() + 34, 100, 22), QStringLiteral("載入 Load"), true);
    DrawButton(painter, QRectF(frame.right() - 110, frame.top() + 62, 100, 22), QStringLiteral("啟動組 Contents..."));
    DrawElided(painter, QRectF(frame.left() + 10, frame.bottom() - 32, frame.width() - 20, 20),
               QStringLiteral("3dstretch.VLX 已成功載入。 3dstretch.VLX successfully loaded."),
               SansFont(11), palette::kMuted);
}

void DrawCommandLine(QPainter& painter, const QRectF& frame)
{
    painter.save();
    painter.setPen(QPen(palette::kRule, 1));
    painter.setBrush(QColor(0x22, 0x27, 0x30));
    painter.drawRect(frame);
    const QStringList lines = {QStringLiteral("命令: (load \"3dstretch\")"),
                               QStringLiteral("3DSTRETCH"),
                               QStringLiteral("命令: (3dstretch \"axn\" 12 50 0)"),
                               QStringLiteral("Command:")};
    qreal y = frame.top() + 8;
    for (const QString& line : lines) {
        DrawElided(painter, QRectF(frame.left() + 10, y, frame.width() - 20, 18), line,
                   SansFont(12), QColor(0xe8, 0xe8, 0xe8));
        y += 20;
    }
    painter.restore();
}

} // namespace

QImage RenderCoverPage(const ContentFile& cover, int widthPx)
{
    QImage page = BlankPage(widthPx, kCoverHeightPx);
    QPainter painter(&page);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 300);
    sky.setColorAt(0, palette::kNavy);
    sky.setColorAt(1, QColor(0x35, 0x5c, 0x96));
    painter.fillRect(QRectF(0, 0, widthPx, 300), sky);
    painter.fillRect(QRectF(0, 300, widthPx, 5), palette::kAccent);
    DrawElided(painter, QRectF(24, 22, widthPx - 48, 50), cover.text(QStringLiteral("title"), 0),
               SansFont(40, true), Qt::white);
    DrawElided(painter, QRectF(26, 74, widthPx - 52, 24), cover.text(QStringLiteral("caption"), 0),
               SansFont(18), QColor(0xe6, 0xec, 0xf5));
    DrawElided(painter, QRectF(26, 98, widthPx - 52, 20), cover.text(QStringLiteral("caption"), 1),
               SansFont(13), QColor(0xc8, 0xd4, 0xe6));
    // The product on a white plate.
    const QRectF plate(40, 132, widthPx - 80, 150);
    painter.setBrush(Qt::white);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(plate, 8, 8);
    SketchStyle style;
    style.body = SketchStyle::Body::TieRod;
    style.cushionScrews = true;
    DrawCylinderSketch(painter, plate.adjusted(20, 12, -20, -8), style);

    DrawElided(painter, QRectF(24, 318, widthPx - 48, 26), cover.text(QStringLiteral("maker"), 0),
               SerifFont(20, true), palette::kNavy);
    DrawElided(painter, QRectF(24, 346, widthPx - 48, 20), cover.text(QStringLiteral("maker"), 1),
               SansFont(13), palette::kMuted);
    painter.fillRect(QRectF(24, 380, widthPx - 48, 70), palette::kPanel);
    painter.fillRect(QRectF(24, 380, 5, 70), palette::kAccent);
    DrawWrapped(painter, QRectF(40, 388, widthPx - 72, 30), cover.text(QStringLiteral("instruction"), 0),
                SansFont(13, true), palette::kInk);
    DrawWrapped(painter, QRectF(40, 416, widthPx - 72, 30), cover.text(QStringLiteral("instruction"), 1),
                SansFont(12), palette::kMuted);
    painter.end();
    return page;
}

QImage RenderHelpPage(const ContentFile& help, int widthPx, int heightPx)
{
    QImage page = BlankPage(widthPx, heightPx);
    QPainter painter(&page);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRectF(0, 0, widthPx, 64), palette::kNavy);
    painter.fillRect(QRectF(0, 64, widthPx, 3), palette::kAccent);
    DrawElided(painter, QRectF(16, 6, widthPx - 32, 30), help.text(QStringLiteral("title"), 0),
               SansFont(22, true), Qt::white);
    DrawElided(painter, QRectF(16, 36, widthPx - 32, 22), help.text(QStringLiteral("title"), 1),
               SansFont(13), QColor(0xd6, 0xe0, 0xee));
    qreal y = 76;
    const qreal used = DrawWrapped(painter, QRectF(16, y, widthPx - 32, 60),
                                   help.text(QStringLiteral("caption"), 0) + u'\n'
                                       + help.text(QStringLiteral("caption"), 1),
                                   SansFont(12), palette::kInk);
    y += std::max<qreal>(used, 0) + 12;

    const QList<QStringList> steps = help.all(QStringLiteral("step"));
    const qreal stepHeight = steps.isEmpty() ? 0 : (heightPx - y - 40) / steps.size();
    for (qsizetype i = 0; i < steps.size(); ++i) {
        const QStringList& step = steps.at(i);
        const qreal top = y + stepHeight * i;
        painter.setBrush(palette::kAccent);
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QRectF(16, top + 4, 30, 30));
        painter.setPen(Qt::white);
        painter.setFont(SansFont(16, true));
        painter.drawText(QRectF(16, top + 4, 30, 30), Qt::AlignCenter, QString::number(i + 1));
        DrawElided(painter, QRectF(56, top + 2, widthPx - 72, 20), step.value(0), SansFont(15, true), palette::kNavy);
        DrawElided(painter, QRectF(56, top + 22, widthPx - 72, 16), step.value(1), SansFont(11, true), palette::kMuted);
        qreal textTop = top + 44;
        for (const QString& text : {step.value(2), step.value(3)}) {
            const qreal height = DrawWrapped(painter, QRectF(56, textTop, widthPx - 72, 54), text,
                                             SansFont(12), palette::kInk);
            textTop += std::max<qreal>(height, 0) + 4;
        }
        const QRectF illustration(56, textTop + 8, widthPx - 90,
                                  std::min<qreal>(top + stepHeight - textTop - 36, 250));
        if (illustration.height() < 80)
            continue;
        if (i == 0)
            DrawOptionsDialog(painter, illustration, QStringLiteral("支援檔案搜尋路徑 Support File Search Path"),
                              QStringLiteral("C:\\Users\\使用者\\AppData\\Local\\Temp"));
        else if (i == 1)
            DrawOptionsDialog(painter, illustration, QStringLiteral("信任的位置 Trusted Locations"),
                              QStringLiteral("C:\\Users\\使用者\\AppData\\Local\\Temp"));
        else if (i == 2)
            DrawApploadDialog(painter, illustration);
        else
            DrawCommandLine(painter, illustration.adjusted(0, 0, 0, -illustration.height() * 0.4));
    }
    DrawElided(painter, QRectF(16, heightPx - 30, widthPx - 32, 20),
               QStringLiteral("3D TALVEX 2017 — 設定說明 Setup help"), SansFont(10), palette::kMuted);
    painter.end();
    return page;
}

} // namespace demo
