#pragma once

#include <QtGlobal>

class QTextBlockFormat;
class QTextCharFormat;

namespace rtf {

// Qt lays a document out in 26.6 fixed point and never finishes one taller
// than 8,388,607 pixels: past that height it waits for a page break that
// never comes. A few kilobytes of RTF in a 1638-point font get there. So the
// height content could take at worst is counted as it is added (every
// character on a line of its own, each line twice its font size, at twice
// the standard resolution), and content past the budget is left out.
// Real descriptions stay far below it: about 125,000 characters at 12 pt.
class HeightBudget {
public:
    // Pixels at 96 dpi: half the limit, for screens at up to 192 dpi.
    static constexpr double MaxHeight = 4'000'000;

    // defaultPointSize: the size of text without a size of its own.
    explicit HeightBudget(double defaultPointSize);

    // How many of `count` characters in this format still fit.
    qsizetype takeCharacters(qsizetype count, const QTextCharFormat& format);
    // A paragraph or cell ending: an empty line at the default size and the
    // paragraph's spacing.
    bool takeBreak(const QTextBlockFormat& paragraph);
    bool takePicture(double height);

    // Once something did not fit, nothing more does.
    bool exhausted() const { return exhausted_; }

private:
    double lineHeight(double pointSize) const;
    bool take(double height);

    double defaultPointSize_;
    double used_ = 0;
    bool exhausted_ = false;
};

} // namespace rtf
