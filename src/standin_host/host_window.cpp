// SPDX-License-Identifier: MIT
#include "host_window.h"
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>

namespace cadhost {

namespace {
constexpr int kCallRefreshMs = 100;
}

HostWindow::HostWindow(const QString& journalPath, QWidget* parent)
    : QMainWindow(parent),
      drawingPath_(new QLabel(tr("No drawing open"))),
      drawingContent_(new QPlainTextEdit),
      calls_(new QListWidget)
{
    setWindowTitle(tr("talvex-cadhost - stand-in CAD host"));
    drawingPath_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    drawingContent_->setReadOnly(true);
    // One line each: the list lays out a new row without measuring the others.
    calls_->setUniformItemSizes(true);

    auto* drawing = new QWidget;
    auto* drawingLayout = new QVBoxLayout(drawing);
    drawingLayout->addWidget(drawingPath_);
    drawingLayout->addWidget(drawingContent_);

    auto* callsPane = new QWidget;
    auto* callsLayout = new QVBoxLayout(callsPane);
    callsLayout->addWidget(new QLabel(
        tr("Calls received, the latest %1 (journal: %2)").arg(kShownCalls).arg(journalPath)));
    callsLayout->addWidget(calls_);

    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(drawing);
    splitter->addWidget(callsPane);
    setCentralWidget(splitter);
    resize(720, 560);

    callRefresh_.setSingleShot(true);
    callRefresh_.setInterval(kCallRefreshMs);
    connect(&callRefresh_, &QTimer::timeout, this, &HostWindow::showPendingCalls);
}

void HostWindow::showCall(const QString& journalLine)
{
    pendingCalls_.append(journalLine);
    if (pendingCalls_.size() > kShownCalls)
        pendingCalls_.removeFirst();
    if (!callRefresh_.isActive())
        callRefresh_.start();
}

void HostWindow::showPendingCalls()
{
    const int excess = calls_->count() + int(pendingCalls_.size()) - kShownCalls;
    if (excess > 0)
        calls_->model()->removeRows(0, std::min(excess, calls_->count()));
    calls_->addItems(pendingCalls_);
    pendingCalls_.clear();
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
