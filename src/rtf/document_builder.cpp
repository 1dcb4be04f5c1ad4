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

// Hands a measuring budget an item's text or picture; false for the
// paragraph and cell ends, which each way of writing a table places itself.
bool TakeContent(HeightBudget& part, const PendingItem& item)
{
    switch (item.kind) {
    case PendingItem::Kind::Text:
        part.takeText(item.text, item.charFormat, item.blockFormat, HeightBudget::Flow::Body);
        return true;
    case PendingItem::Kind::Image:
        part.takePicture(item.size, item.blockFormat, HeightBudget::Flow::Body);
        return true;
    case PendingItem::Kind::Break:
    case PendingItem::Kind::Format: return false;
    }
    return false;
}

// The padding and borders of a cell around its text, in pixels (TableFormat).
constexpr double CellFrame = 2 * 3 + 2 * 1;

// Each column's width in pixels as the \cellx boundaries fix it; 0 where Qt
// chooses it.
std::vector<double> ColumnWidths(const std::vector<int>& cellRightEdges, int columns)
{
    std::vector<double> widths(static_cast<std::size_t>(columns), 0.0);
    int left = 0;
    for (int i = 0; i < columns && i < static_cast<int>(cellRightEdges.size()); ++i) {
        if (cellRightEdges[i] > left) {
            widths[i] = (cellRightEdges[i] - left) / TwipsPerPixel;
            left = cellRightEdges[i];
        }
    }
    return widths;
}

QTextTableFormat TableFormat(const std::vector<int>& cellRightEdges, int columns)
{
    QTextTableFormat format;
    format.setBorder(1);
    format.setBorderCollapse(true);
    format.setCellPadding(3);
    format.setCellSpacing(0);
    if (!cellRightEdges.empty()) {
        QList<QTextLength> constraints;
        for (const double width : ColumnWidths(cellRightEdges, columns))
            constraints.append(width > 0 ? QTextLength(QTextLength::FixedLength, width)
                                         : QTextLength(QTextLength::VariableLength, 0));
        format.setColumnWidthConstraints(constraints);
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
    writeTableBefore(paragraph);
    Item item;
    item.kind = Item::Kind::Text;
    item.text = PlainText(text);
    item.charFormat = format;
    if (holdsForTable(paragraph)) {
        // Counted with its table.
        if (budget_.exhausted() || item.text.isEmpty())
            return;
    } else {
        const qsizetype fitting = budget_.takeText(item.text, format, paragraph.format, flow());
        if (fitting < item.text.size()) {
            item.text.truncate(fitting);
            if (!item.text.isEmpty() && item.text.back().isHighSurrogate())
                item.text.chop(1);
        }
    }
    if (!item.text.isEmpty())
        add(paragraph, std::move(item));
}

void DocumentBuilder::insertImage(const QImage& image, QSizeF displaySize, const Paragraph& paragraph)
{
    writeTableBefore(paragraph);
    if (holdsForTable(paragraph) ? budget_.exhausted()
                                 : !budget_.takePicture(displaySize, paragraph.format, flow()))
        return;
    Item item;
    item.kind = Item::Kind::Image;
    item.image = image;
    item.size = displaySize;
    add(paragraph, std::move(item));
}

void DocumentBuilder::endParagraph(const Paragraph& paragraph)
{
    writeTableBefore(paragraph);
    if (holdsForTable(paragraph) ? budget_.exhausted() : !budget_.takeBreak(paragraph.format))
        return;
    Item item;
    item.kind = Item::Kind::Break;
    add(paragraph, std::move(item));
}

void DocumentBuilder::endCell(const Paragraph& paragraph)
{
    if (budget_.exhausted())
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

HeightBudget::Flow DocumentBuilder::flow() const
{
    return inNote_ ? HeightBudget::Flow::Note : HeightBudget::Flow::Body;
}

bool DocumentBuilder::holdsForTable(const Paragraph& paragraph) const
{
    return paragraph.inTable && !inNote_;
}

void DocumentBuilder::writeTableBefore(const Paragraph& paragraph)
{
    // The table is counted before what follows it.
    if (table_ && !paragraph.inTable && !inNote_)
        writeTable();
}

double DocumentBuilder::cellHeight(const Cell& cell, double columnWidth)
{
    const double textWidth = columnWidth > CellFrame ? columnWidth - CellFrame : 0;
    return budget_.measure(textWidth, [&](HeightBudget& part) {
        for (const Item& item : cell) {
            if (!TakeContent(part, item))
                part.takeBreak(item.blockFormat);
        }
    });
}

double DocumentBuilder::rowAsLineHeight(const Row& row)
{
    // As writeTableAsLines writes it: one paragraph at the pane's width.
    return budget_.measure(budget_.textWidth(), [&](HeightBudget& part) {
        for (std::size_t c = 0; c < row.cells.size(); ++c) {
            if (c > 0)
                part.takeText(QStringLiteral("\t"), QTextCharFormat(), QTextBlockFormat(), HeightBudget::Flow::Body);
            for (const Item& item : row.cells[c]) {
                if (!TakeContent(part, item) && item.kind == Item::Kind::Break)
                    part.takeText(QString(QChar(0x2028)), QTextCharFormat(), item.blockFormat, HeightBudget::Flow::Body);
            }
        }
        part.takeBreak(QTextBlockFormat());
    });
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

    // The rows that fit, each as high as its tallest cell.
    const std::vector<double> widths = ColumnWidths(table.cellRightEdges, static_cast<int>(columns));
    std::size_t rows = 0;
    for (; rows < table.rows.size(); ++rows) {
        const std::vector<Cell>& rowCells = table.rows[rows].cells;
        double height = 0;
        for (std::size_t c = 0; c < rowCells.size(); ++c)
            height = std::max(height, cellHeight(rowCells[c], widths[c]));
        if (!budget_.takeHeight(height + CellFrame))
            break;
    }
    if (rows == 0)
        return;
    cellsWritten_ += static_cast<long long>(rows) * static_cast<long long>(columns);

    QTextTable* textTable = cursor_.insertTable(static_cast<int>(rows), static_cast<int>(columns),
                                                TableFormat(table.cellRightEdges, static_cast<int>(columns)));
    for (std::size_t r = 0; r < rows; ++r) {
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
        if (!budget_.takeHeight(rowAsLineHeight(row)))
            return;
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
