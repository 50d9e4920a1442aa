#pragma once

#include "alert/MsgCollection.h"

#include <QObject>

class QWidget;

namespace newsbell {

// The alert component of the main window: the list of alert messages and the settings of the
// popup that shows them.
class TAlertNotifier : public QObject {
    Q_OBJECT
public:
    // owner: the window that owns the component and its popup.
    explicit TAlertNotifier(QWidget* owner);
    ~TAlertNotifier() override;

    TMsgCollection& AlertMessages() { return messages_; }

    int DisplayTime() const { return displayTime_; }
    void SetDisplayTime(int milliseconds) { displayTime_ = milliseconds; }

    // Shows the messages in the popup, or refreshes a popup already shown.
    void Show();

signals:
    // Every call of Show(), before it does anything.
    void showRequested();

private:
    TMsgCollection messages_;
    int displayTime_ = 5000;
};

} // namespace newsbell
