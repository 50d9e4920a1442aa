#include "weekwindow/TForm2.h"

#include "base/Error.h"
#include "weekwindow/FileMemo.h"
#include "widgets/EventGrid.h"
#include "widgets/TimedYield.h"
#include "widgets/WidgetStyle.h"

#include <QAction>
#include <QCalendarWidget>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QStackedLayout>

namespace newsbell {

namespace {

QString labelText(const std::string& label) {
    return QString::fromLatin1(label);
}

// The word for a number of weeks: 1, 21 неделя; 2-4, 22 недели; 5-20, 25 недель.
const char* weeksWord(int count) {
    const int tens = count % 100, units = count % 10;
    if (units == 1 && tens != 11) return "неделя";
    if (units >= 2 && units <= 4 && (tens < 12 || tens > 14)) return "недели";
    return "недель";
}

} // namespace

QString stoppedRunText(int weeksInFile, int weekCount) {
    return text("остановлено: в файле %1 %2 из %3")
        .arg(weeksInFile)
        .arg(text(weeksWord(weeksInFile)))
        .arg(weekCount);
}

// The browser goes before the widgets that hold its view.
TForm2::~TForm2() {
    delete WebBrowser1;
}

void TForm2::FormCreate(const QUrl& calendarPage) {
    calendarPage_ = calendarPage; // the browser goes there when the window is first shown
    saveDialogStart_ = QCoreApplication::applicationFilePath();
    // StringGrid1 wrote its titles and widths when it was made.
    const QDate today = desktop_.clock.now().date();
    MonthCalendar1->setSelectedDate(today);
    MonthCalendar2->setSelectedDate(today);
}

void TForm2::showPage(const QUrl& page) {
    calendarPage_ = page;
    if (WebBrowser1) WebBrowser1->navigate(page);
}

// A hidden window needs no page: the browser, and the page process it starts, wait for the
// window to be wanted.
void TForm2::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!WebBrowser1) return makeBrowser();
    // A page that failed is tried again when the window is opened anew.
    if (WebBrowser1->loadFailure() && !WebBrowser1->loading() && !run_->running())
        WebBrowser1->navigate(calendarPage_);
}

void TForm2::makeBrowser() {
    WebBrowser1 = makeBrowser_();
    WebBrowser1->setParent(this);
    browserArea_->insertWidget(0, WebBrowser1->widget());
    browserArea_->setCurrentWidget(Panel5);
    connect(WebBrowser1, &BrowserHost::downloadComplete, this,
            errors_.handler(this, &TForm2::WebBrowser1DownloadComplete));
    connect(WebBrowser1, &BrowserHost::documentComplete, this,
            errors_.handler(this, &TForm2::WebBrowser1DocumentComplete));
    WebBrowser1->navigate(calendarPage_);
}

std::string TForm2::bodyHtml() {
    if (!WebBrowser1) throw Error("Не удалось прочитать HTML страницы: страница ещё не загружена.");
    return WebBrowser1->bodyHtml();
}

void TForm2::runScript(const QString& code) {
    if (WebBrowser1) WebBrowser1->runScript(code, QStringLiteral("JavaScript"));
}

void TForm2::connectHandlers() {
    connect(Button1, &QPushButton::clicked, this, errors_.handler(this, &TForm2::Button1Click));
    connect(Button2, &QPushButton::clicked, this, errors_.handler(this, &TForm2::Button2Click));
    connect(N2, &QAction::triggered, this, errors_.handler(this, &TForm2::N2Click));
    connect(N3, &QAction::triggered, this, errors_.handler(this, &TForm2::N3Click));
    // A row typed over by hand must reach the file as the table shows it.
    connect(StringGrid1->model(), &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& topLeft) {
                if (topLeft.row() > 0) run_->tableEdited();
            });
    // The window answers while a week is read, but does not draw the table anew after every
    // row: that would cost more than reading the week.
    run_->setProcessEvents(TimedYield(desktop_.clock));
}

