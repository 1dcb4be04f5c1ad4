// SPDX-License-Identifier: MIT
#pragma once
#include <QByteArray>
#include <QString>
#include <optional>

namespace demo {

// Traditional Chinese Windows text (code page 950). Nothing when the text
// holds a character the code page lacks.
std::optional<QByteArray> EncodeCp950(const QString& text);

} // namespace demo
