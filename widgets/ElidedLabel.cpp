#include "widgets/ElidedLabel.h"

#include <QPainter>

namespace newsbell {

void ElidedLabel::paintEvent(QPaintEvent*) {
    const QRect room = contentsRect();
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, room.width());
    setToolTip(shown == text() ? QString() : text());
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(room, int(alignment()), shown);
}

} // namespace newsbell
