// SPDX-License-Identifier: MIT
#include "frm_main.h"
#include "catalogue/catalogue_path.h"
#include "catalogue/connection.h"
#include "controls/scroll_bar16.h"
#include "fonts.h"
#include "install_paths.h"
#include "messages/system_messages.h"
#include "selection/preview_picture.h"
#include "startup_trace.h"
#include <QCloseEvent>
#include <QEvent>

static void InitWindowPictures()
{
    // The pictures are compiled into a static library; make sure they register.
    Q_INIT_RESOURCE(window_pictures);
}

namespace app {

frmMain::frmMain(const Environment& environment, QWidget* parent)
    : QWidget(parent),
      environment_(environment),
      previewPictures_(environment.decodePicture ? environment.decodePicture : selection::DecodePreviewPicture)
{
    InitWindowPictures();
    InstallFontFallbacks();
    BuildControls();
    SetTabOrder();
    ConnectHandlers();
}

frmMain::~frmMain()
{
    Form_Unload();
}

void frmMain::ConnectHandlers()
{
    connect(cboItem, &QComboBox::activated, this, &frmMain::cboItem_Click);
    connect(cboStyle, &QComboBox::activated, this, &frmMain::cboStyle_Click);
    connect(cboDia, &QComboBox::activated, this, &frmMain::cboDia_Click);
    connect(Label1, &TaggedLabel::changed, this, &frmMain::Label1_Change);
    connect(Label2, &TaggedLabel::changed, this, &frmMain::Label2_Change);
    connect(Label3, &TaggedLabel::changed, this, &frmMain::Label3_Change);
    connect(txtData, &StrokeBox::changed, this, &frmMain::txtData_Change);
    connect(VScroll1, &ScrollBar16::changed, this, &frmMain::VScroll1_Change);
    connect(Command2, &QToolButton::clicked, this, &frmMain::Command2_Click);
    connect(Command3, &QToolButton::clicked, this, &frmMain::Command3_Click);
    connect(Command1, &QToolButton::clicked, this, &frmMain::Command1_Click);
    connect(cmd_Accessories, &QToolButton::clicked, this, &frmMain::cmd_Accessories_Click);
    connect(Cmd_clear, &QToolButton::clicked, this, &frmMain::Cmd_clear_Click);
}

bool frmMain::Form_Load()
{
    const QString cataloguePath = catalogue::CataloguePath(InstallRoot());
    const auto opened = catalogue::OpenCatalogueConnection(*environment_.catalogue, QString(),
                                                           QString(), true, true, cataloguePath);
    if (!opened) {
        // Without its catalogue the window cannot offer anything: say so and end.
        ShowMessage(messages::CatalogueOpenFailure(cataloguePath, opened.error()));
        Form_Unload();
        return false;
    }
    TraceStartupStep("catalogue");
    FillSeriesList();
    txtInfo->setLocked(true);
    ResetStrokeEntry();
    TraceStartupStep("series");
#ifdef Q_OS_WIN
    // Created for the CAD side; it may exist already or drive D may be missing.
    environment_.fileSystem->createFolder(QStringLiteral("D:\\VOV_File"));
#endif
    return true;
}

void frmMain::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !activated_) {
        activated_ = true;
        Form_Activate();
    }
}

void frmMain::Form_Activate()
{
    TraceStartupStep("activated");
    cboItem->setFocus();
    LoadDefaultFile(InstallPath(InstallRoot(), QStringLiteral("/Docs/default.rtf")),
                    [this](const QString& path) { return LoadFile(path); });
    TraceStartupStep("document");
    LoadDefaultFile(InstallPath(InstallRoot(), QStringLiteral("/Docs/default.jpg")),
                    [this](const QString& path) { return ShowPreviewPicture(path); });
    TraceStartupStep("picture");
}

void frmMain::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void frmMain::Form_Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    catalogue::CloseCatalogueConnection(CatalogueConnection());
}

void frmMain::Command1_Click()
{
    close();
}

catalogue::Connection* frmMain::CatalogueConnection() const
{
    return environment_.catalogue->connection.get();
}

void frmMain::ShowMessage(const messages::MessageBoxRequest& request)
{
    environment_.messageBoxes->show(request);
}

QString frmMain::InstallRoot() const
{
    return environment_.installRoot();
}

bool frmMain::LoadDefaultFile(const QString& path, const std::function<bool(const QString&)>& load)
{
    // These files come with the install root; a missing one is worth telling,
    // but the window works without it.
    if (load(path))
        return true;
    ShowMessage(messages::FileOpenFailure(path));
    return false;
}

} // namespace app
