// SPDX-License-Identifier: MIT
#pragma once
#include <QString>
#include <stdexcept>

namespace catalogue {

// A failure of the catalogue engine, carrying the description shown to the user.
class CatalogueError : public std::runtime_error {
public:
    explicit CatalogueError(const QString& description)
        : std::runtime_error(description.toStdString()), description_(description) {}
    const QString& description() const { return description_; }

private:
    QString description_;
};

} // namespace catalogue
