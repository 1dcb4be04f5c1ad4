// SPDX-License-Identifier: MIT
#include "rtf/document_builder.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextLength>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <iterator>

namespace rtf {

namespace {

constexpr double TwipsPerPixel = 15.0;

// Characters that would change the document's structure if inserted as text.
bool IsStructural(char16_t c)
{
    return (c < 0x20 && c != '\t') || c == 0x2029 || c == 0xFDD0 || c == 0xFDD1 || c == 0xFFFC;
}

QString PlainText(const QString& text)
{
    if (std::none_of(text.cbegin(), text.cend(), [](QChar c) { return IsStructural(c.unicode()); }))
        return text;
    QString clean;
    clean.reserve(text.size());
    for (const QChar c : text) {
        if (!IsStructural(c.unicode()))
            clean.append(c);
    }
    return clean;
}

void ApplyBlockFormat(QTextCursor& cursor, const QTextBlockFormat& format)
{
    if (cursor.blockFormat() != format)
        cursor.setBlockFormat(format);
}

QTextTableFormat TableFormat(const std::vector<int>& cellRightEdges, int columns)
{
    QTextTableFormat format;
    format.setBorder(1);
    format.setBorderCollapse(true);
    format.setCellPadding(3);
    format.setCellSpacing(0);
    if (!cellRightEdges.empty()) {
        QList<QTextLength> widths;
        int left = 0;
        for (int i = 0; i < columns; ++i) {
            if (i < static_cast<int>(cellRightEdges.size()) && cellRightEdges[i] > left) {
                widths.append(QTextLength(QTextLength::FixedLength, (cellRightEdges[i] - left) / TwipsPerPixel));
                left = cellRightEdges[i];
            } else {
                widths.append(QTextLength(QTextLength::VariableLength, 0));
            }
        }
        format.setColumnWidthConstraints(widths);
    }
    return format;
}

} // namespace

DocumentBuilder::DocumentBuilder(QTextDocument& document, double textWidth)
    : document_(document), cursor_(&document), budget_(document.defaultFont(), textWidth)
{
    cursor_.movePosition(QTextCursor::End);
}

void DocumentBuilder::insertText(const QString& text, const QTextCharFormat& format, const Paragraph& paragraph)
{
    Item item;
    item.kind = Item::Kind::Text;
    item.text = PlainText(text);
    item.charFormat = format;
    const qsizetype fitting = budget_.takeText(item.text, format, paragraph.format, flow(paragraph));
    if (fitting < item.text.size()) {
        item.text.truncate(fitting);
        if (!item.text.isEmpty() && item.text.back().isHighSurrogate())
            item.text.chop(1);
    }
    if (!item.text.isEmpty())
        add(paragraph, std::move(item));
}

void DocumentBuilder::insertImage(const QImage& image, QSizeF displaySize, const Paragraph& paragraph)
{
    if (!budget_.takePicture(displaySize, paragraph.format, flow(paragraph)))
        return;
    Item item;
    item.kind = Item::Kind::Image;
    item.image = image;
    item.size = displaySize;
    add(paragraph, std::move(item));
}

void DocumentBuilder::endParagraph(const Paragraph& paragraph)
{
    if (!budget_.takeBreak(paragraph.format))
        return;
    Item item;
    item.kind = Item::Kind::Break;
    add(paragraph, std::move(item));
}

void DocumentBuilder::endCell(const Paragraph& paragraph)
{
    if (!budget_.takeBreak(paragraph.format))
        return;
    Item item;
    item.kind = Item::Kind::Format;
    item.blockFormat = paragraph.format;
    currentCell().push_back(std::move(item));
    // Cells past the limit share the last column.
    if (table_->column < MaxColumns - 1)
        ++table_->column;
}

void DocumentBuilder::endRow(const std::vector<int>& cellRightEdges)
{
    if (!table_ || budget_.exhausted())
        return;
    if (!cellRightEdges.empty())
        table_->cellRightEdges = cellRightEdges;
    table_->rowOpen = false;
}

void DocumentBuilder::beginNote()
{
    notes_.emplace_back();
    inNote_ = true;
}

void DocumentBuilder::endNote(NoteKind kind)
{
    if (!inNote_)
        return;
    notes_.back().kind = kind;
    inNote_ = false;
}

HeightBudget::Flow DocumentBuilder::flow(const Paragraph& paragraph) const
{
    if (inNote_)
        return HeightBudget::Flow::Note;
    return paragraph.inTable ? HeightBudget::Flow::Cell : HeightBudget::Flow::Body;
}

void DocumentBuilder::finish()
{
    if (table_)
        writeTable();
    if (cut())
        writeCutMark();
    writeNotes(NoteKind::Footnote);
    writeNotes(NoteKind::Endnote);
}

void DocumentBuilder::add(const Paragraph& paragraph, Item item)
{
    item.blockFormat = paragraph.format;
    if (inNote_) {
        notes_.back().items.push_back(std::move(item));
        return;
    }
    if (paragraph.inTable) {
        currentCell().push_back(std::move(item));
        return;
    }
    if (table_)
        writeTable();
    write(cursor_, item);
}

DocumentBuilder::Cell& DocumentBuilder::currentCell()
{
    if (!table_)
        table_.emplace();
    if (!table_->rowOpen) {
        table_->rows.emplace_back();
        table_->rowOpen = true;
        table_->column = 0;
    }
    std::vector<Cell>& cells = table_->rows.back().cells;
    if (static_cast<int>(cells.size()) <= table_->column)
        cells.resize(table_->column + 1);
    return cells[table_->column];
}

void DocumentBuilder::writeTable()
{
    const PendingTable table = std::move(*table_);
    table_.reset();
    std::size_t columns = 0;
    for (const Row& row : table.rows)
        columns = std::max(columns, row.cells.size());
    if (table.rows.empty() || columns == 0)
        return;
    const long long cells = static_cast<long long>(table.rows.size()) * static_cast<long long>(columns);
    if (cellsWritten_ + cells > MaxTableCells) {
        writeTableAsLines(table);
        return;
    }
    cellsWritten_ += cells;

    QTextTable* textTable = cursor_.insertTable(static_cast<int>(table.rows.size()), static_cast<int>(columns),
                                                TableFormat(table.cellRightEdges, static_cast<int>(columns)));
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const std::vector<Cell>& rowCells = table.rows[r].cells;
        for (std::size_t c = 0; c < rowCells.size(); ++c) {
            if (rowCells[c].empty())
                continue;
            QTextCursor cell = textTable->cellAt(static_cast<int>(r), static_cast<int>(c)).firstCursorPosition();
            for (const Item& item : rowCells[c])
                write(cell, item);
        }
    }
    cursor_.movePosition(QTextCursor::End);
}

