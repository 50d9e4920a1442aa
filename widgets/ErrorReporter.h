#pragma once

#include "widgets/Desktop.h"

#include <QSet>
#include <QString>
#include <exception>
#include <functional>

namespace newsbell {

// The one place where failures of handlers end up: the message goes to a message box and the
// program goes on. A message already on screen is not shown again until its box is closed, so a
// timer that keeps failing does not stack boxes.
class ErrorReporter {
public:
    explicit ErrorReporter(MessageSink& messages) : messages_(messages) {}

    void report(const std::exception& failure);
    void report(const QString& message);

    // Runs a handler; whatever it throws is reported here.
    void run(const std::function<void()>& handler);

    // A handler for Qt's connect() that runs member through run().
    template <typename Object, typename Member> auto handler(Object* object, Member member) {
        return [this, object, member] { run([object, member] { (object->*member)(); }); };
    }

private:
    MessageSink& messages_;
    QSet<QString> onScreen_;
};

} // namespace newsbell
