#pragma once

#include <QObject>
#include <QString>
#include <stdexcept>

namespace newsbell::testing {

// A control of a window by its object name (its name in the window definition), for tests that
// press, type or look where the user would. A name the window does not have fails the test.
template <typename Control> Control* control(const QObject& window, const char* name) {
    auto* found = window.findChild<Control*>(QString::fromLatin1(name));
    if (!found)
        throw std::logic_error(window.objectName().toStdString() + " has no control " + name);
    return found;
}

} // namespace newsbell::testing
