#pragma once

#include <QLabel>

namespace newsbell {

// A one-line label narrower than its text: it shows the beginning with "…" and the whole text
// as its hint, instead of cutting the text off mid-letter. text() stays the whole text.
class ElidedLabel final : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace newsbell
