// The real main window, offscreen, on the demo calendar: alert passes back to back (extraction
// from the loaded page, messages, Show), with a reload of the page every ten passes. Prints the
// resident memory after pass 100 and after the last pass, and their ratio (target: growth of at
// most 10%), for the program alone and with the browser's own processes.
//   alert_soak [PASSES]        1000 by default; fails when a pass fails or alerts nothing
#include "alert/AlertNotifier.h"
#include "browser/WebEngineBrowserHost.h"
#include "browser/WebEngineSetup.h"
#include "calendar/CalendarServer.h"
#include "headless/WeekExport.h"
#include "mainwindow/TForm1.h"
#include "widgets/BellSound.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <cstdio>
#include <map>

using namespace newsbell;

namespace {

constexpr std::chrono::seconds loadWait{60};
constexpr int reloadEvery = 10;
constexpr int firstMeasure = 100;

// Nothing here may wait for a person: messages go to standard error, files are never chosen.
struct UnattendedDesktop final : MessageSink, LinkOpener, FileChooser {
    void showMessage(const QString& text) override {
        ++messages;
        std::fprintf(stderr, "alert_soak: %s\n", qPrintable(text));
    }
    void openLink(const QUrl&) override {}
    std::optional<QString> chooseFileToSave(QWidget*, const QString&) override {
        return std::nullopt;
    }
    int messages = 0;
};

// Resident kilobytes of a process, from /proc.
long residentKb(const QString& pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

// The program's resident memory, alone and with every process it started (the browser's).
std::pair<long, long> residentMemory() {
    std::multimap<QString, QString> children;
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly)) continue;
        const QByteArray text = stat.readAll();
        // "pid (name) state ppid ...": the name may hold blanks, so read after its ")".
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1) children.emplace(QString::fromLatin1(fields[1]), pid);
    }
    const QString self = QString::number(QCoreApplication::applicationPid());
    long own = residentKb(self), total = 0;
    std::vector<QString> pending{self};
    while (!pending.empty()) {
        const QString pid = pending.back();
        pending.pop_back();
        total += residentKb(pid);
        const auto [from, to] = children.equal_range(pid);
        for (auto child = from; child != to; ++child) pending.push_back(child->second);
    }
    return {own, total};
}

void printMemory(int pass, std::pair<long, long> kb) {
    std::printf("resident memory after pass %d: %.1f MiB (with the browser's processes: %.1f "
                "MiB)\n",
                pass, double(kb.first) / 1024, double(kb.second) / 1024);
}

} // namespace

int main(int argc, char** argv) {
    const int passes = argc > 1 ? std::atoi(argv[1]) : 1000;
    if (passes < 1) {
        std::fprintf(stderr, "usage: alert_soak [PASSES]\n");
        return 1;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    prepareWebEngineProcess(false);
    QApplication application(argc, argv);

    SystemClock clock;
    CalendarServer calendar(clock); // its week holds events minutes from now: due at once
    calendar.start();
    const QUrl page(calendar.url());
    UnattendedDesktop desktop;
    BellSound sound([] {});
    ErrorReporter errors(desktop);
    auto* browser = new WebEngineBrowserHost; // the window's
    TForm1 form(browser, Desktop{desktop, desktop, desktop, clock, sound}, errors, page);
    form.show();
    int shows = 0;
    QObject::connect(form.findChild<TAlertNotifier*>(QStringLiteral("AlertNotifier1")),
                     &TAlertNotifier::showRequested, [&shows] { ++shows; });

    std::pair<long, long> early{}, last{};
    try {
        loadCalendarPage(*browser, page, loadWait);
        for (int pass = 1; pass <= passes; ++pass) {
            errors.run([&form] { form.Button4Click(); });
            if (pass == firstMeasure || pass == passes) {
                last = residentMemory();
                printMemory(pass, last);
                if (pass == firstMeasure) early = last;
            }
            if (pass % reloadEvery == 0) loadCalendarPage(*browser, page, loadWait);
        }
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "alert_soak: %s\n", failure.what());
        return 1;
    }
    if (passes > firstMeasure)
        std::printf("growth from pass %d to %d: %.3f, with the browser's processes %.3f (target: "
                    "at most 1.10)\n",
                    firstMeasure, passes, double(last.first) / double(early.first),
                    double(last.second) / double(early.second));
    std::printf("%d passes, %d shows, %d error messages\n", passes, shows, desktop.messages);
    return desktop.messages == 0 && shows >= passes ? 0 : 1;
}
