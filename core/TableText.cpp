#include "core/TableText.h"

#include "base/Error.h"

#include <algorithm>
#include <utility>

namespace newsbell {

TableText::TableText(TableText&& other) noexcept
    : data_(std::move(other.data_)), size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)) {}

TableText& TableText::operator=(TableText&& other) noexcept {
    data_ = std::move(other.data_);
    size_ = std::exchange(other.size_, 0);
    capacity_ = std::exchange(other.capacity_, 0);
    return *this;
}

void TableText::grow(size_t bytes) {
    constexpr size_t limit = UINT32_MAX;
    if (bytes > limit - size_) throw Error("Таблица событий слишком велика (больше 4 ГБ текста)");
    const size_t wanted =
        std::min(limit, std::max({size_t(size_) + bytes, 2 * capacity_, size_t(4096)}));
    auto grown = std::make_unique_for_overwrite<char[]>(wanted + 16);
    if (size_ != 0) std::memcpy(grown.get(), data_.get(), size_);
    data_ = std::move(grown);
    capacity_ = wanted;
}

} // namespace newsbell
