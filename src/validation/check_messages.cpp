// SPDX-License-Identifier: MIT
#include "check_messages.h"

namespace validation {

using messages::ErrorMessage;

messages::MessageBoxRequest CheckMessage(StrokeCheck check) {
    switch (check) {
    case StrokeCheck::NoSeries:
        return ErrorMessage(QStringLiteral("請選擇機種。"), QStringLiteral("Please select Series"));
    case StrokeCheck::NoType:
        return ErrorMessage(QStringLiteral("請選擇型式。"), QStringLiteral("Please select Type"));
    case StrokeCheck::NoBore:
        return ErrorMessage(QStringLiteral("請選擇內徑。"), QStringLiteral("Please select Bore"));
    case StrokeCheck::NotNonzeroNumber:
        return ErrorMessage(QStringLiteral("請輸入非零之數值型態。"),
                            QStringLiteral("Please Input Nonzero Number"));
    case StrokeCheck::FirstStrokeOutOfRange:
        return ErrorMessage(QStringLiteral("您所輸入的行程不符合範圍條件值"),
                            QStringLiteral("Input Error"));
    case StrokeCheck::SecondStrokeOutOfRange:
        return ErrorMessage(QStringLiteral("您所輸入的行程2不符合範圍條件值"),
                            QStringLiteral("Input Error"));
    }
    Q_UNREACHABLE();
}

} // namespace validation
