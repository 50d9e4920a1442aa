#pragma once

#include "alert/AlertPopup.h"
#include "htmltext/HTMLPictureCache.h"

#include <QWidget>
#include <utility>
#include <vector>

namespace newsbell {

// A plain popup: the first message on the window colour, closed by a click. It serves the
// component until the full popup window with its buttons and navigation takes its place.
class PlainAlertPopup final : public QWidget, public AlertPopup {
public:
    explicit PlainAlertPopup(QWidget* owner);

    int messageCount() const override { return int(messages_.size()); }
    void addMessage(const std::string& text, int imageIndex) override;
    void setMessage(int index, const std::string& text, int imageIndex) override;
    void clearMessages() override;
    void deleteMessage(int index) override;
    TMsgCollection& messageSettings() override { return settingsCopy_; }
    void applySettings(const AlertWindowSettings& settings) override;
    bool isShown() const override { return isVisible(); }
    void setShown(bool shown) override { setVisible(shown); }
    QRect bounds() const override { return geometry(); }
    void setBounds(const QRect& bounds) override { setGeometry(bounds); }
    void setOpacity(int alpha) override;
    QRect popupButtonRect() const override { return QRect(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void listChanged();
    void closePath();

    std::vector<std::pair<std::string, int>> messages_;
    TMsgCollection settingsCopy_;
    AlertWindowSettings settings_;
    THTMLPictureCache pictures_;
};

} // namespace newsbell
