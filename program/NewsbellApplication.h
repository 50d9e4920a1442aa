#pragma once

#include "widgets/ErrorReporter.h"

#include <QApplication>
#include <QTranslator>

namespace newsbell {

// Qt's own texts in Russian, when Qt's translations are installed; needs an application object.
bool installQtTranslations(QTranslator& translator);

// The application object. Handlers are wrapped by ErrorReporter::handler(); whatever still
// escapes an event (a paint, a key press) is caught here and reported the same way, so that a
// failure never ends the program.
class NewsbellApplication final : public QApplication {
    Q_OBJECT
public:
    // Qt's own dialogs, buttons and menus speak Russian with the rest of the program, when
    // Qt's translations are installed.
    NewsbellApplication(int& argc, char** argv);

    void setErrorReporter(ErrorReporter* reporter) { reporter_ = reporter; }
    bool notify(QObject* receiver, QEvent* event) override;

private:
    ErrorReporter* reporter_ = nullptr;
    QTranslator qtTexts_;
};

} // namespace newsbell
