// SPDX-License-Identifier: MIT
#pragma once
#include "catalogue/queries.h"
#include "range_box.h"
#include <QComboBox>

namespace app {

// A drop-down list as the target of a list fill: it never shows a pick of
// its own, however it was filled.
class ComboListTarget : public catalogue::ListTarget {
public:
    explicit ComboListTarget(QComboBox* combo) : combo_(combo) {}
    void clear() override
    {
        combo_->clear();
        combo_->setCurrentIndex(-1);
    }
    void append(const QString& item) override
    {
        combo_->addItem(item);
        combo_->setCurrentIndex(-1);  // adding to an empty list would pick the item
    }

private:
    QComboBox* combo_;
};

class RangeBoxTarget : public catalogue::TextTarget {
public:
    explicit RangeBoxTarget(RangeBox* box) : box_(box) {}
    QString text() const override { return box_->text(); }
    void setText(const QString& text) override { box_->setText(text); }

private:
    RangeBox* box_;
};

} // namespace app