void TForm2::WebBrowser1DocumentComplete() {
    if (const std::optional<LoadFailure> failure = WebBrowser1->loadFailure()) {
        // The browser's error page has none of the calendar's functions to set up or call.
        documentLoaded_ = false;
        updateButton1();
        Panel5->hide();
        pageFailed(*failure);
        return;
    }
    failureTold_.clear();
    run_->documentComplete();
    documentLoaded_ = true;
    updateButton1();
    Panel5->hide();
}

void TForm2::WebBrowser1DownloadComplete() {
    // A week that cannot be had ends the run; the weeks before it stay in the file.
    if (WebBrowser1->loadFailure()) {
        if (run_->running()) stopRun();
        return;
    }
    run_->downloadComplete();
}

// Told once, until a page loads again.
void TForm2::pageFailed(const LoadFailure& failure) {
    const QString message = loadFailureMessage(failure);
    if (message == failureTold_) return;
    failureTold_ = message;
    errors_.report(message);
}

void TForm2::Button1Click() {
    // Disabled while a week is processed; a click that still comes through changes nothing.
    if (run_->busy()) return;
    const std::optional<QString> fileName = desktop_.files.chooseFileToSave(this, saveDialogStart_);
    if (!fileName || run_->busy()) return;
    Memo1->clearFile();
    run_->start(MonthCalendar1->selectedDate(), MonthCalendar2->selectedDate(), *fileName);
}

void TForm2::Button2Click() {
    stopRun();
}

void TForm2::FormClose() {
    stopRun();
}

void TForm2::stopRun() {
    if (!run_->running()) return;
    run_->stop();
    stopped_ = true;
    showProgress();
}

// While a run goes on, the week asked for; once it was stopped, what the file holds, which a
// week under way at the stop may still add to.
void TForm2::showProgress() {
    if (run_->running())
        WeekProgress->setText(
            text("неделя %1 из %2").arg(run_->requestedWeek()).arg(run_->weekCount()));
    else if (stopped_)
        WeekProgress->setText(stoppedRunText(run_->weeksInFile(), run_->weekCount()));
}

void TForm2::closeEvent(QCloseEvent* event) {
    FormClose();
    QMainWindow::closeEvent(event); // hides the window; its contents stay
}

void TForm2::N2Click() {
    close();
}

void TForm2::N3Click() {
    desktop_.messages.showMessage(
        text("Данный программный модуль позволяет с нужными настройками (часовой пояс, летнее "
             "время и др.)") +
        QStringLiteral("\n\r") +
        text("сграбить данные с сайта forexpros не за 1 неделю, а за нужное количество недель "
             "(Указывается период склейки)") +
        QStringLiteral("\n\r") +
        text("Создаётся шлейф важных новостей за указанный исторический период, который можно "
             "будет использовать") +
        QStringLiteral("\n\r") +
        text("для тестирования торгового советника. В частности, во время выхода новостей "
             "запрещать советнику торговать"));
}

void TForm2::updateButton1() {
    Button1->setEnabled(documentLoaded_ && !run_->busy());
}

void TForm2::rangeSet() {
    stopped_ = false;
    MonthCalendar1->setSelectedDate(run_->firstMonday());
    MonthCalendar2->setSelectedDate(run_->lastMonday());
    Label9->setText(labelText(run_->firstLabel()));
    Label10->setText(labelText(run_->lastLabel()));
}

void TForm2::weekRequested(QDate monday) {
    Label11->setText(labelText(run_->requestedLabel()));
    MonthCalendar1->setSelectedDate(monday);
    showProgress();
}

void TForm2::fileWritten(std::string_view file, size_t unchanged) {
    Memo1->showFile(file, unchanged);
    showProgress();
}

void TForm2::busyChanged(bool) {
    updateButton1();
}

void TForm2::runFinished() {
    desktop_.messages.showMessage(text("Склейка данных завершена"));
}

} // namespace newsbell
