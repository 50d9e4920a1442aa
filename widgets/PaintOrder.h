#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <chrono>

class QWidget;

namespace newsbell {

// Lets a popup reach the screen before the window it is shown over repaints. With the browser
// in the window, every repaint of the window composites all of it, and a popup shown after a
// change of the window would wait for that; the window's changes keep until the popup has
// painted, or until a bound has passed.
class PaintOrder final : public QObject {
    Q_OBJECT
public:
    explicit PaintOrder(QWidget& window,
                        std::chrono::milliseconds bound = std::chrono::milliseconds(100));
    ~PaintOrder() override;

    // The window's changes from now on show after popup's next paint.
    void popupFirst(QWidget* popup);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void release();

    QWidget& window_;
    QPointer<QWidget> popup_;
    QTimer bound_;
};

} // namespace newsbell
