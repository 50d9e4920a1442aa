#include "calendar/CalendarServer.h"

#include "base/Error.h"
#include "calendar/CalendarWeek.h"
#include "calendar/WeekPage.h"

#include <atomic>
#include <chrono>
#include <httplib.h>
#include <thread>

namespace newsbell {

namespace {

// The demonstration's invented weeks, with a few events placed just after the service starts.
class DemoPages final : public WeekPages {
public:
    DemoPages(const Clock& clock, CalendarOptions options) : clock_(clock), options_(options) {}

    void start() { soonEvents_ = eventsSoonAfter(clock_.now()); }

    QDate currentDay(const QDateTime& now) const override { return now.date(); }
    QByteArray page(QDate monday) const override {
        return weekPageHtml(monday,
                            weekEvents(monday, clock_.now(), soonEvents_, options_.eventsPerWeek));
    }

private:
    const Clock& clock_;
    CalendarOptions options_;
    std::vector<CalendarEvent> soonEvents_;
};

} // namespace

struct CalendarServer::Impl {
    const Clock& clock;
    std::unique_ptr<DemoPages> demo; // none when serving the pages of another source
    const WeekPages* pages;          // demo's or the other source's
    std::unique_ptr<httplib::Server> server;
    std::thread thread;
    int port = 0;

    void serveWeek(const httplib::Request& request, httplib::Response& response) const;
};

void CalendarServer::Impl::serveWeek(const httplib::Request& request,
                                     httplib::Response& response) const {
    QDate day = pages->currentDay(clock.now());
    if (request.has_param("week")) {
        day =
            QDate::fromString(QString::fromStdString(request.get_param_value("week")), Qt::ISODate);
        if (!day.isValid()) {
            response.status = 400;
            response.set_content("Неверная дата недели: нужен вид ГГГГ-ММ-ДД.",
                                 "text/plain; charset=utf-8");
            return;
        }
    }
    const QByteArray page = pages->page(mondayOf(day));
    // Actual values appear as time goes on, so a page is never served from a cache.
    response.set_header("Cache-Control", "no-store");
    response.set_content(page.constData(), size_t(page.size()), "text/html; charset=utf-8");
}

CalendarServer::CalendarServer(const Clock& clock, CalendarOptions options)
    : impl_(new Impl{clock, std::make_unique<DemoPages>(clock, options), nullptr, {}, {}, 0}) {
    impl_->pages = impl_->demo.get();
}

CalendarServer::CalendarServer(const Clock& clock, const WeekPages& pages)
    : impl_(new Impl{clock, nullptr, &pages, {}, {}, 0}) {}

CalendarServer::~CalendarServer() {
    stop();
}

void CalendarServer::start(int port) {
    if (isRunning()) throw Error("Встроенный календарь уже запущен.");
    auto server = std::make_unique<httplib::Server>();
    // The library's default shares the port with any other listener (SO_REUSEPORT); a port in
    // use must be refused, not split with another program.
    server->set_socket_options([](socket_t socket) {
        const int yes = 1;
        setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    server->Get("/e_cal.php", [this](const httplib::Request& request, httplib::Response& response) {
        impl_->serveWeek(request, response);
    });
    server->Get("/", [](const httplib::Request&, httplib::Response& response) {
        response.set_redirect(weekPagePath().toStdString());
    });
    const int bound = port == 0 ? server->bind_to_any_port("127.0.0.1")
                                : (server->bind_to_port("127.0.0.1", port) ? port : -1);
    if (bound <= 0)
        throw Error("Не удалось открыть порт " + std::to_string(port) +
                    " на 127.0.0.1 для встроенного календаря.");
    if (impl_->demo) impl_->demo->start();
    impl_->port = bound;
    impl_->server = std::move(server);
    auto finished = std::make_shared<std::atomic<bool>>(false);
    impl_->thread = std::thread([server = impl_->server.get(), finished] {
        server->listen_after_bind();
        *finished = true;
    });
    // The library ignores a stop that comes before its loop has started, so the server is only
    // handed out once it runs.
    while (!impl_->server->is_running() && !*finished)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (*finished) {
        stop();
        throw Error("Встроенный календарь не смог начать работу.");
    }
}

void CalendarServer::stop() {
    if (!impl_->server) return;
    impl_->server->stop();
    impl_->thread.join();
    impl_->server.reset();
    impl_->port = 0;
}

bool CalendarServer::isRunning() const {
    return impl_->server != nullptr;
}

int CalendarServer::port() const {
    return impl_->port;
}

QString CalendarServer::url() const {
    return weekUrl({});
}

QString CalendarServer::weekUrl(QDate day) const {
    return QString(QStringLiteral("http://127.0.0.1:%1%2")).arg(impl_->port).arg(weekPagePath(day));
}

} // namespace newsbell
