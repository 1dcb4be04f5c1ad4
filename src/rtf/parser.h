// SPDX-License-Identifier: MIT
#pragma once

#include "rtf/code_page.h"
#include "rtf/control_words.h"
#include "rtf/document_builder.h"
#include "rtf/group_state.h"
#include "rtf/picture.h"
#include "rtf/symbol_fonts.h"
#include "rtf/tokenizer.h"

#include <QColor>
#include <QString>

#include <array>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

class QTextDocument;

namespace rtf {

// Reads RTF tokens through a stack of group states and appends the shown
// content to a document. Tolerates any input: unbalanced groups and
// truncated data end the read with what was read so far. Groups nested
// deeper than MaxGroupDepth keep their text and breaks, shown with the
// formatting of the deepest group kept; their destinations are skipped.
class Parser {
public:
    static constexpr std::size_t MaxGroupDepth = 1000;

    // textWidth: the width, in pixels, the document is laid out at.
    Parser(std::string_view data, QTextDocument& document, double textWidth);
    void run();
    // Whether content was left out to keep the document within what Qt can lay out.
    bool cut() const { return builder_.cut(); }

private:
    struct FontEntry {
        QString name;
        int charset = -1;
        int codePage = 0;
        bool nameDone = false;
        SymbolFont symbol = SymbolFont::None;
    };
    using NoteKind = DocumentBuilder::NoteKind;

    void openGroup();
    void closeGroup();
    void controlWord(const Token& token);
    void controlSymbol(int symbol);
    void text(std::string_view run);
    void binary(const Token& token);

    void documentWord(Word word, const Token& token);
    void destinationWord(Word word);
    void tableWord(Word word, const Token& token);
    void characterWord(Word word, const Token& token);
    void paragraphWord(Word word, const Token& token);
    void breakWord(Word word, const Token& token);
    void pictureWord(Word word, const Token& token);
    void shapeWord(Word word);
    void noteWord(const WordInfo& info);
    void overflowWord(const WordInfo& info, const Token& token);
    void shownWord(const WordInfo& info, const Token& token);

    GroupState& state() { return stack_.back(); }
    bool ignoring() const;
    bool inBody() const { return stack_.back().destination == Destination::Body; }
    int codePage() const;
    SymbolFont symbolFont() const;
    void finishFontName(FontEntry& entry);

    void byte(unsigned char value, bool raw);
    void character(char32_t c);
    void emitCharacter(char32_t c);
    void deliver(const QString& decoded);
    void appendBody(const QString& text);
    void flushDecoder();
    void flushRun();
    void endParagraph();
    void finishPicture();
    void footnoteMark();
    NoteKind upcomingNoteKind() const;
    void endNote();

    QTextCharFormat charFormat(const CharState& chars) const;
    Paragraph paragraph(const ParaState& para) const;

    Tokenizer tokenizer_;
    DocumentBuilder builder_;
    CodePageDecoder decoder_;
    QString scratch_;

    std::vector<GroupState> stack_;
    std::size_t overflowDepth_ = 0; // groups beyond MaxGroupDepth
    std::size_t overflowSkipFrom_ = 0; // the overflow depth of a skipped destination, 0 if none
    bool finished_ = false;
    bool starPending_ = false;
    bool pendingFromRaw_ = false;
    int fallbackLeft_ = 0; // \uc fallback characters still to skip

    int documentCodePage_ = WesternCodePage;
    int defaultFont_ = -1;
    std::map<int, FontEntry> fonts_;
    int fontEntry_ = -1;
    bool fontEntryOpen_ = false;
    std::vector<QColor> colours_;
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colourSet_ = false;
    std::vector<int> cellRightEdges_;

    std::optional<PictureData> picture_;
    std::size_t pictureDepth_ = 0;
    PictureBudget pictureBudget_;
    QString shapePropertyName_;

    // Notes: the group depth of the open note (0 when none), its kind and
    // number, and per kind the count of marks and the number that the body
    // gave the note about to follow.
    std::size_t noteDepth_ = 0;
    NoteKind noteKind_ = NoteKind::Footnote;
    int noteNumber_ = 0;
    std::array<int, 2> noteCount_{};
    std::array<int, 2> referencedNote_{};
    std::array<NoteNumbering, 2> noteNumbering_{NoteNumbering::Arabic, NoteNumbering::Arabic};

    QString runText_;
    CharState runChars_;
    ParaState runPara_;
};

} // namespace rtf
