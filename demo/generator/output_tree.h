// SPDX-License-Identifier: MIT
#pragma once
#include "base/result.h"
#include <QByteArray>
#include <QString>

namespace demo {

// Writes the files of the install root. A file whose bytes are already
// there is left untouched, so a rebuild does not disturb time stamps.
class OutputTree {
public:
    explicit OutputTree(const QString& root) : root_(root) {}

    // relativePath uses "/" separators.
    base::Status write(const QString& relativePath, const QByteArray& bytes, bool executable = false);
    QString path(const QString& relativePath) const;
    int written() const { return written_; }

private:
    QString root_;
    int written_ = 0;
};

// A text for Windows tools: UTF-8 with a byte order mark and CR LF line ends.
QByteArray WindowsText(const QByteArray& utf8);

} // namespace demo
