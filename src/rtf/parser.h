#pragma once

#include "rtf/code_page.h"
#include "rtf/control_words.h"
#include "rtf/document_builder.h"
#include "rtf/group_state.h"
#include "rtf/picture.h"
#include "rtf/tokenizer.h"

#include <QColor>
#include <QString>

#include <map>
#include <optional>
#include <string_view>
#include <vector>

class QTextDocument;

namespace rtf {

// Reads RTF tokens through a stack of group states and appends the shown
// content to a document. Tolerates any input: unbalanced or too deeply nested
// groups and truncated data end the read with what was read so far.
class Parser {
public:
    static constexpr std::size_t MaxGroupDepth = 1000;

    Parser(std::string_view data, QTextDocument& document);
    void run();

private:
    struct FontEntry {
        QString name;
        int charset = -1;
        int codePage = 0;
        bool nameDone = false;
    };

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

    GroupState& state() { return stack_.back(); }
    bool ignoring() const;
    bool inBody() const { return stack_.back().destination == Destination::Body; }
    int codePage() const;

    void byte(unsigned char value, bool raw);
    void character(char32_t c);
    void deliver(const QString& decoded);
    void appendBody(const QString& text);
    void flushDecoder();
    void flushRun();
    void endParagraph();
    void finishPicture();

    QTextCharFormat charFormat(const CharState& chars) const;
    Paragraph paragraph(const ParaState& para) const;

    Tokenizer tokenizer_;
    DocumentBuilder builder_;
    CodePageDecoder decoder_;
    QString scratch_;

    std::vector<GroupState> stack_;
    std::size_t overflowDepth_ = 0; // groups beyond MaxGroupDepth, read but ignored
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

    QString runText_;
    CharState runChars_;
    ParaState runPara_;
};

} // namespace rtf
