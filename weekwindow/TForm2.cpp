#include "weekwindow/TForm2.h"

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

namespace newsbell {

namespace {

QString labelText(const std::string& label) {
    return QString::fromLatin1(label);
}

} // namespace

TForm2::~TForm2() = default;

void TForm2::FormCreate(const QUrl& calendarPage) {
    WebBrowser1->navigate(calendarPage);
    saveDialogStart_ = QCoreApplication::applicationFilePath();
    // StringGrid1 wrote its titles and widths when it was made.
    const QDate today = desktop_.clock.now().date();
    MonthCalendar1->setSelectedDate(today);
    MonthCalendar2->setSelectedDate(today);
}

void TForm2::showPage(const QUrl& page) {
    WebBrowser1->navigate(page);
}

void TForm2::connectHandlers() {
    connect(WebBrowser1, &BrowserHost::downloadComplete, this,
            errors_.handler(this, &TForm2::WebBrowser1DownloadComplete));
    connect(WebBrowser1, &BrowserHost::documentComplete, this,
            errors_.handler(this, &TForm2::WebBrowser1DocumentComplete));
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
    run_->documentComplete();
    documentLoaded_ = true;
    updateButton1();
    Panel5->hide();
}

void TForm2::WebBrowser1DownloadComplete() {
    run_->downloadComplete();
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
    run_->stop();
}

void TForm2::FormClose() {
    run_->stop();
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
    MonthCalendar1->setSelectedDate(run_->firstMonday());
    MonthCalendar2->setSelectedDate(run_->lastMonday());
    Label9->setText(labelText(run_->firstLabel()));
    Label10->setText(labelText(run_->lastLabel()));
}

void TForm2::weekRequested(QDate monday) {
    Label11->setText(labelText(run_->requestedLabel()));
    MonthCalendar1->setSelectedDate(monday);
    WeekProgress->setText(
        text("неделя %1 из %2").arg(run_->requestedWeek()).arg(run_->weekCount()));
}

void TForm2::fileWritten(std::string_view file, size_t unchanged) {
    Memo1->showFile(file, unchanged);
}

void TForm2::busyChanged(bool) {
    updateButton1();
}

void TForm2::runFinished() {
    desktop_.messages.showMessage(text("Склейка данных завершена"));
}

} // namespace newsbell
