#include "GuiTestSupport.h"
#include "app/gui/NewsbellApplication.h"
#include "base/Error.h"

#include <QCoreApplication>
#include <QEvent>
#include <gtest/gtest.h>

namespace newsbell {
namespace {

class FailingObject final : public QObject {
public:
    int handled = 0;

protected:
    bool event(QEvent* event) override {
        if (event->type() != QEvent::User) return QObject::event(event);
        ++handled;
        throw Error("Ошибка в обработчике");
    }
};

// Whatever escapes an event handler ends up in a message box, and the program goes on.
TEST(NewsbellApplication, reports_exceptions_that_escape_an_event_and_goes_on) {
    auto* application = qobject_cast<NewsbellApplication*>(QCoreApplication::instance());
    ASSERT_NE(application, nullptr);
    testing::RecordingMessages messages;
    ErrorReporter errors(messages);
    application->setErrorReporter(&errors);

    FailingObject object;
    QEvent direct(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&object, &direct));
    QCoreApplication::postEvent(&object, new QEvent(QEvent::User));
    QCoreApplication::processEvents();
    application->setErrorReporter(nullptr);

    EXPECT_EQ(object.handled, 2);
    EXPECT_EQ(messages.shown, QStringList(2, QString::fromUtf8("Ошибка в обработчике")));
}

} // namespace
} // namespace newsbell
