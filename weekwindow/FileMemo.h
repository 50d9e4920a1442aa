#pragma once

#include <QPlainTextEdit>
#include <string_view>

namespace newsbell {

// A memo that shows a table text file (cp1251), one memo line per file line. A file that has
// only grown gets its new lines appended, so that a long run does not reload everything after
// every week; a file written anew, or a memo the user has typed into, is loaded whole.
class FileMemo final : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit FileMemo(QWidget* parent = nullptr);

    // Shows file, whose first unchanged bytes are the same as in the file shown before.
    void showFile(std::string_view file, size_t unchanged);
    void clearFile();

private:
    // Replaces the text, or appends to it, without counting that as the user's typing.
    template <typename Change> void update(Change change);

    size_t shown_ = 0; // the memo shows this many bytes of the file
    bool edited_ = false;
    bool updating_ = false;
};

} // namespace newsbell
