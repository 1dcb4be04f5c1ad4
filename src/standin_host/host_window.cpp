#include "host_window.h"
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QVBoxLayout>

namespace cadhost {

HostWindow::HostWindow(const QString& journalPath, QWidget* parent)
    : QMainWindow(parent),
      drawingPath_(new QLabel(tr("No drawing open"))),
      drawingContent_(new QPlainTextEdit),
      calls_(new QListWidget)
{
    setWindowTitle(tr("talvex-cadhost - stand-in CAD host"));
    drawingPath_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    drawingContent_->setReadOnly(true);

    auto* drawing = new QWidget;
    auto* drawingLayout = new QVBoxLayout(drawing);
    drawingLayout->addWidget(drawingPath_);
    drawingLayout->addWidget(drawingContent_);

    auto* callsPane = new QWidget;
    auto* callsLayout = new QVBoxLayout(callsPane);
    callsLayout->addWidget(new QLabel(tr("Calls received (journal: %1)").arg(journalPath)));
    callsLayout->addWidget(calls_);

    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(drawing);
    splitter->addWidget(callsPane);
    setCentralWidget(splitter);
    resize(720, 560);
}

void HostWindow::showCall(const QString& journalLine)
{
    calls_->addItem(journalLine);
    calls_->scrollToBottom();
}

void HostWindow::showDrawing(const QString& path, bool readOnly, const QString& content)
{
    drawingPath_->setText(readOnly ? tr("Drawing: %1 (read-only)").arg(path)
                                   : tr("Drawing: %1").arg(path));
    drawingContent_->setPlainText(content);
}

void HostWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    QCoreApplication::quit();
}

} // namespace cadhost
