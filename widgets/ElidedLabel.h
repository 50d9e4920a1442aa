#pragma once

#include <QLabel>

namespace newsbell {

// A one-line label narrower than its text: it shows the beginning with "…" and the whole text
// as its hint, instead of cutting the text off mid-letter. text() stays the whole text. A part
// of the text that matters less (an address beside its freshness) can be shortened in its middle
// first, so that what follows it stays in sight.
class ElidedLabel final : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    // Shortened first when the text does not fit; none when empty or not in the text.
    void setShortenFirst(const QString& part);
    // What the label shows in width pixels.
    QString fitted(int width) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString shortenFirst_;
};

} // namespace newsbell
