// SPDX-License-Identifier: MIT
#include "host_wait_guard.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace app {

HostWaitGuard::HostWaitGuard(QWidget& window) : window_(&window) {}

HostWaitGuard::~HostWaitGuard()
{
    end();
}

void HostWaitGuard::begin()
{
    if (active_)
        return;
    active_ = true;
    qApp->installEventFilter(this);
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void HostWaitGuard::end()
{
    if (!active_)
        return;
    active_ = false;
    qApp->removeEventFilter(this);
    QApplication::restoreOverrideCursor();
}

bool HostWaitGuard::IsUserInput(int eventType)
{
    switch (eventType) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

// The window, its controls and its native window; a dialog is a window of
// its own and keeps its input.
bool HostWaitGuard::guards(QObject* watched) const
{
    if (window_ == nullptr || watched == nullptr)
        return false;
    if (auto* widget = qobject_cast<QWidget*>(watched))
        return widget == window_ || window_->isAncestorOf(widget);
    if (auto* window = qobject_cast<QWindow*>(watched))
        return window == window_->windowHandle();
    return false;
}

bool HostWaitGuard::eventFilter(QObject* watched, QEvent* event)
{
    if (active_ && IsUserInput(event->type()) && guards(watched)) {
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace app
