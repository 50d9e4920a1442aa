#include "PictureContainer.h"

#include "ListIndex.h"
#include "base/Cp1251.h"

namespace newsbell {

void TPictureItem::Assign(const TPictureItem& source) {
    if (&source == this) return;
    Name = source.Name;
    Tag = source.Tag;
    picture.Assign(&source.picture);
}

TPictureItem& TPictureCollection::Add() {
    items.push_back(std::make_unique<TPictureItem>());
    return *items.back();
}

TPictureItem& TPictureCollection::Items(int index) const {
    checkListIndex(index, Count());
    return *items[std::size_t(index)];
}

void TPictureCollection::Delete(int index) {
    Items(index);
    items.erase(items.begin() + index);
}

void TPictureCollection::Assign(const TPictureCollection& source) {
    if (&source == this) return;
    items.clear();
    for (const auto& item : source.items) Add().Assign(*item);
}

THTMLPicture* TPictureContainer::FindPicture(std::string_view name) const {
    const QString wanted = fromCp1251(name);
    for (int i = 0; i < items.Count(); ++i) {
        TPictureItem& item = items.Items(i);
        if (QString::compare(fromCp1251(item.Name), wanted, Qt::CaseInsensitive) == 0)
            return &item.Picture();
    }
    return nullptr;
}

} // namespace newsbell
