// SPDX-License-Identifier: MIT
#include "rtf/note_numbers.h"

#include <algorithm>
#include <array>

namespace rtf {

namespace {

// Letters count a, b, ... z, aa, bb, ... as word processors do.
QString Letters(int number, char first)
{
    const int cycle = (number - 1) / 26;
    return QString(cycle + 1, QChar(first + (number - 1) % 26));
}

QString Roman(int number, bool upper)
{
    struct Numeral {
        int value;
        const char* text;
    };
    static constexpr std::array<Numeral, 13> Numerals = {{{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"},
        {100, "c"}, {90, "xc"}, {50, "l"}, {40, "xl"}, {10, "x"}, {9, "ix"}, {5, "v"}, {4, "iv"}, {1, "i"}}};
    QString text;
    for (const Numeral& numeral : Numerals) {
        while (number >= numeral.value) {
            text += QLatin1String(numeral.text);
            number -= numeral.value;
        }
    }
    return upper ? text.toUpper() : text;
}

// *, †, ‡, §, then the same doubled, tripled...
QString Chicago(int number)
{
    static constexpr std::array<char16_t, 4> Marks = {u'*', u'\u2020', u'\u2021', u'\u00A7'};
    return QString((number - 1) / 4 + 1, QChar(Marks[(number - 1) % 4]));
}

} // namespace

QString NoteNumberText(int number, NoteNumbering numbering)
{
    // Bounded so that a document full of marks cannot grow one past reason.
    number = std::clamp(number, 1, 9999);
    switch (numbering) {
    case NoteNumbering::LowerAlpha: return Letters(number, 'a');
    case NoteNumbering::UpperAlpha: return Letters(number, 'A');
    case NoteNumbering::LowerRoman: return Roman(number, false);
    case NoteNumbering::UpperRoman: return Roman(number, true);
    case NoteNumbering::Chicago: return Chicago(number);
    case NoteNumbering::Arabic: break;
    }
    return QString::number(number);
}

} // namespace rtf
