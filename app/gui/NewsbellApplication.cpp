#include "app/gui/NewsbellApplication.h"

#include <QLibraryInfo>
#include <QLocale>
#include <cstdio>

namespace newsbell {

NewsbellApplication::NewsbellApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // "qt" is the catalogue that gathers qtbase, qtmultimedia and the others.
    if (qtTexts_.load(QLocale(QLocale::Russian), QStringLiteral("qt"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(&qtTexts_);
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
