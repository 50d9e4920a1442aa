#include "base/Error.h"
#include "program/NewsbellApplication.h"
#include "tests/support/FakeDesktop.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QIcon>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <gtest/gtest.h>
#include <memory>

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

TEST(NewsbellApplication, draws_its_own_icon) {
    const QImage icon = QApplication::windowIcon().pixmap(32, 32).toImage();
    ASSERT_FALSE(icon.isNull());
    EXPECT_NE(icon.pixelColor(16, 16).alpha(), 0);
}

TEST(NewsbellApplication, speaks_russian_in_qts_own_dialogs_and_menus) {
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QString::fromUtf8("Отмена"));
    QLineEdit field;
    std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    EXPECT_TRUE(menu->actions().first()->text().startsWith(QString::fromUtf8("&Отменить")))
        << menu->actions().first()->text().toStdString();
}

} // namespace
} // namespace newsbell
