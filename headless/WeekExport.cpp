#include "headless/WeekExport.h"

#include "base/Error.h"
#include "core/Extraction.h"
#include "core/TableTextFile.h"

#include <QEventLoop>
#include <QTimer>

namespace newsbell {

void loadCalendarPage(BrowserHost& browser, const QUrl& page, std::chrono::milliseconds loadWait) {
    QEventLoop loop;
    bool loaded = false;
    QObject::connect(&browser, &BrowserHost::documentComplete, &loop, [&] {
        loaded = true;
        loop.quit();
    });
    QTimer::singleShot(loadWait, &loop, &QEventLoop::quit);
    browser.navigate(page);
    if (!loaded) loop.exec();
    if (!loaded)
        throw Error(QStringLiteral("Страница календаря %1 не загрузилась за %2 с")
                        .arg(page.toString())
                        .arg(double(loadWait.count()) / 1000.0)
                        .toStdString());
    if (!browser.pageLoaded())
        throw Error(QStringLiteral("Страница календаря %1 не открылась")
                        .arg(page.toString())
                        .toStdString());
}

EventTable loadWeekTable(BrowserHost& browser, const QUrl& page, std::chrono::milliseconds loadWait,
                         int currentYear) {
    loadCalendarPage(browser, page, loadWait);
    EventTable table;
    table.writeTitles();
    extractEvents(browser.bodyHtml(), table, ExtractionOptions(currentYear));
    return table;
}

void exportWeek(BrowserHost& browser, const QUrl& page, const QString& fileName,
                std::chrono::milliseconds loadWait, int currentYear) {
    checkOutputFile(fileName);
    WriteTableTextFile(loadWeekTable(browser, page, loadWait, currentYear), fileName);
}

} // namespace newsbell
