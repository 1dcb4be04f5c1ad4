// SPDX-License-Identifier: MIT
// The window's design: every control with its container, place, size, texts
// and colours. Places are in twips and converted at the screen's resolution.
#include "controls/picture_button.h"
#include "controls/scroll_bar16.h"
#include "frm_main.h"
#include "program_title.h"
#include "screen_metrics.h"
#include "vb_color.h"
#include <QFileInfo>
#include <QFont>
#include <QIcon>
#include <QImageReader>

namespace app {

namespace {

QRect Twips(int left, int top, int width, int height)
{
    return QRect(ToPixels(left), ToPixels(top), ToPixels(width), ToPixels(height));
}

void Place(QWidget* control, int left, int top, int width, int height)
{
    control->setGeometry(Twips(left, top, width, height));
}

// A label may grow to the right up to room twips, into free space of its
// container, when the stand-in font would wrap or cut its caption.
void Place(TaggedLabel* label, int left, int top, int width, int height, int room)
{
    label->setDesignGeometry(Twips(left, top, width, height), ToPixels(room));
}

void Paint(QWidget* control, quint32 back, quint32 fore = WindowTextColor)
{
    QPalette p = control->palette();
    p.setColor(QPalette::Window, ColorFromValue(back, p));
    p.setColor(QPalette::WindowText, ColorFromValue(fore, p));
    control->setPalette(p);
    control->setAutoFillBackground(true);
}

QGroupBox* MakeFrame(QWidget* container, const char* name, const QString& caption, quint32 back)
{
    auto* frame = new QGroupBox(caption, container);
    frame->setObjectName(QLatin1String(name));
    frame->setFlat(false);
    Paint(frame, back);
    return frame;
}

TaggedLabel* MakeLabel(QWidget* container, const char* name, const QString& caption)
{
    auto* label = new TaggedLabel(container);
    label->setObjectName(QLatin1String(name));
    label->setText(caption);  // design-time caption: no change reaction yet
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    Paint(label, PanelGrey);
    return label;
}

QComboBox* MakeDropDownList(QWidget* container, const char* name)
{
    auto* combo = new QComboBox(container);
    combo->setObjectName(QLatin1String(name));
    combo->setEditable(false);  // the user can only pick an entry
    combo->setCurrentIndex(-1);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContentsOnFirstShow);
    return combo;
}

StrokeBox* MakeStrokeBox(QWidget* container, const char* name)
{
    auto* box = new StrokeBox(container);
    box->setObjectName(QLatin1String(name));
    box->setBackColor(ColorFromValue(LockedStrokeColor, box->palette()));
    return box;
}

RangeBox* MakeRangeBox(QWidget* container, const char* name)
{
    auto* box = new RangeBox(container);
    box->setObjectName(QLatin1String(name));
    QPalette p = box->palette();
    const QColor red = ColorFromValue(RangeTextRed, p);
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::Text, red);
        p.setColor(group, QPalette::Base, p.color(QPalette::Active, QPalette::Base));
    }
    box->setPalette(p);
    box->setEnabled(false);  // display only
    return box;
}

// One of the window's own pictures, read as the format its name gives. Left
// to guess, Qt loads every image plugin to ask it about a PNG or BMP, which
// Qt reads itself, and that took longer than reading the pictures.
QPixmap WindowPicture(const char* resource)
{
    const QString path = QString::fromLatin1(resource);
    QImageReader reader(path, QFileInfo(path).suffix().toLatin1());
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImageReader(&reader);
}

PictureButton* MakePictureButton(QWidget* container, const char* name, const char* picture,
                                 const QString& toolTip)
{
    auto* button = new PictureButton(WindowPicture(picture), container);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(toolTip);
    return button;
}

} // namespace

