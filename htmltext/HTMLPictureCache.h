#pragma once

#include "HTMLPicture.h"

#include <memory>
#include <string_view>
#include <vector>

namespace newsbell {

// Pictures the renderer loaded by resource, file or network name, kept for the life of the
// window that owns the cache.
class THTMLPictureCache {
public:
    // A new empty picture at the end of the list.
    THTMLPicture* AddPicture();
    // The first picture whose cache name equals `name` exactly (case matters), or nullptr.
    THTMLPicture* FindPicture(std::string_view name) const;
    THTMLPicture* GetPicture(int index) const;
    int Count() const { return int(pictures.size()); }

private:
    std::vector<std::unique_ptr<THTMLPicture>> pictures;
};

} // namespace newsbell
