// SPDX-License-Identifier: MIT
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

    // WMF and EMF pictures (test_rtf_metafiles.cpp)
    void wmfVectorAndBitmapRecordsDrawn();
    void emfVectorBitmapAndTextRecordsDrawn();
    void metafileShownSize_data();
    void metafileShownSize();
    void metafilesFromWordProcessors();
    void undrawableMetafileLeavesBlankFrame();

    // metafiles that lie about themselves (test_rtf_metafile_limits.cpp)
    void hostileWmfRecords_data();
    void hostileWmfRecords();
    void hostileEmfRecords_data();
    void hostileEmfRecords();
    void longMetafileStopsAtRecordBudget();
    void documentOfManyMetafilesStaysBounded();
    void drawingWorkIsSharedByTheDocument();

    // symbol fonts, shapes, notes (test_rtf_symbols_shapes_notes.cpp)
    void symbolFontCharacters_data();
    void symbolFontCharacters();
    void symbolTablesLineUp();
    void floatingPicturesAndTextBoxesShowInline();
    void footnotesAndEndnotesAtTheEnd();
    void noteNumbering_data();
    void noteNumbering();

    // damaged input (test_rtf_malformed.cpp)
    void truncatedFileKeepsPartialContent();
    void truncatedInsideEscapesAndPictures();
    void unbalancedBraces();
    void hugeNumbers();
    void deepNesting();
    void textPastDepthLimitKeepsDeepestFormatting();
    void largeTableStaysLinear();
    void shortRowsCountAsWideAsTheTable();
    void tallDocumentsAreCutBeforeLayoutLimit_data();
    void tallDocumentsAreCutBeforeLayoutLimit();
    void longDocumentsOfOrdinaryTextAreKeptWhole_data();
    void longDocumentsOfOrdinaryTextAreKeptWhole();
    void mutatedFilesNeverCrash();
};
