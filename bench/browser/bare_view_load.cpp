// bare_view_load URL [--blink]: the smallest window that shows the calendar page, the baseline
// of the program's benchmarks (bench/program). A plain QWebEngineView loads URL; "page loaded"
// goes to standard error when the load has finished, as the program tells it with
// QT_LOGGING_RULES=newsbell.browser.info=true, and the window stays until it is closed or
// killed. With --blink a push button below the view toggles its font between bold and regular
// every second, the least a blinking button costs. The process is prepared for Chromium the
// same way as the program's, so that only the program's own work differs.
#include "browser/WebEngineSetup.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineView>
#include <cstdio>
#include <cstring>

int main(int argc, char* argv[]) {
    newsbell::prepareWebEngineProcess(false);
    QApplication app(argc, argv);
    const bool blink = argc == 3 && std::strcmp(argv[2], "--blink") == 0;
    if (argc != 2 && !blink) {
        std::fprintf(stderr, "usage: bare_view_load URL [--blink]\n");
        return 2;
    }
    QWidget window;
    auto* column = new QVBoxLayout(&window);
    auto* view = new QWebEngineView;
    column->addWidget(view, 1);
    QObject::connect(view, &QWebEngineView::loadFinished, [](bool ok) {
        std::fputs(ok ? "page loaded\n" : "load failed\n", stderr);
        std::fflush(stderr);
    });
    QTimer blinking;
    if (blink) {
        auto* button = new QPushButton(QStringLiteral("Blink"));
        column->addWidget(button);
        QObject::connect(&blinking, &QTimer::timeout, button, [button] {
            QFont font = button->font();
            font.setBold(!font.bold());
            button->setFont(font);
        });
        blinking.start(1000);
    }
    view->load(QUrl(QString::fromLocal8Bit(argv[1])));
    window.resize(1134, 667);
    window.show();
    return app.exec();
}
