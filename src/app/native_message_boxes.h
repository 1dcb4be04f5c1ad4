// SPDX-License-Identifier: MIT
#pragma once
#include "messages/message_box.h"

namespace app {

// Shows each message as a modal box over the active window; a box without a
// title of its own carries the program's.
class NativeMessageBoxes : public messages::MessageBoxes {
public:
    void show(const messages::MessageBoxRequest& request) override;
};

} // namespace app
