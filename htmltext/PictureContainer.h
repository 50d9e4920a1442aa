#pragma once

#include "HTMLPicture.h"
#include "base/RemovalNotice.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace newsbell {

// A picture kept under a name of the user's choosing.
class TPictureItem {
public:
    TPictureItem() = default;
    TPictureItem(const TPictureItem&) = delete;
    TPictureItem& operator=(const TPictureItem&) = delete;

    // Copies Name, Tag and the picture.
    void Assign(const TPictureItem& source);

    THTMLPicture& Picture() { return picture; }
    const THTMLPicture& Picture() const { return picture; }
    // Assigns `source` into the item's own picture.
    void SetPicture(const THTMLPicture& source) { picture.Assign(&source); }

    std::string Name; // cp1251
    int Tag = 0;

private:
    THTMLPicture picture;
};

class TPictureCollection {
public:
    TPictureItem& Add();
    int Count() const { return int(items.size()); }
    TPictureItem& Items(int index) const;
    void Delete(int index);
    void Clear() { items.clear(); }
    // Replaces the items with copies of those of `source`.
    void Assign(const TPictureCollection& source);

private:
    std::vector<std::unique_ptr<TPictureItem>> items;
};

// Components that refer to a container hear when it goes away.
class TPictureContainer : public RemovalNotice {
public:
    virtual ~TPictureContainer() = default;

    TPictureCollection& Items() { return items; }
    const TPictureCollection& Items() const { return items; }
    void SetItems(const TPictureCollection& source) { items.Assign(source); }

    // The picture of the first item whose name equals `name` without regard to case
    // (cp1251 letters, Cyrillic included), or nullptr.
    virtual THTMLPicture* FindPicture(std::string_view name) const;

private:
    TPictureCollection items;
};

} // namespace newsbell
