// SPDX-License-Identifier: MIT
#pragma once
// How one generate command waits for a CAD host that is not ready: starting
// up (a first start of the day can take more than a minute), or turning
// calls away while one of its dialogs is open, a command runs or a drawing
// loads. The command tries again at short intervals until the host answers
// or the bound has passed, and the window keeps painting in between.
#include <QDeadlineTimer>
#include <algorithm>
#include <chrono>
#include <functional>

namespace generation {

// The bound of one generate command's wait, and the interval between tries.
inline constexpr std::chrono::milliseconds kHostWaitBound = std::chrono::minutes(2);
inline constexpr std::chrono::milliseconds kHostRetryInterval{200};

class HostWait {
public:
    // Waits the given time and keeps the program alive meanwhile.
    using Pause = std::function<void(std::chrono::milliseconds)>;

    // pause: by default PumpEvents.
    explicit HostWait(std::chrono::milliseconds bound = kHostWaitBound,
                      std::chrono::milliseconds interval = kHostRetryInterval, Pause pause = {});

    // A generate command reaches the host: its bound starts now.
    void restart();
    bool expired() const { return deadline_.hasExpired(); }
    std::chrono::milliseconds bound() const { return bound_; }
    // What is left of the bound; zero once it has passed.
    std::chrono::milliseconds left() const
    {
        return std::chrono::milliseconds(std::max<qint64>(0, deadline_.remainingTime()));
    }
    // Before another try: waits one interval, or what is left of the bound
    // when that is shorter. False, without waiting, once the bound has passed.
    bool pauseBeforeRetry();

private:
    std::chrono::milliseconds bound_;
    std::chrono::milliseconds interval_;
    Pause pause_;
    QDeadlineTimer deadline_;
};

// Runs the event loop for the given time: the window repaints and the system
// sees a program that answers. The caller keeps user input away from its
// window meanwhile, so that no handler of the window runs.
void PumpEvents(std::chrono::milliseconds duration);

} // namespace generation
