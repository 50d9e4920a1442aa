#pragma once

#include "base/RemovalNotice.h"

#include <QImage>
#include <string_view>

namespace newsbell {

// A list of equally sized pictures addressed by index, as a component offers them to the
// renderer ("IDX:" pictures) and the popup. Components that refer to a list hear when it goes
// away.
class ImageList : public RemovalNotice {
public:
    virtual ~ImageList() = default;
    virtual int count() const = 0;
    virtual int width() const = 0;
    virtual int height() const = 0;
    virtual QImage image(int index) const = 0;
};

// The desktop's icons for files and folders ("SSYS:" and "LSYS:" pictures). The name is an
// index into the desktop's icon list when it reads as a number, else a path or file name.
class SystemIconSource {
public:
    virtual ~SystemIconSource() = default;
    virtual int iconWidth(bool large) const = 0;
    virtual int iconHeight(bool large) const = 0;
    // A null image when the desktop has no icon for the name.
    virtual QImage icon(std::string_view name, bool large) const = 0;
};

} // namespace newsbell
