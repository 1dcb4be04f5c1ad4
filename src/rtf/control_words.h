// SPDX-License-Identifier: MIT
#pragma once

#include "rtf/note_numbers.h"

#include <string_view>

namespace rtf {

enum class Word {
    Unknown,
    // document
    Rtf, Ansi, Mac, Pc, Pca, AnsiCodePage, DefaultFont, UnicodeSkip, Unicode, Bin,
    // destinations
    FontTable, ColorTable, Picture, ShapePicture, FieldResult, ListText, SkippedDestination,
    // shapes: floating pictures and text boxes
    ShapeInstructions, ShapeProperty, ShapePropertyName, ShapePropertyValue,
    // footnotes and endnotes
    Footnote, EndnoteFlag, FootnoteMark, FootnoteNumbering, EndnoteNumbering,
    // font and colour tables
    Font, FontCharset, FontCodePage, Red, Green, Blue,
    // character formatting
    Plain, Bold, Italic, Underline, UnderlineDotted, UnderlineDashed, UnderlineDashDot,
    UnderlineDashDotDot, UnderlineWave, UnderlineNone, Strike, FontSize, Foreground,
    Background, Hidden, Superscript, Subscript, NoSuperSub,
    // paragraph formatting
    ParagraphDefault, AlignLeft, AlignCenter, AlignRight, AlignJustify, LeftIndent,
    RightIndent, FirstIndent, SpaceBefore, SpaceAfter, InTable,
    // breaks and tables
    Par, Line, Tab, Cell, Row, NestedCell, NestedRow, RowDefaults, CellRightEdge,
    // special characters
    Character,
    // picture properties
    PngBlip, JpegBlip, WmfBlip, EmfBlip, OtherBlip, PictureWidth, PictureHeight, PictureGoalWidth,
    PictureGoalHeight, PictureScaleX, PictureScaleY,
};

struct WordInfo {
    Word word = Word::Unknown;
    char16_t character = 0; // Word::Character: the character it stands for
    NoteNumbering numbering = NoteNumbering::Arabic; // the note numbering words
};

WordInfo LookUpWord(std::string_view name);

// Whether "{\*\name" is a destination this reader shows instead of skipping.
bool IsShownStarredDestination(Word word);

} // namespace rtf
