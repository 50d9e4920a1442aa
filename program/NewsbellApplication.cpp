#include "program/NewsbellApplication.h"

#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <cstdio>

// Resources of a static library are registered by hand, and only from the global namespace.
static void registerIcons() {
    Q_INIT_RESOURCE(icons);
}

namespace newsbell {

bool installQtTranslations(QTranslator& translator) {
    // "qt" is the catalogue that gathers qtbase, qtmultimedia and the others.
    return translator.load(QLocale(QLocale::Russian), QStringLiteral("qt"), QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
           QCoreApplication::installTranslator(&translator);
}

NewsbellApplication::NewsbellApplication(int& argc, char** argv) : QApplication(argc, argv) {
    registerIcons();
    setWindowIcon(QIcon(QStringLiteral(":/icons/newsbell.svg")));
    installQtTranslations(qtTexts_);
}

bool NewsbellApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& failure) {
        if (reporter_)
            reporter_->report(failure);
        else
            std::fprintf(stderr, "%s\n", failure.what());
        return false;
    }
}

} // namespace newsbell
