#include "tagged_label.h"

namespace app {

void TaggedLabel::setCaption(const QString& caption)
{
    setText(caption);
    emit changed();
}

} // namespace app
