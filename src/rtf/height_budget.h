// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QSizeF>
#include <QtGlobal>

#include <array>
#include <functional>
#include <memory>

class QString;
class QTextBlockFormat;
class QTextCharFormat;

namespace rtf {

// Qt lays a document out in 26.6 fixed point and never finishes one taller
// than 8,388,607 pixels: past that height it waits for a page break that
// never comes. A few kilobytes of RTF in a 1638-point font get there. So the
// builder bounds the height of what it adds, at the pane's text width, and
// leaves out what passes the budget.
//
// The bound, for each paragraph: word wrapping ends a line only before a
// word that does not fit, so a line and the first word of the next one are
// wider than the line, and a paragraph of width W (the sum of its
// characters' advances) takes at most 2 W / line width + 2 lines, 2 more for
// each forced line break, and never more lines than characters; each line is
// at most twice as high as the largest font's size or line spacing in the
// paragraph. Pictures count their height on top. A table is counted when it
// is written, row by row, each row as high as its tallest cell measured at
// its column's width; a column of no known width counts a line per
// character. Ordinary text comes out at about twice its real height, so only
// documents that really are too tall are cut.
class HeightBudget {
public:
    // Pixels: half the limit, for panes narrower than the reader was told.
    static constexpr double MaxHeight = 4'000'000;

    // Where text goes: the body and notes, both laid out at the text width.
    enum class Flow { Body, Note };

    // defaultFont: the document's font, which formats complete;
    // textWidth: the width, in pixels, the document is laid out at.
    HeightBudget(const QFont& defaultFont, double textWidth);

    // How many of the leading characters of `text` still fit.
    qsizetype takeText(const QString& text, const QTextCharFormat& format, const QTextBlockFormat& paragraph,
                       Flow flow);
    bool takePicture(QSizeF size, const QTextBlockFormat& paragraph, Flow flow);
    // A paragraph or cell ending: the paragraph's spacing, and an empty
    // paragraph's line.
    bool takeBreak(const QTextBlockFormat& paragraph);

    // The height that `feed` gives the content it hands a budget of its own,
    // laid out at `width` pixels (0: not known); infinite when that passes
    // MaxHeight. Nothing is charged here.
    double measure(double width, const std::function<void(HeightBudget&)>& feed);
    // Charges a measured height, after what was added so far.
    bool takeHeight(double height);

    // Once something did not fit, nothing more does.
    bool exhausted() const { return exhausted_; }
    double textWidth() const { return textWidth_; }

private:
    // The paragraph being added to.
    struct Open {
        Flow flow = Flow::Body;
        double lineWidth = 0;
        qsizetype characters = 0;
        qsizetype forcedBreaks = 0;
        double width = 0;
        double lineHeight = 0;
        double charged = 0;
    };

    // What the budget knows of one font.
    struct FontMeasures {
        explicit FontMeasures(const QFont& font);
        double advance(char32_t code);

        QFontMetricsF metrics;
        double lineHeight = 0;
        std::array<double, 256> latin1Advances; // below 0 until measured
        QHash<char32_t, double> advances;
    };

    void enter(Flow flow, const QTextBlockFormat& paragraph);
    void closeOpen();
    double lines(qsizetype characters, double width, qsizetype forcedBreaks) const;
    FontMeasures& measures(const QFont& font);
    bool refuse();

    QFont defaultFont_;
    double textWidth_;
    double defaultLineHeight_;
    QHash<QFont, std::shared_ptr<FontMeasures>> fonts_;
    double closed_ = 0;
    Open open_;
    bool exhausted_ = false;
};

} // namespace rtf
