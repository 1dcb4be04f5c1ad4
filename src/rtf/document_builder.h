// SPDX-License-Identifier: MIT
#pragma once

#include "rtf/height_budget.h"

#include <QImage>
#include <QSizeF>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>

#include <optional>
#include <vector>

class QTextDocument;

namespace rtf {

struct Paragraph {
    QTextBlockFormat format;
    bool inTable = false;
};

// Table content held until the table's final shape is known.
struct PendingItem {
    enum class Kind { Text, Image, Break, Format };
    Kind kind = Kind::Format;
    QTextBlockFormat blockFormat;
    QString text;
    QTextCharFormat charFormat;
    QImage image;
    QSizeF size;
};

struct PendingTable {
    using Cell = std::vector<PendingItem>;
    struct Row {
        std::vector<Cell> cells;
    };
    std::vector<Row> rows;
    bool rowOpen = false;
    int column = 0;
    std::vector<int> cellRightEdges;
};

// Appends content to a document in reading order. RTF describes a table row
// by row and its width only at the end, while every change of a QTextTable's
// shape costs a pass over all of its cells; so table content is held until the
// first paragraph outside the table and the table is then built in one go.
class DocumentBuilder {
public:
    static constexpr int MaxColumns = 64;
    // Cells per document, short rows padded to the widest: laying out a
    // table costs about 0.2 ms a cell even when the cells are empty, so a few
    // kilobytes of \cell\row could otherwise freeze the pane for seconds.
    // Tables past this become lines of tab-separated cells.
    static constexpr long long MaxTableCells = 4096;

    // textWidth: the width, in pixels, the document is laid out at.
    DocumentBuilder(QTextDocument& document, double textWidth);

    void insertText(const QString& text, const QTextCharFormat& format, const Paragraph& paragraph);
    void insertImage(const QImage& image, QSizeF displaySize, const Paragraph& paragraph);
    void endParagraph(const Paragraph& paragraph);
    void endCell(const Paragraph& paragraph);
    // cellRightEdges: the \cellx boundaries of the row, in twips.
    void endRow(const std::vector<int>& cellRightEdges);

    // Footnotes and endnotes: what is added between beginNote and endNote
    // is held and written at the end of the document, footnotes first, each
    // note in its own paragraph. Notes hold no tables.
    enum class NoteKind { Footnote, Endnote };
    void beginNote();
    void endNote(NoteKind kind);

    // Ends the document; one that was cut ends with a paragraph "…".
    void finish();
    // Whether content was left out to keep the document within what Qt can lay out.
    bool cut() const { return budget_.exhausted(); }

private:
    using Item = PendingItem;
    using Cell = PendingTable::Cell;
    using Row = PendingTable::Row;

    void add(const Paragraph& paragraph, Item item);
    Cell& currentCell();
    void writeTable();
    void writeTableAsLines(const PendingTable& table);
    void writeNotes(NoteKind kind);
    void writeCutMark();
    HeightBudget::Flow flow() const;
    // Whether the paragraph's content waits for its table to be written.
    bool holdsForTable(const Paragraph& paragraph) const;
    void writeTableBefore(const Paragraph& paragraph);
    // Heights for the budget: a cell at its column's width (0: not known),
    // a row written as a line of tab-separated cells.
    double cellHeight(const Cell& cell, double columnWidth);
    double rowAsLineHeight(const Row& row);
    void write(QTextCursor& cursor, const Item& item);
    QString addImageResource(const QImage& image);

    QTextDocument& document_;
    QTextCursor cursor_;
    HeightBudget budget_;
    int imageCount_ = 0;
    long long cellsWritten_ = 0;
    std::optional<PendingTable> table_;

    struct Note {
        NoteKind kind = NoteKind::Footnote;
        std::vector<Item> items;
    };
    std::vector<Note> notes_;
    bool inNote_ = false;
};

} // namespace rtf
