#pragma once

#include "htmltext/ImageList.h"

#include <QSize>

namespace newsbell::testing {

// An image list of count pictures of one size, each a plain red field.
class FakeImageList final : public ImageList {
public:
    FakeImageList(int count, QSize size) : count_(count), size_(size) {}

    int count() const override { return count_; }
    int width() const override { return size_.width(); }
    int height() const override { return size_.height(); }
    QImage image(int index) const override;

private:
    int count_;
    QSize size_;
};

} // namespace newsbell::testing
