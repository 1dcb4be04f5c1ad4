// SPDX-License-Identifier: MIT
#include "rtf/tokenizer.h"

#include <climits>

namespace rtf {

namespace {

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

Token Of(TokenKind kind)
{
    Token token;
    token.kind = kind;
    return token;
}

bool EndsText(char c) { return c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n'; }

} // namespace

Token Tokenizer::next()
{
    // Line breaks in the file carry no meaning outside of control sequences.
    while (pos_ < data_.size() && (data_[pos_] == '\r' || data_[pos_] == '\n'))
        ++pos_;
    if (pos_ >= data_.size())
        return {};

    const char c = data_[pos_];
    if (c == '{') {
        ++pos_;
        return Of(TokenKind::GroupOpen);
    }
    if (c == '}') {
        ++pos_;
        return Of(TokenKind::GroupClose);
    }
    if (c == '\\')
        return controlSequence();

    const std::size_t start = pos_;
    while (pos_ < data_.size() && !EndsText(data_[pos_]))
        ++pos_;
    Token text = Of(TokenKind::Text);
    text.text = data_.substr(start, pos_ - start);
    return text;
}

Token Tokenizer::controlSequence()
{
    ++pos_; // the backslash
    if (pos_ >= data_.size())
        return {};
    const char c = data_[pos_];
    if (IsLetter(c))
        return controlWord();
    ++pos_;
    if (c == '\'')
        return hexByte();
    Token symbol = Of(TokenKind::ControlSymbol);
    // A backslash before a line break is an old spelling of \par.
    symbol.parameter = (c == '\r') ? '\n' : static_cast<unsigned char>(c);
    return symbol;
}

Token Tokenizer::controlWord()
{
    const std::size_t start = pos_;
    while (pos_ < data_.size() && IsLetter(data_[pos_]))
        ++pos_;
    Token word = Of(TokenKind::ControlWord);
    // Overlong words are consumed whole but never match a known word.
    word.text = data_.substr(start, pos_ - start);
    if (word.text.size() > MaxWordLength)
        word.text = word.text.substr(0, MaxWordLength);

    bool negative = false;
    if (pos_ + 1 < data_.size() && data_[pos_] == '-' && IsDigit(data_[pos_ + 1])) {
        negative = true;
        ++pos_;
    }
    if (pos_ < data_.size() && IsDigit(data_[pos_])) {
        // Saturate instead of overflowing; excess digits are still consumed.
        long long value = 0;
        while (pos_ < data_.size() && IsDigit(data_[pos_])) {
            if (value <= INT_MAX)
                value = value * 10 + (data_[pos_] - '0');
            ++pos_;
        }
        if (value > INT_MAX)
            value = INT_MAX;
        word.hasParameter = true;
        word.parameter = static_cast<int>(negative ? -value : value);
    }
    if (pos_ < data_.size() && data_[pos_] == ' ')
        ++pos_; // the delimiter belongs to the word
    return word;
}

Token Tokenizer::hexByte()
{
    int value = 0;
    int digits = 0;
    while (digits < 2 && pos_ < data_.size()) {
        const int h = HexValue(data_[pos_]);
        if (h < 0)
            break;
        value = value * 16 + h;
        ++digits;
        ++pos_;
    }
    Token hex = Of(TokenKind::HexByte);
    if (digits == 0) {
        // "\'" without hex digits stands for nothing; a symbol the reader ignores.
        hex.kind = TokenKind::ControlSymbol;
        value = '\'';
    }
    hex.parameter = value;
    return hex;
}

std::string_view Tokenizer::takeBinary(long long count)
{
    if (count <= 0)
        return {};
    const std::size_t available = data_.size() - pos_;
    const std::size_t n = static_cast<unsigned long long>(count) < available
        ? static_cast<std::size_t>(count) : available;
    const std::string_view bytes = data_.substr(pos_, n);
    pos_ += n;
    return bytes;
}

int Tokenizer::takeRawTrail()
{
    if (pos_ >= data_.size())
        return -1;
    const char c = data_[pos_];
    if (c == '\\' && pos_ + 1 < data_.size()) {
        const char escaped = data_[pos_ + 1];
        if (escaped == '\\' || escaped == '{' || escaped == '}') {
            pos_ += 2;
            return static_cast<unsigned char>(escaped);
        }
    }
    ++pos_;
    return static_cast<unsigned char>(c);
}

} // namespace rtf
