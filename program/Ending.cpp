#include "program/Ending.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

namespace newsbell {

namespace {

// The signal handler may only write a byte; the event loop reads it.
int signalPipe[2] = {-1, -1};

void noteSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

} // namespace

void closeOnTermination(QWidget& window) {
    if (signalPipe[0] >= 0 || ::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
        char byte;
        while (::read(signalPipe[0], &byte, 1) > 0) {
        }
        window.close();
        QApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

void endWithin(std::chrono::milliseconds bound, int status) {
    std::thread([bound, status] {
        std::this_thread::sleep_for(bound);
        std::fflush(nullptr);
        std::_Exit(status);
    }).detach();
}

} // namespace newsbell
