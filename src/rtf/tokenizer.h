// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string_view>

namespace rtf {

enum class TokenKind { End, GroupOpen, GroupClose, ControlWord, ControlSymbol, HexByte, Text };

struct Token {
    TokenKind kind = TokenKind::End;
    // ControlWord: its letters (at most MaxWordLength); Text: a run of literal bytes.
    std::string_view text;
    bool hasParameter = false;
    // ControlWord: the numeric parameter, saturated to the int range;
    // ControlSymbol / HexByte: the byte.
    int parameter = 0;
};

// Splits RTF bytes into tokens in one forward pass. Every call to next()
// consumes at least one byte until End, so a reader loop always terminates.
class Tokenizer {
public:
    static constexpr std::size_t MaxWordLength = 32;

    explicit Tokenizer(std::string_view data) : data_(data) {}

    Token next();

    // The raw bytes of a \binN block (fewer when the data ends first).
    std::string_view takeBinary(long long count);

    // A DBCS trail byte written raw after a raw lead byte; the writer may have
    // escaped it ("\\", "\{", "\}") or not. Returns -1 at the end.
    int takeRawTrail();

    int peekByte() const { return pos_ < data_.size() ? static_cast<unsigned char>(data_[pos_]) : -1; }

private:
    Token controlSequence();
    Token controlWord();
    Token hexByte();

    std::string_view data_;
    std::size_t pos_ = 0;
};

} // namespace rtf
