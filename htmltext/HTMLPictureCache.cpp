#include "HTMLPictureCache.h"

#include "ListIndex.h"

namespace newsbell {

THTMLPicture* THTMLPictureCache::AddPicture() {
    pictures.push_back(std::make_unique<THTMLPicture>());
    return pictures.back().get();
}

THTMLPicture* THTMLPictureCache::FindPicture(std::string_view name) const {
    for (const auto& picture : pictures)
        if (picture->ID() == name) return picture.get();
    return nullptr;
}

THTMLPicture* THTMLPictureCache::GetPicture(int index) const {
    checkListIndex(index, Count());
    return pictures[std::size_t(index)].get();
}

} // namespace newsbell
