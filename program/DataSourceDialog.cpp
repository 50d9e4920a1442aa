#include "program/DataSourceDialog.h"

#include "base/Error.h"
#include "calendar/FeedFetch.h"
#include "calendar/FeedTime.h"
#include "widgets/Desktop.h"
#include "widgets/WidgetStyle.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

namespace newsbell {

namespace {

// The tz database names the feed reader takes, sorted.
const QStringList& zoneNames() {
    static const QStringList names = [] {
        QStringList all;
        for (const QByteArray& id : QTimeZone::availableTimeZoneIds())
            if (zoneNamed(QString::fromUtf8(id)).isValid()) all << QString::fromUtf8(id);
        all.sort();
        return all;
    }();
    return names;
}

// An editable list of zones; a part of a name typed anywhere ("Berlin") offers the names that
// hold it.
QComboBox* zoneField(const QString& zone) {
    auto* field = new QComboBox;
    field->setEditable(true);
    field->setInsertPolicy(QComboBox::NoInsert);
    field->addItems(zoneNames());
    field->setMaxVisibleItems(20);
    field->completer()->setFilterMode(Qt::MatchContains);
    field->completer()->setCompletionMode(QCompleter::PopupCompletion);
    field->setCurrentText(zone);
    field->setMinimumContentsLength(24);
    return field;
}

QString systemZone() {
    return QString::fromUtf8(QTimeZone::systemTimeZoneId());
}

} // namespace

DataSourceDialog::DataSourceDialog(const DataSource& current, FeedMaker makeFeed,
                                   OpenFileChooser& files, QWidget* parent)
    : QDialog(parent), current_(current), makeFeed_(std::move(makeFeed)), files_(files) {
    setWindowTitle(text("Источник данных"));
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(text("Откуда берутся события календаря (для обоих окон, со "
                                    "следующей загрузки страницы):"));
    heading->setWordWrap(true);
    layout->addWidget(heading);

    demoButton = new QRadioButton(text("Встроенный демонстрационный календарь"));
    layout->addWidget(demoButton);

    pageButton = new QRadioButton(text("Страница календаря по адресу:"));
    pageField = new QLineEdit(current.page.toString());
    pageField->setPlaceholderText(text("http://сервер/путь"));
    layout->addWidget(pageButton);
    layout->addWidget(pageField);

    feedButton = new QRadioButton(
        text("Лента календаря: файл или адрес http/https (XML, JSON или iCalendar по "
             "содержимому)"));
    layout->addWidget(feedButton);
    feedField = new QLineEdit(current.feed);
    feedField->setMinimumWidth(480);
    feedField->setPlaceholderText(text("https://сервер/лента.xml или /путь/к/файлу.ics"));
    fileButton = new QPushButton(text("Файл..."));
    auto* feedRow = new QHBoxLayout;
    feedRow->addWidget(feedField, 1);
    feedRow->addWidget(fileButton);
    layout->addLayout(feedRow);
    auto* zones = new QFormLayout;
    feedZoneField = zoneField(current.feedZone);
    feedZoneField->setToolTip(text("Время в ленте XML записано по часам этого пояса (обычно "
                                   "UTC); в JSON и iCalendar пояс указан в самой ленте."));
    tableZoneField = zoneField(current.tableZone.isEmpty() ? systemZone() : current.tableZone);
    tableZoneField->setToolTip(text("Время событий в таблице; обычно пояс компьютера."));
    zones->addRow(text("Пояс времени ленты XML:"), feedZoneField);
    zones->addRow(text("Пояс времени таблицы:"), tableZoneField);
    layout->addLayout(zones);

    auto* kinds = new QButtonGroup(this);
    for (QRadioButton* button : {demoButton, pageButton, feedButton}) kinds->addButton(button);
    (current.kind == DataSource::Feed   ? feedButton
     : current.kind == DataSource::Page ? pageButton
                                        : demoButton)
        ->setChecked(true);

    problemLabel = new QLabel;
    problemLabel->setWordWrap(true);
    problemLabel->setStyleSheet(QStringLiteral("color: #b00000;"));
    layout->addWidget(problemLabel);
    // Beside the bar: a busy bar shows no text in every style.
    busyText = new QLabel(
        text("Лента читается (не дольше %1 с)...")
            .arg(std::chrono::duration_cast<std::chrono::seconds>(feedDeadline).count()));
    busyBar = new QProgressBar;
    busyBar->setRange(0, 0); // no progress to tell: it only shows that the read goes on
    busyBar->setTextVisible(false);
    stopButton = new QPushButton(text("Прервать"));
    auto* busyRow = new QHBoxLayout;
    busyRow->addWidget(busyText);
    busyRow->addWidget(busyBar, 1);
    busyRow->addWidget(stopButton);
    layout->addLayout(busyRow);
    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &DataSourceDialog::takeChoice);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(stopButton, &QPushButton::clicked, this, [this] {
        stopReading();
        problemLabel->setText(text("Чтение ленты прервано; источник данных не изменён."));
    });
    connect(fileButton, &QPushButton::clicked, this, &DataSourceDialog::chooseFile);
    connect(kinds, &QButtonGroup::buttonToggled, this, &DataSourceDialog::check);
    for (QLineEdit* field : {pageField, feedField})
        connect(field, &QLineEdit::textChanged, this, &DataSourceDialog::check);
    for (QComboBox* field : {feedZoneField, tableZoneField})
        connect(field, &QComboBox::currentTextChanged, this, &DataSourceDialog::check);
    setReading(false);
}