void frmMain::BuildControls()
{
    setWindowTitle(ProgramTitle());
    QIcon icon;
    icon.addPixmap(WindowPicture(":/pictures/icon-16colors.png"));
    icon.addPixmap(WindowPicture(":/pictures/icon-256colors.png"));
    setWindowIcon(icon);

    QFont font(QStringLiteral("新細明體"));
    font.setPointSizeF(9.75);
    setFont(font);
    Paint(this, FormWhite);

    setFixedSize(ToPixels(10440), ToPixels(6840));

    Frame2 = MakeFrame(this, "Frame2", QString(), PanelGrey);
    Place(Frame2, 0, 0, 10410, 2610);

    Frame1 = MakeFrame(Frame2, "Frame1", QString(), PanelGrey);
    Place(Frame1, 150, 120, 5145, 1095);
    Label1 = MakeLabel(Frame1, "Label1", QStringLiteral("機種Series:"));
    Place(Label1, 30, 180, 1575, 240, 1650 - 30 - 30);
    cboItem = MakeDropDownList(Frame1, "cboItem");
    Place(cboItem, 30, 680, 1590, 315);
    Label2 = MakeLabel(Frame1, "Label2", QStringLiteral("型式Type:"));
    Place(Label2, 1650, 180, 1545, 480, 3270 - 1650 - 30);
    Label2->hide();
    cboStyle = MakeDropDownList(Frame1, "cboStyle");
    Place(cboStyle, 1650, 680, 1590, 315);
    cboStyle->hide();
    Label3 = MakeLabel(Frame1, "Label3", QStringLiteral("內徑Bore"));
    Place(Label3, 3270, 195, 1575, 240, 5145 - 3270 - 60);
    Label3->hide();
    cboDia = MakeDropDownList(Frame1, "cboDia");
    Place(cboDia, 3270, 680, 1850, 315);
    cboDia->hide();

    Frame5 = MakeFrame(Frame2, "Frame5", QString(), PanelGrey);
    Place(Frame5, 5280, 120, 5055, 1095);
    Label4 = MakeLabel(Frame5, "Label4", QStringLiteral("行程Stroke/角度Rotation"));
    Place(Label4, 120, 180, 2220, 240, 5055 - 120 - 120);
    txtData = MakeStrokeBox(Frame5, "txtData");
    Place(txtData, 120, 680, 2370, 315);
    txtData1 = MakeStrokeBox(Frame5, "txtData1");
    Place(txtData1, 2550, 680, 2370, 330);
    txtData1->hide();

    Frame4 = MakeFrame(Frame2, "Frame4", QString(), PanelGrey);
    Place(Frame4, 5280, 1200, 5055, 1305);
    Frame3 = MakeFrame(Frame4, "Frame3", QStringLiteral("行程範圍Range"), RangeBlue);
    Place(Frame3, 45, 120, 2445, 1065);
    txtInfo = MakeRangeBox(Frame3, "txtInfo");
    Place(txtInfo, 75, 240, 2300, 735);
    Frame6 = MakeFrame(Frame4, "Frame6", QStringLiteral("第二段行程範圍2nd Stroke"), RangeBlue);
    QFont frame6Font(QStringLiteral("新細明體"));
    frame6Font.setPointSizeF(9);
    Frame6->setFont(frame6Font);
    Place(Frame6, 2520, 120, 2445, 1065);
    Frame6->hide();
    txtInfo1 = MakeRangeBox(Frame6, "txtInfo1");
    txtInfo1->setFont(font);
    Place(txtInfo1, 75, 240, 2300, 735);

    Command2 = MakePictureButton(Frame2, "Command2", ":/pictures/check.png", QStringLiteral("執行3D程式"));
    Place(Command2, 2980, 1320, 2220, 480);
    Command1 = MakePictureButton(Frame2, "Command1", ":/pictures/cross.png", QStringLiteral("結束程式"));
    Place(Command1, 2980, 1910, 2220, 480);
    cmd_Accessories = MakePictureButton(Frame2, "cmd_Accessories", ":/pictures/accessories.jpg",
                                        QStringLiteral("連結配件庫"));
    Place(cmd_Accessories, 680, 1320, 2220, 650);
    Command3 = MakePictureButton(Frame2, "Command3", ":/pictures/autocad2017-up.jpg",
                                 QStringLiteral("設定LISP檔案連結問題"));
    Place(Command3, 680, 2010, 2220, 375);
    Cmd_clear = MakePictureButton(Frame2, "Cmd_clear", ":/pictures/waste-bin.bmp",
                                  QStringLiteral("清除3D TALVEX產生暫存檔"));
    Place(Cmd_clear, 120, 1320, 495, 1065);

    Picture1 = new QFrame(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Picture1->setLineWidth(2);
    Paint(Picture1, WindowBackgroundColor);
    Picture1->setFocusPolicy(Qt::StrongFocus);
    Place(Picture1, 0, 2640, 10455, 3370);
    // Positions inside the picture box count from the inside of its border.
    auto* inside = new QWidget(Picture1);
    inside->setGeometry(Picture1->contentsRect());
    Image1 = new QLabel(inside);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setToolTip(QStringLiteral("說明視窗"));
    Image1->setScaledContents(false);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Place(Image1, 0, 0, 10080, 14365);
    VScroll1 = new ScrollBar16(inside);
    VScroll1->setObjectName(QStringLiteral("VScroll1"));
    VScroll1->setFocusPolicy(Qt::StrongFocus);
    Place(VScroll1, 10080, 0, 315, 3315);

    rtbData = new QTextEdit(this);
    rtbData->setObjectName(QStringLiteral("rtbData"));
    rtbData->setReadOnly(true);
    rtbData->setTabChangesFocus(true);
    rtbData->setTextInteractionFlags(Qt::TextBrowserInteraction);
    Place(rtbData, 0, 6040, 10420, 780);
}

void frmMain::SetTabOrder()
{
    // Frames and labels take no focus; Qt skips hidden and disabled controls.
    QWidget* const order[] = {cboDia,  cboItem, cboStyle, txtData,         txtData1, txtInfo,
                              txtInfo1, rtbData, Command2, Command1,       cmd_Accessories,
                              Picture1, VScroll1, Cmd_clear, Command3};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

} // namespace app
