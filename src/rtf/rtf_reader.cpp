// SPDX-License-Identifier: MIT
#include "rtf/rtf_reader.h"

#include "rtf/parser.h"

#include <QFile>
#include <QFileInfo>
#include <QTextCursor>
#include <QTextDocument>

#include <string_view>

namespace rtf {

namespace {

// The document proper, after leading white space; empty when the data does
// not start with the "{\rtf" header.
std::string_view RtfBody(const QByteArray& data)
{
    std::string_view view(data.constData(), static_cast<std::size_t>(data.size()));
    const std::size_t start = view.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos)
        return {};
    view.remove_prefix(start);
    Tokenizer header(view);
    if (header.next().kind != TokenKind::GroupOpen)
        return {};
    const Token word = header.next();
    if (word.kind != TokenKind::ControlWord || word.text != "rtf")
        return {};
    return view;
}

} // namespace

base::Result<ReadOutcome> ReadRtf(const QByteArray& data, QTextDocument& document, double textWidth)
{
    const std::string_view body = RtfBody(data);
    if (body.empty())
        return base::Fail(QStringLiteral("not in Rich Text Format"));

    const bool undoRedo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.clear();
    ReadOutcome outcome;
    {
        // One edit block: a document that a pane shows has its layout, which
        // would otherwise lay the document out again after every insertion.
        QTextCursor batch(&document);
        batch.beginEditBlock();
        Parser parser(body, document, textWidth);
        parser.run();
        outcome.cut = parser.cut();
        batch.endEditBlock();
    }
    document.setUndoRedoEnabled(undoRedo);
    document.setModified(false);
    return outcome;
}

base::Result<ReadOutcome> LoadRtfFile(const QString& path, QTextDocument& document, double textWidth)
{
    const QFileInfo info(path);
    if (!info.exists())
        return base::Fail(QStringLiteral("file not found: %1").arg(path));
    if (!info.isFile())
        return base::Fail(QStringLiteral("not a file: %1").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return base::Fail(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    if (file.size() > MaxRtfFileSize)
        return base::Fail(QStringLiteral("file too large: %1").arg(path));
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return base::Fail(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    return ReadRtf(data, document, textWidth);
}

} // namespace rtf
