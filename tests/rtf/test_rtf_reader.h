#pragma once

#include <QObject>

class TestRtfReader : public QObject {
    Q_OBJECT

private slots:
    // header, loading and replacing (test_rtf_loading.cpp)
    void rejectsDataWithoutHeader_data();
    void rejectsDataWithoutHeader();
    void failedReadLeavesDocumentAsItWas();
    void loadReplacesWholeContent();
    void loadFileFailsForMissingOrUnusableFiles();
    void loadFileReadsRtfFile();

    // text and code pages (test_rtf_text.cpp)
    void tokenizerSplitsControlWords();
    void decoderJoinsSplitMultiByteCharacters();
    void big5HexPairsWithFontCharset();
    void big5RawBytes();
    void codePages_data();
    void codePages();
    void unicodeEscapesWithFallbackSkipping_data();
    void unicodeEscapesWithFallbackSkipping();
    void specialCharactersAndBreaks();

    // formatting (test_rtf_formatting.cpp)
    void boldAndItalicRuns();
    void characterFormatting();
    void paragraphFormatting();

    // pictures, tables, fields, destinations (test_rtf_objects.cpp)
    void pngPicture();
    void pictureDisplaySize_data();
    void pictureDisplaySize();
    void jpegAndBinaryPictures();
    void unsupportedAndBrokenPicturesAreSkipped();
    void tableFromFile();
    void tablesEndAtPlainParagraphs();
    void fieldResultsShownDestinationsSkipped();

    // pictures that could exhaust memory (test_rtf_picture_limits.cpp)
    void pngKeepsOnlyChunksNeededToDraw();
    void hostilePngChunksNeverReachTheDecoder();
    void picturesBeyondPixelBudgetAreSkipped();

    // damaged input (test_rtf_malformed.cpp)
    void truncatedFileKeepsPartialContent();
    void truncatedInsideEscapesAndPictures();
    void unbalancedBraces();
    void hugeNumbers();
    void deepNesting();
    void largeTableStaysLinear();
    void mutatedFilesNeverCrash();
};
