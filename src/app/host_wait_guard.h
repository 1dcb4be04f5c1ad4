// SPDX-License-Identifier: MIT
#pragma once
// The window while the generate command waits for the CAD host. The command
// runs on the user-interface thread, and while it waits for a host that is
// starting or busy it runs the event loop, so that the window repaints and
// the system does not take it for hung. Input must not reach the window
// then: a second press of the generate button, a key in a list or the close
// box would run a handler in the middle of the command. The guard swallows
// every input event for the window (not for message boxes, which are
// windows of their own) and shows the wait cursor, from the moment the
// command reaches the host until it ends or shows a message.
#include "generation/cad_host.h"
#include "messages/message_box.h"

#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

namespace app {

class HostWaitGuard final : public QObject {
public:
    explicit HostWaitGuard(QWidget& window);
    ~HostWaitGuard() override;
    HostWaitGuard(const HostWaitGuard&) = delete;
    HostWaitGuard& operator=(const HostWaitGuard&) = delete;

    void begin();  // input swallowed, wait cursor shown
    void end();    // as before
    bool active() const { return active_; }

    // True for the events a guarded window must not receive.
    static bool IsUserInput(int eventType);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool guards(QObject* watched) const;

    QPointer<QWidget> window_;
    bool active_ = false;
};

// The CAD host as the generate command sees it: the guard begins when the
// command reaches the host.
class GuardedCadHost final : public generation::CadHostConnector {
public:
    GuardedCadHost(generation::CadHostConnector& host, HostWaitGuard& guard)
        : host_(host), guard_(guard) {}
    void beginCommand() override
    {
        guard_.begin();
        host_.beginCommand();
    }
    base::Result<std::unique_ptr<generation::CadApplication>> getActiveObject(const QString& progId) override
    {
        return host_.getActiveObject(progId);
    }
    base::Result<std::unique_ptr<generation::CadApplication>> createObject(const QString& progId) override
    {
        return host_.createObject(progId);
    }

private:
    generation::CadHostConnector& host_;
    HostWaitGuard& guard_;
};

// A message ends the wait: the box takes input and shows the usual cursor.
class GuardedMessageBoxes final : public messages::MessageBoxes {
public:
    GuardedMessageBoxes(messages::MessageBoxes& boxes, HostWaitGuard& guard)
        : boxes_(boxes), guard_(guard) {}
    void show(const messages::MessageBoxRequest& request) override
    {
        guard_.end();
        boxes_.show(request);
    }

private:
    messages::MessageBoxes& boxes_;
    HostWaitGuard& guard_;
};

} // namespace app
