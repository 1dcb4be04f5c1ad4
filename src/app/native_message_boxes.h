#pragma once
#include "message_box.h"

namespace app {

// Shows each message as a modal box over the active window.
class NativeMessageBoxes : public MessageBoxes {
public:
    void show(const MessageBoxRequest& request) override;
};

} // namespace app
