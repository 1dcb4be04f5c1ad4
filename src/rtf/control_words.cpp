// SPDX-License-Identifier: MIT
#include "rtf/control_words.h"

#include <unordered_map>

namespace rtf {

namespace {

struct Entry {
    std::string_view name;
    WordInfo info;
};

constexpr Entry Entries[] = {
    {"rtf", {Word::Rtf}},
    {"ansi", {Word::Ansi}},
    {"mac", {Word::Mac}},
    {"pc", {Word::Pc}},
    {"pca", {Word::Pca}},
    {"ansicpg", {Word::AnsiCodePage}},
    {"deff", {Word::DefaultFont}},
    {"uc", {Word::UnicodeSkip}},
    {"u", {Word::Unicode}},
    {"bin", {Word::Bin}},

    {"fonttbl", {Word::FontTable}},
    {"colortbl", {Word::ColorTable}},
    {"pict", {Word::Picture}},
    {"shppict", {Word::ShapePicture}},
    {"fldrslt", {Word::FieldResult}},
    {"listtext", {Word::ListText}},
    {"pntext", {Word::ListText}},
    {"shpinst", {Word::ShapeInstructions}},
    {"sp", {Word::ShapeProperty}},
    {"sn", {Word::ShapePropertyName}},
    {"sv", {Word::ShapePropertyValue}},
    {"footnote", {Word::Footnote}},
    {"ftnalt", {Word::EndnoteFlag}},
    {"chftn", {Word::FootnoteMark}},
    {"ftnnar", {Word::FootnoteNumbering, 0, NoteNumbering::Arabic}},
    {"ftnnalc", {Word::FootnoteNumbering, 0, NoteNumbering::LowerAlpha}},
    {"ftnnauc", {Word::FootnoteNumbering, 0, NoteNumbering::UpperAlpha}},
    {"ftnnrlc", {Word::FootnoteNumbering, 0, NoteNumbering::LowerRoman}},
    {"ftnnruc", {Word::FootnoteNumbering, 0, NoteNumbering::UpperRoman}},
    {"ftnnchi", {Word::FootnoteNumbering, 0, NoteNumbering::Chicago}},
    {"aftnnar", {Word::EndnoteNumbering, 0, NoteNumbering::Arabic}},
    {"aftnnalc", {Word::EndnoteNumbering, 0, NoteNumbering::LowerAlpha}},
    {"aftnnauc", {Word::EndnoteNumbering, 0, NoteNumbering::UpperAlpha}},
    {"aftnnrlc", {Word::EndnoteNumbering, 0, NoteNumbering::LowerRoman}},
    {"aftnnruc", {Word::EndnoteNumbering, 0, NoteNumbering::UpperRoman}},
    {"aftnnchi", {Word::EndnoteNumbering, 0, NoteNumbering::Chicago}},

    {"f", {Word::Font}},
    {"fcharset", {Word::FontCharset}},
    {"cpg", {Word::FontCodePage}},
    {"red", {Word::Red}},
    {"green", {Word::Green}},
    {"blue", {Word::Blue}},

    {"plain", {Word::Plain}},
    {"b", {Word::Bold}},
    {"i", {Word::Italic}},
    {"ul", {Word::Underline}},
    {"ulw", {Word::Underline}},
    {"uldb", {Word::Underline}},
    {"ulth", {Word::Underline}},
    {"uld", {Word::UnderlineDotted}},
    {"ulthd", {Word::UnderlineDotted}},
    {"uldash", {Word::UnderlineDashed}},
    {"ulthdash", {Word::UnderlineDashed}},
    {"ulldash", {Word::UnderlineDashed}},
    {"uldashd", {Word::UnderlineDashDot}},
    {"ulthdashd", {Word::UnderlineDashDot}},
    {"uldashdd", {Word::UnderlineDashDotDot}},
    {"ulthdashdd", {Word::UnderlineDashDotDot}},
    {"ulwave", {Word::UnderlineWave}},
    {"ulhwave", {Word::UnderlineWave}},
    {"ululdbwave", {Word::UnderlineWave}},
    {"ulnone", {Word::UnderlineNone}},
    {"strike", {Word::Strike}},
    {"striked", {Word::Strike}},
    {"fs", {Word::FontSize}},
    {"cf", {Word::Foreground}},
    {"cb", {Word::Background}},
    {"highlight", {Word::Background}},
    {"chcbpat", {Word::Background}},
    {"v", {Word::Hidden}},
    {"super", {Word::Superscript}},
    {"sub", {Word::Subscript}},
    {"nosupersub", {Word::NoSuperSub}},

    {"pard", {Word::ParagraphDefault}},
    {"ql", {Word::AlignLeft}},
    {"qc", {Word::AlignCenter}},
    {"qr", {Word::AlignRight}},
    {"qj", {Word::AlignJustify}},
    {"li", {Word::LeftIndent}},
    {"lin", {Word::LeftIndent}},
    {"ri", {Word::RightIndent}},
    {"rin", {Word::RightIndent}},
    {"fi", {Word::FirstIndent}},
    {"sb", {Word::SpaceBefore}},
    {"sa", {Word::SpaceAfter}},
    {"intbl", {Word::InTable}},

    {"par", {Word::Par}},
    {"sect", {Word::Par}},
    {"page", {Word::Par}},
    {"line", {Word::Line}},
    {"tab", {Word::Tab}},
    {"cell", {Word::Cell}},
    {"row", {Word::Row}},
    {"nestcell", {Word::NestedCell}},
    {"nestrow", {Word::NestedRow}},
    {"trowd", {Word::RowDefaults}},
    {"cellx", {Word::CellRightEdge}},

    {"emdash", {Word::Character, 0x2014}},
    {"endash", {Word::Character, 0x2013}},
    {"bullet", {Word::Character, 0x2022}},
    {"lquote", {Word::Character, 0x2018}},
    {"rquote", {Word::Character, 0x2019}},
    {"ldblquote", {Word::Character, 0x201C}},
    {"rdblquote", {Word::Character, 0x201D}},
    {"emspace", {Word::Character, 0x2003}},
    {"enspace", {Word::Character, 0x2002}},
    {"qmspace", {Word::Character, 0x2005}},
    {"zwj", {Word::Character, 0x200D}},
    {"zwnj", {Word::Character, 0x200C}},
    {"ltrmark", {Word::Character, 0x200E}},
    {"rtlmark", {Word::Character, 0x200F}},

    {"pngblip", {Word::PngBlip}},
    {"jpegblip", {Word::JpegBlip}},
    {"emfblip", {Word::EmfBlip}},
    {"wmetafile", {Word::WmfBlip}},
    {"macpict", {Word::OtherBlip}},
    {"pmmetafile", {Word::OtherBlip}},
    {"dibitmap", {Word::OtherBlip}},
    {"wbitmap", {Word::OtherBlip}},
    {"picw", {Word::PictureWidth}},
    {"pich", {Word::PictureHeight}},
    {"picwgoal", {Word::PictureGoalWidth}},
    {"pichgoal", {Word::PictureGoalHeight}},
    {"picscalex", {Word::PictureScaleX}},
    {"picscaley", {Word::PictureScaleY}},
};

// Destinations written without \* whose text is not part of the shown
// document; starred destinations are skipped unless shown explicitly.
constexpr std::string_view SkippedDestinations[] = {
    "info", "stylesheet", "header", "headerl", "headerr", "headerf", "footer", "footerl",
    "footerr", "footerf", "annotation", "atnid", "atnauthor", "atndate", "atnref",
    "xe", "tc", "txe", "rxe", "fldinst", "nonshppict", "listtable", "listoverridetable",
    "revtbl", "rsidtbl", "pgdsctbl", "filetbl", "colorschememapping", "themedata",
    "latentstyles", "datastore", "xmlnstbl", "mmathPr", "generator", "template", "ftnsep",
    "ftnsepc", "ftncn", "aftnsep", "aftnsepc", "aftncn", "comment", "author", "operator",
    "title", "subject", "keywords", "doccomm", "company", "category", "manager", "hlinkbase",
    "creatim", "revtim", "printim", "buptim", "userprops", "docvar", "private", "objdata",
    "objclass", "objname", "do", "shprslt", "background", "falt", "panose", "fontemb",
    "fontfile", "listpicture", "pn", "pnseclvl", "pntxta", "pntxtb", "bkmkstart", "bkmkend",
    "blipuid", "picprop", "ud", "passwordhash", "protusertbl", "defchp", "defpap", "pgptbl",
};

const std::unordered_map<std::string_view, WordInfo>& Table()
{
    static const auto table = [] {
        std::unordered_map<std::string_view, WordInfo> t;
        for (const Entry& e : Entries)
            t.emplace(e.name, e.info);
        for (const std::string_view name : SkippedDestinations)
            t.emplace(name, WordInfo{Word::SkippedDestination});
        return t;
    }();
    return table;
}

} // namespace

WordInfo LookUpWord(std::string_view name)
{
    const auto& table = Table();
    const auto found = table.find(name);
    return found == table.end() ? WordInfo{} : found->second;
}

bool IsShownStarredDestination(Word word)
{
    return word == Word::ShapePicture || word == Word::ShapeInstructions || word == Word::Footnote;
}

} // namespace rtf
