// SPDX-License-Identifier: MIT
#include "native_message_boxes.h"
#include "program_title.h"
#include <QApplication>
#include <QMessageBox>

namespace app {

using messages::MessageBoxRequest;

void NativeMessageBoxes::show(const MessageBoxRequest& request)
{
    QMessageBox box(request.icon == MessageBoxRequest::Icon::Critical ? QMessageBox::Critical
                                                                      : QMessageBox::NoIcon,
                    request.title.isEmpty() ? ProgramTitle() : request.title,
                    request.text, QMessageBox::Ok, QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

} // namespace app
