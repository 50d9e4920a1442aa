// bare_view_load URL: a plain QWebEngineView that loads URL and quits when the load has finished.
// The start-up benchmark measures the program against it; the process is prepared for Chromium
// the same way, so that only the program's own work differs.
#include "browser/WebEngineSetup.h"

#include <QApplication>
#include <QWebEngineView>
#include <cstdio>

int main(int argc, char* argv[]) {
    newsbell::prepareWebEngineProcess(false);
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: bare_view_load URL\n");
        return 2;
    }
    QWebEngineView view;
    QObject::connect(&view, &QWebEngineView::loadFinished,
                     [](bool ok) { QCoreApplication::exit(ok ? 0 : 1); });
    view.load(QUrl(QString::fromLocal8Bit(argv[1])));
    view.show();
    return app.exec();
}
