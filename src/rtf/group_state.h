// SPDX-License-Identifier: MIT
#pragma once

#include <QTextCharFormat>

namespace rtf {

// Character properties; scoped by groups, reset by \plain.
struct CharState {
    bool bold = false;
    bool italic = false;
    bool strike = false;
    bool hidden = false;
    QTextCharFormat::UnderlineStyle underline = QTextCharFormat::NoUnderline;
    QTextCharFormat::VerticalAlignment vertical = QTextCharFormat::AlignNormal;
    int halfPoints = 24;
    int font = -1;
    int foreground = 0; // colour table index; 0 is the automatic colour
    int background = 0;

    bool operator==(const CharState&) const = default;
};

enum class Alignment { Left, Center, Right, Justify };

// Paragraph properties; scoped by groups, reset by \pard. Lengths in twips.
struct ParaState {
    Alignment alignment = Alignment::Left;
    int leftIndent = 0;
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    bool inTable = false;

    bool operator==(const ParaState&) const = default;
};

enum class Destination {
    Body,       // shown text
    Skip,       // ignored up to the end of the group
    FontTable,
    ColorTable,
    Picture,
    ShapePropertyName, // the name of a shape property, which decides whether its value shows
};

struct GroupState {
    CharState chars;
    ParaState para;
    Destination destination = Destination::Body;
    int unicodeSkip = 1;          // \ucN: fallback characters after each \uN
    bool paragraphLocked = false; // list number text must not change the paragraph
};

} // namespace rtf
