#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

namespace newsbell {

// The characters of all of a table's cells, one after another in one buffer, so that a row
// costs no allocation of its own and a table is freed at once. Places are 32-bit: a table's
// text stops at 4 GiB, with a clear error.
class TableText {
public:
    // Where a cell's text lies in the buffer.
    struct Span {
        std::uint32_t begin = 0;
        std::uint32_t size = 0;
    };

    TableText() = default;
    TableText(TableText&& other) noexcept;
    TableText& operator=(TableText&& other) noexcept;

    std::string_view view(Span span) const { return {data_.get() + span.begin, span.size}; }
    std::uint32_t size() const { return size_; }
    size_t capacity() const { return capacity_; }
    char* at(std::uint32_t place) { return data_.get() + place; }
    // Whether text lies in this buffer, and so would move with it when it grows.
    bool holds(std::string_view text) const {
        return data_ && text.data() >= data_.get() && text.data() < data_.get() + capacity_;
    }

    // Room for bytes more without moving.
    void reserve(size_t bytes) {
        if (capacity_ - size_ < bytes) grow(bytes);
    }
    void append(std::string_view text) {
        reserve(text.size());
        if (!text.empty()) std::memcpy(data_.get() + size_, text.data(), text.size());
        size_ += std::uint32_t(text.size());
    }
    // Appends a text cut out of a page that ends at pageEnd. A short one goes as one 16-byte
    // move, with no library call, when the page has 16 readable bytes from where it starts.
    void appendFromPage(std::string_view text, const char* pageEnd) {
        constexpr size_t block = 16;
        const size_t length = text.size();
        if (length == 0 || length > block || pageEnd - text.data() < std::ptrdiff_t(block))
            return append(text);
        reserve(length); // the buffer keeps a block's slack past its capacity
        std::memcpy(data_.get() + size_, text.data(), block);
        size_ += std::uint32_t(length);
    }
    // Drops what follows the first size characters.
    void cut(std::uint32_t size) { size_ = size; }

private:
    void grow(size_t bytes);

    std::unique_ptr<char[]> data_;
    std::uint32_t size_ = 0;
    size_t capacity_ = 0; // the buffer holds 16 bytes more, for appendFromPage
};

} // namespace newsbell
