// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>
#include <type_traits>

namespace metafile {

// A view of bytes from a metafile, such as one record, that never reads past
// its end: check the extent of a layout with has(), then read its fields
// with at(), which gives a zero value for anything outside the view.
// Metafiles are little-endian, as are the machines this program runs on.
class Bytes {
public:
    Bytes() = default;
    Bytes(const char* data, std::size_t size) : data_(data), size_(size) {}
    explicit Bytes(std::string_view view) : data_(view.data()), size_(view.size()) {}

    const char* data() const { return data_; }
    std::size_t size() const { return size_; }
    std::string_view view() const { return {data_, size_}; }

    // Whether [offset, offset + length) lies inside, without overflowing.
    bool has(std::size_t offset, std::size_t length) const
    {
        return offset <= size_ && length <= size_ - offset;
    }
    // Whether `count` items of `itemSize` bytes fit from `offset` on.
    bool hasArray(std::size_t offset, std::size_t count, std::size_t itemSize) const
    {
        return offset <= size_ && (itemSize == 0 || count <= (size_ - offset) / itemSize);
    }

    template <typename T>
    T at(std::size_t offset) const
    {
        static_assert(std::is_trivially_copyable_v<T>);
        T value{};
        if (has(offset, sizeof(T)))
            std::memcpy(&value, data_ + offset, sizeof(T));
        return value;
    }

    // The bytes [offset, offset + length), or an empty view when they do not fit.
    Bytes sub(std::size_t offset, std::size_t length) const
    {
        return has(offset, length) ? Bytes(data_ + offset, length) : Bytes();
    }
    // The bytes from `offset` to the end; empty when `offset` is past it.
    Bytes from(std::size_t offset) const { return offset <= size_ ? Bytes(data_ + offset, size_ - offset) : Bytes(); }

private:
    const char* data_ = nullptr;
    std::size_t size_ = 0;
};

} // namespace metafile