void DocumentBuilder::writeTableAsLines(const PendingTable& table)
{
    for (const Row& row : table.rows) {
        for (std::size_t c = 0; c < row.cells.size(); ++c) {
            if (c > 0)
                cursor_.insertText(QStringLiteral("\t"));
            for (const Item& item : row.cells[c]) {
                if (item.kind == Item::Kind::Break)
                    cursor_.insertText(QString(QChar(0x2028)));
                else if (item.kind != Item::Kind::Format)
                    write(cursor_, item);
            }
        }
        cursor_.insertBlock();
    }
}

void DocumentBuilder::writeNotes(NoteKind kind)
{
    for (const Note& note : notes_) {
        if (note.kind != kind)
            continue;
        // Each note is one paragraph or more; breaks it starts or ends
        // with would only leave empty lines.
        const auto isBreak = [](const Item& item) { return item.kind == Item::Kind::Break; };
        const auto begin = std::find_if_not(note.items.begin(), note.items.end(), isBreak);
        auto end = note.items.end();
        while (end != begin && isBreak(*std::prev(end)))
            --end;
        if (begin == end)
            continue;
        if (!cursor_.block().text().isEmpty())
            cursor_.insertBlock(begin->blockFormat, QTextCharFormat());
        for (auto item = begin; item != end; ++item)
            write(cursor_, *item);
    }
}

void DocumentBuilder::writeCutMark()
{
    if (cursor_.block().text().isEmpty())
        cursor_.setBlockFormat(QTextBlockFormat());
    else
        cursor_.insertBlock(QTextBlockFormat(), QTextCharFormat());
    cursor_.insertText(QStringLiteral("\u2026"), QTextCharFormat());
}

void DocumentBuilder::write(QTextCursor& cursor, const Item& item)
{
    ApplyBlockFormat(cursor, item.blockFormat);
    switch (item.kind) {
    case Item::Kind::Text: cursor.insertText(item.text, item.charFormat); break;
    case Item::Kind::Image: {
        QTextImageFormat format;
        format.setName(addImageResource(item.image));
        format.setWidth(item.size.width());
        format.setHeight(item.size.height());
        cursor.insertImage(format);
        break;
    }
    case Item::Kind::Break: cursor.insertBlock(item.blockFormat, QTextCharFormat()); break;
    case Item::Kind::Format: break;
    }
}

QString DocumentBuilder::addImageResource(const QImage& image)
{
    const QString name = QStringLiteral("rtfimage:%1").arg(++imageCount_);
    document_.addResource(QTextDocument::ImageResource, QUrl(name), image);
    return name;
}

} // namespace rtf
