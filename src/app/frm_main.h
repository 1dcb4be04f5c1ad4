// SPDX-License-Identifier: MIT
#pragma once
#include "controls/picture_button.h"
#include "controls/range_box.h"
#include "controls/stroke_box.h"
#include "controls/tagged_label.h"
#include "base/result.h"
#include "environment.h"
#include "selection/preview_arithmetic.h"
#include "selection/preview_picture_cache.h"
#include "validation/check_input.h"
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QTextEdit>
#include <QToolButton>
#include <QWidget>
#include <functional>

namespace app {

class ScrollBar16;

// The program's only window. The controls hold the whole selection: the
// Series and Type in the tags of Label1 and Label2, the Bore in cboDia, the
// strokes in txtData/txtData1 and the range texts in txtInfo/txtInfo1.
// Handlers are named after the control and event they serve.
class frmMain : public QWidget {
    Q_OBJECT
public:
    explicit frmMain(const Environment& environment, QWidget* parent = nullptr);
    ~frmMain() override;

    // Runs the start-up; false when the catalogue could not be opened (the
    // user has been told, the connection is closed, and the program should end).
    bool Form_Load();

    // Controls, by their design names (public so tests can drive the window).
    QGroupBox *Frame2, *Frame1, *Frame5, *Frame4, *Frame3, *Frame6;
    TaggedLabel *Label1, *Label2, *Label3, *Label4;
    QComboBox *cboItem, *cboStyle, *cboDia;
    StrokeBox *txtData, *txtData1;
    RangeBox *txtInfo, *txtInfo1;
    PictureButton *Command2, *Command1, *cmd_Accessories, *Command3, *Cmd_clear;
    QFrame* Picture1;
    QLabel* Image1;
    ScrollBar16* VScroll1;
    QTextEdit* rtbData;

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Start-up and shutdown.
    void Form_Activate();
    void Form_Unload();

    // Selection cascade.
    void cboItem_Click();
    void cboStyle_Click();
    void cboDia_Click();
    void Label1_Change();
    void Label2_Change();
    void Label3_Change();
    void ResetStrokeEntry();
    void LockStrokeBoxes(bool locked);

    // Catalogue queries over the window's controls.
    void FillSeriesList();
    void FillTypeList(const QString& series);
    void FillBoreList(const QString& series, const QString& type);
    bool HasSecondStroke(const QString& series, const QString& type);
    bool StrokeEntryAllowed();
    void BuildRangeText();
    // Tells the user about a query that could not run; true when it ran.
    bool ReportQueryFailure(const base::Status& ran);
    // Empties a list whose fill failed, and the lists that depend on it.
    void EmptyListsFrom(QComboBox* failedList);
    catalogue::Connection* CatalogueConnection() const;

    // Preview panel and description documents.
    void txtData_Change();
    void VScroll1_Change();
    void ResetPreview(selection::RangeRule rule);
    double ImageHeightTwips() const;
    bool ShowPreviewPicture(const QString& path);
    void LoadSeriesDocument();
    bool LoadFile(const QString& path);
    void Command3_Click();

    // Stroke checks and the generate command.
    // Passes with StrokeEntryAllowed as it was read; a failure has been shown.
    validation::CheckResult CheckInput();
    void Command2_Click();

    // Utility buttons.
    void Command1_Click();
    void cmd_Accessories_Click();
    void Cmd_clear_Click();

    void BuildControls();
    void ConnectHandlers();
    void SetTabOrder();
    void ShowMessage(const messages::MessageBoxRequest& request);
    bool LoadDefaultFile(const QString& path, const std::function<bool(const QString&)>& load);
    QString InstallRoot() const;

    Environment environment_;
    // The last BuildRangeText's failure: its empty range boxes would admit
    // any stroke, so generate is refused until a Bore is chosen again.
    base::Status rangeTextFailure_;
    bool activated_ = false;
    bool unloaded_ = false;
    // The preview's decoded pictures, and which of them Image1 shows.
    selection::PreviewPictureCache previewPictures_;
    qint64 shownPicture_ = 0;
};

} // namespace app