DataSourceDialog::~DataSourceDialog() = default;

DataSource DataSourceDialog::choice() const {
    DataSource chosen;
    chosen.kind = feedButton->isChecked()   ? DataSource::Feed
                  : pageButton->isChecked() ? DataSource::Page
                                            : DataSource::Demo;
    chosen.page = pageAddressProblem(pageField->text()).isEmpty() ? pageAddress(pageField->text())
                                                                  : current_.page;
    chosen.feed = feedSourceProblem(feedField->text()).isEmpty() ? feedSource(feedField->text())
                                                                 : current_.feed;
    const QString feedZone = feedZoneField->currentText().trimmed();
    chosen.feedZone = zoneProblem(feedZone, {}).isEmpty() ? feedZone : current_.feedZone;
    const QString tableZone = tableZoneField->currentText().trimmed();
    // The computer's zone follows the computer, should it move.
    chosen.tableZone = !zoneProblem(tableZone, {}).isEmpty() ? current_.tableZone
                       : tableZone == systemZone()           ? QString()
                                                             : tableZone;
    return chosen;
}

// The fields' problems, of the chosen kind only.
void DataSourceDialog::check() {
    const bool page = pageButton->isChecked(), feed = feedButton->isChecked();
    pageField->setEnabled(page && !checking());
    for (QWidget* field :
         std::initializer_list<QWidget*>{feedField, fileButton, feedZoneField, tableZoneField})
        field->setEnabled(feed && !checking());
    QString problem;
    if (page) problem = pageAddressProblem(pageField->text());
    if (feed) {
        problem = feedSourceProblem(feedField->text());
        if (problem.isEmpty())
            problem = zoneProblem(feedZoneField->currentText(), text("Пояс времени ленты"));
        if (problem.isEmpty())
            problem = zoneProblem(tableZoneField->currentText(), text("Пояс времени таблицы"));
    }
    problemLabel->setText(problem);
    buttons->button(QDialogButtonBox::Ok)->setEnabled(problem.isEmpty() && !checking());
}

void DataSourceDialog::takeChoice() {
    if (checking()) return;
    const DataSource chosen = choice();
    if (chosen.kind != DataSource::Feed || chosen.sameCalendar(current_)) {
        accept();
        return;
    }
    try {
        feed_ = makeFeed_(chosen);
    } catch (const Error& failure) {
        problemLabel->setText(QString::fromUtf8(failure.what()));
        return;
    }
    // The user's own choice is asked at once, whenever another run asked it last.
    reading_ = std::make_unique<FeedReadInBackground>(
        feed_, *this, [this](const FeedRead& read) { readFinished(read); },
        FeedCalendar::Asking::Now);
    setReading(true);
}

void DataSourceDialog::readFinished(const FeedRead& read) {
    reading_.reset();
    setReading(false);
    if (read.error.isEmpty()) {
        warnings_ = read.warnings.join(u'\n');
        accept();
        return;
    }
    problemLabel->setText(text("Лента %1 не прочитана: %2. Источник данных не изменён.")
                              .arg(sourceName(choice().feed), feed_->freshness().failure));
    feed_.reset();
}

void DataSourceDialog::stopReading() {
    reading_.reset(); // the read ends by itself, with the feed it keeps
    feed_.reset();
    setReading(false);
}

void DataSourceDialog::setReading(bool reading) {
    for (QWidget* busy : std::initializer_list<QWidget*>{busyText, busyBar, stopButton})
        busy->setVisible(reading);
    for (QRadioButton* button : {demoButton, pageButton, feedButton}) button->setEnabled(!reading);
    check();
    if (reading) problemLabel->clear();
}

void DataSourceDialog::done(int result) {
    if (result != Accepted) stopReading();
    QDialog::done(result);
}

void DataSourceDialog::chooseFile() {
    const QString typed = feedField->text().trimmed();
    const std::optional<QString> chosen =
        files_.chooseFileToOpen(this, isWebAddress(typed) ? QString() : typed);
    if (chosen) feedField->setText(*chosen);
}

} // namespace newsbell
