#include "widgets/ElidedLabel.h"

#include <QPainter>
#include <algorithm>

namespace newsbell {

void ElidedLabel::setShortenFirst(const QString& part) {
    shortenFirst_ = part;
    update();
}

QString ElidedLabel::fitted(int width) const {
    const QFontMetrics metrics = fontMetrics();
    QString shown = text();
    const qsizetype at = shortenFirst_.isEmpty() ? -1 : shown.indexOf(shortenFirst_);
    const int over = metrics.horizontalAdvance(shown) - width;
    if (over > 0 && at >= 0) {
        const int room = std::max(metrics.horizontalAdvance(QChar(0x2026)),
                                  metrics.horizontalAdvance(shortenFirst_) - over);
        shown.replace(at, shortenFirst_.size(),
                      metrics.elidedText(shortenFirst_, Qt::ElideMiddle, room));
    }
    // Widths of parts do not quite add up; what is still too long loses its end.
    return metrics.elidedText(shown, Qt::ElideRight, width);
}

void ElidedLabel::paintEvent(QPaintEvent*) {
    const QRect room = contentsRect();
    const QString shown = fitted(room.width());
    setToolTip(shown == text() ? QString() : text());
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(room, int(alignment()), shown);
}

} // namespace newsbell
