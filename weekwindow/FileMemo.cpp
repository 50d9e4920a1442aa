#include "weekwindow/FileMemo.h"

#include "base/Cp1251.h"

namespace newsbell {

namespace {

// CR LF, a lone LF and a lone CR each end a line; the file's last line end opens no line.
QString memoText(std::string_view bytes) {
    QString text = fromCp1251(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (text.endsWith(QLatin1Char('\n'))) text.chop(1);
    return text;
}

} // namespace

FileMemo::FileMemo(QWidget* parent) : QPlainTextEdit(parent) {
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!updating_) edited_ = true;
    });
}

template <typename Change> void FileMemo::update(Change change) {
    updating_ = true;
    // The file's lines are no edit to undo, and keeping them for that would double the memory.
    document()->setUndoRedoEnabled(false);
    change();
    document()->setUndoRedoEnabled(true);
    updating_ = false;
    edited_ = false;
}

void FileMemo::showFile(std::string_view file, size_t unchanged) {
    if (!edited_ && shown_ <= unchanged) {
        if (file.size() > shown_) update([&] { appendPlainText(memoText(file.substr(shown_))); });
    } else {
        update([&] { setPlainText(memoText(file)); });
    }
    shown_ = file.size();
}

void FileMemo::clearFile() {
    update([this] { clear(); });
    shown_ = 0;
}

} // namespace newsbell
