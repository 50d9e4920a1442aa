#include "tests/support/FakeDesktop.h"

#include <stdexcept>

namespace newsbell::testing {

void RecordingMessages::showMessage(const QString& text) {
    shown.push_back(text);
    if (whileShown) whileShown();
}

std::optional<QString> ScriptedFileChooser::chooseFileToSave(QWidget*, const QString& startPath) {
    startPaths.push_back(startPath);
    if (answers.empty()) throw std::logic_error("the test gave the save dialog no answer");
    const QString answer = answers.front();
    answers.pop_front();
    if (answer.isEmpty()) return std::nullopt;
    return answer;
}

} // namespace newsbell::testing
