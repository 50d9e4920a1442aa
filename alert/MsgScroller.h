#pragma once

namespace newsbell {

// The popup's navigator: which of its messages is shown. Position counts from 1; the shown
// message is line Position - 1, and 0 means none.
class TMsgScroller {
public:
    int Min() const { return min_; }
    // Refused when above Max.
    void SetMin(int value) {
        if (value <= max_) min_ = value;
    }
    int Max() const { return max_; }
    // Refused when below Min.
    void SetMax(int value) {
        if (value >= min_) max_ = value;
    }
    int Position() const { return position_; }
    void SetPosition(int value) { position_ = value; } // not checked against Min and Max
    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }

    bool CanGoBack() const { return min_ < position_; }
    bool CanGoForward() const { return position_ < max_; }

private:
    int min_ = 0;
    int max_ = 0;
    int position_ = 0;
    bool visible_ = false;
};

} // namespace newsbell
