#include "tests/support/FakeImageList.h"

namespace newsbell::testing {

QImage FakeImageList::image(int) const {
    QImage picture(size_, QImage::Format_RGB32);
    picture.fill(Qt::red);
    return picture;
}

} // namespace newsbell::testing
