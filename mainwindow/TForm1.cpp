#include "mainwindow/TForm1.h"

#include "alert/AlertNotifier.h"
#include "base/Convert.h"
#include "base/Cp1251.h"
#include "core/Extraction.h"
#include "core/TableTextFile.h"
#include "widgets/EventGrid.h"
#include "widgets/LinkLabel.h"
#include "widgets/PaintOrder.h"
#include "widgets/TimedYield.h"
#include "widgets/WidgetStyle.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>
#include <algorithm>
#include <limits>
#include <utility>

namespace newsbell {

namespace {

// A blinking button alternates between exactly bold and regular.
void toggleBold(QPushButton* button) {
    QFont font = button->font();
    const bool exactlyBold =
        font.bold() && !font.italic() && !font.underline() && !font.strikeOut();
    font.setBold(!exactlyBold);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    button->setFont(font);
}

void makeBold(QPushButton* button) {
    QFont font = button->font();
    font.setBold(true);
    button->setFont(font);
}

static_assert(qint64(longestAlertInterval) * 60000 <= std::numeric_limits<int>::max() &&
              qint64(longestAlertInterval + 1) * 60000 > std::numeric_limits<int>::max());

QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

} // namespace

TForm1::~TForm1() = default;

void TForm1::FormCreate(const QUrl& calendarPage) {
    address_ = calendarPage;
    WebBrowser1->navigate(calendarPage);
    saveDialogStart_ = QCoreApplication::applicationFilePath();
    // StringGrid1 writes its titles and widths when it is made.
}

void TForm1::connectHandlers() {
    connect(WebBrowser1, &BrowserHost::downloadComplete, this,
            errors_.handler(this, &TForm1::WebBrowser1DownloadComplete));
    connect(WebBrowser1, &BrowserHost::documentComplete, this,
            errors_.handler(this, &TForm1::WebBrowser1DocumentComplete));
    connect(Button1, &QPushButton::clicked, this, errors_.handler(this, &TForm1::Button1Click));
    connect(Button2, &QPushButton::clicked, this, errors_.handler(this, &TForm1::Button2Click));
    connect(Button3, &QPushButton::clicked, this, errors_.handler(this, &TForm1::Button3Click));
    connect(Button4, &QPushButton::clicked, this, errors_.handler(this, &TForm1::Button4Click));
    connect(Timer1, &QTimer::timeout, this, errors_.handler(this, &TForm1::Button4Click));
    connect(Timer2, &QTimer::timeout, this, errors_.handler(this, &TForm1::Timer2Timer));
    connect(Timer3, &QTimer::timeout, this, errors_.handler(this, &TForm1::Timer3Timer));
    connect(Edit1, &QLineEdit::textChanged, this, errors_.handler(this, &TForm1::Edit1Change));
    connect(Edit3, &QLineEdit::textChanged, this, errors_.handler(this, &TForm1::Edit3Change));
    connect(Edit4, &QLineEdit::textChanged, this, errors_.handler(this, &TForm1::Edit4Change));
    connect(N2, &QAction::triggered, this, errors_.handler(this, &TForm1::N2Click));
    connect(N3, &QAction::triggered, this, errors_.handler(this, &TForm1::N3Click));
    connect(N4, &QAction::triggered, this, errors_.handler(this, &TForm1::N4Click));
    connect(Label2, &LinkLabel::clicked, this, errors_.handler(this, &TForm1::Label2Click));
    connect(Label3, &LinkLabel::clicked, this, errors_.handler(this, &TForm1::Label2Click));
    connect(pageWait_, &QTimer::timeout, this, &TForm1::pageWaitRanOut);
}

void TForm1::setHeaderColour(TColor colour) {
    QPalette colours = Panel5->palette();
    colours.setColor(QPalette::Window, toQColor(colour));
    Panel5->setPalette(colours);
}

// The header turns blue and the extraction button blinks only for the calendar page: a load
// that failed shows the browser's error page, which holds no week.
void TForm1::pageLoaded() {
    if (const std::optional<LoadFailure> failure = WebBrowser1->loadFailure()) {
        setHeaderColour(headerColourBeforeLoad);
        Timer2->stop();
        pageFailed(*failure);
        return;
    }
    setHeaderColour(panelColour);
    Timer2->start();
    failureTold_.clear();
    if (!WebBrowser1->loading()) runWaitingCommand();
}

// Told once, until a page loads again: the passes of the timer try the page again every
// minute, and a trader away from the desk should find one box, not one a minute.
void TForm1::pageFailed(const LoadFailure& failure) {
    const QString message = loadFailureMessage(failure);
    waiting_ = Waiting::Nothing;
    pageWait_->stop();
    showNotice(message);
    if (message == failureTold_) return;
    failureTold_ = message;
    errors_.report(message);
}

bool TForm1::waitForPage(Waiting command) {
    if (WebBrowser1->hasDocument() && !WebBrowser1->loading()) {
        const std::optional<LoadFailure> failure = WebBrowser1->loadFailure();
        if (!failure) return false;
        // Read, the error page would only give a date error; the page may be back by now.
        address_ = failure->address;
        WebBrowser1->navigate(address_);
    }
    waiting_ = std::max(waiting_, command);
    showNotice(text("Ждите, идёт загрузка..."));
    if (!pageWait_->isActive()) pageWait_->start();
    return true;
}

// However many presses and ticks came meanwhile, one command runs.
void TForm1::runWaitingCommand() {
    const Waiting command = std::exchange(waiting_, Waiting::Nothing);
    pageWait_->stop();
    endNotice();
    if (command == Waiting::Pass) Button4Click();
    if (command == Waiting::Extraction) Button2Click();
}

void TForm1::pageWaitRanOut() {
    if (waiting_ == Waiting::Nothing) return;
    pageFailed({address_, text("страница не загрузилась за %1 с")
                              .arg(std::chrono::duration_cast<std::chrono::seconds>(
                                       std::chrono::milliseconds(pageWait_->interval()))
                                       .count())});
}

void TForm1::showNotice(const QString& notice) {
    if (!passStatus_) passStatus_ = Label10->text();
    Label10->setText(notice);
}

void TForm1::endNotice() {
    if (passStatus_) Label10->setText(*std::exchange(passStatus_, std::nullopt));
}

void TForm1::WebBrowser1DownloadComplete() {
    pageLoaded();
}

void TForm1::WebBrowser1DocumentComplete() {
    pageLoaded();
}

void TForm1::Button2Click() {
    // The extraction lets the window work between events; a second one started meanwhile would
    // rebuild the table under the first, which then appended its remaining rows to the new ones.
    if (extracting_ || waitForPage(Waiting::Extraction)) return;
    bool succeeded = false;
    // Told once the extraction is over, also while a failure goes on to the error reporter.
    const auto told = qScopeGuard([this, &succeeded] { emit extractionDone(succeeded); });
    extracting_ = true;
    const auto done = qScopeGuard([this] { extracting_ = false; });

    Timer2->stop();
    Timer3->start();
    // The page is read before the table is touched: when the browser fails, the table keeps
    // its rows instead of being left with emptied ones.
    const std::string pageText = WebBrowser1->bodyHtml();
    ExtractionOptions options(desktop_.clock.now().date().year());
    options.mode = ExtractionMode::FreshTable;
    options.processEvents = TimedYield(desktop_.clock);
    extractEvents(pageText, StringGrid1->table(), options);
    succeeded = true;
    Timer2->stop();
    makeBold(Button2);
    Timer3->start();
}

void TForm1::Button1Click() {
    deleteSelectedRows(StringGrid1->table(), StringGrid2, StringGrid1->currentRow(),
                       StringGrid1->selectionTop(), StringGrid1->selectionBottom());
}

void TForm1::Button3Click() {
    const std::optional<QString> fileName = desktop_.files.chooseFileToSave(this, saveDialogStart_);
    if (!fileName) return;
    WriteTableTextFile(StringGrid1->table(), *fileName);
    Timer3->stop();
    makeBold(Button3);
}

void TForm1::Button4Click() {
    // The extraction lets the window work between events. A tick or a click arriving then is
    // dropped: a pass started inside it would examine a table still being rebuilt.
    if (extracting_ || alerting_ || waitForPage(Waiting::Pass)) return;
    alerting_ = true;
    const auto done = qScopeGuard([this] { alerting_ = false; });

    setAlertInterval(strToInt(toCp1251(Edit2->text())));
    // Called directly rather than through the button, so that a failed extraction ends the pass
    // before the messages are cleared.
    Button2Click();
    AlertNotifier1->AlertMessages().Clear();
    const QDateTime now = desktop_.clock.now();
    newsbell::runAlertPass(StringGrid1->table(), alertSettings(), now.date(), now.time(),
                           [this](const DueAlert& alert) { raiseAlert(alert); });
    emit alertPassDone();
}

void TForm1::setAlertInterval(int minutes) {
    // 0 (or less) stops the automatic passes; the count restarts only when the interval
    // changes.
    if (minutes <= 0) {
        Timer1->stop();
        return;
    }
    const int interval = std::min(minutes, longestAlertInterval) * 60000;
    if (Timer1->isActive() && Timer1->interval() == interval) return;
    Timer1->start(interval);
}

void TForm1::addMenuAction(QAction* action) {
    N1->insertAction(N3, action);
}

void TForm1::runAlertPass() {
    Button4->click();
}

void TForm1::collectTable() {
    Button2->click();
}

void TForm1::showPage(const QUrl& page) {
    address_ = page;
    WebBrowser1->navigate(page);
}

const EventTable& TForm1::table() const {
    return StringGrid1->table();
}

std::array<QCheckBox*, alertCurrencies.size()> TForm1::currencyBoxes() const {
    return {CheckBox4, CheckBox5, CheckBox6,  CheckBox7,
            CheckBox8, CheckBox9, CheckBox10, CheckBox11};
}

std::array<QCheckBox*, alertImportances.size()> TForm1::importanceBoxes() const {
    return {CheckBox1, CheckBox2, CheckBox3};
}

AlertSettings TForm1::alertSettings() const {
    AlertSettings settings;
    settings.leadHours = toCp1251(Edit3->text());
    settings.leadMinutes = toCp1251(Edit1->text());
    settings.afterMinutes = toCp1251(Edit4->text());
    for (size_t i = 0; i < settings.currencies.size(); ++i)
        settings.currencies[i] = currencyBoxes()[i]->isChecked();
    for (size_t i = 0; i < settings.importances.size(); ++i)
        settings.importances[i] = importanceBoxes()[i]->isChecked();
    return settings;
}

std::vector<AlertField> TForm1::alertFields() {
    std::vector<AlertField> fields{
        {QStringLiteral("alert/leadHours"), *Edit3, leadHoursRule.highest},
        {QStringLiteral("alert/leadMinutes"), *Edit1, leadMinutesRule.highest},
        {QStringLiteral("alert/intervalMinutes"), *Edit2, longestAlertInterval},
        {QStringLiteral("alert/afterMinutes"), *Edit4, afterMinutesRule.highest},
    };
    for (size_t i = 0; i < alertCurrencies.size(); ++i)
        fields.emplace_back(QStringLiteral("alert/currencies/") + latin1(alertCurrencies[i]),
                            *currencyBoxes()[i]);
    for (size_t i = 0; i < alertImportances.size(); ++i)
        fields.emplace_back(QStringLiteral("alert/importance/") + latin1(alertImportances[i]),
                            *importanceBoxes()[i]);
    fields.emplace_back(QStringLiteral("alert/popup"), *CheckBox12);
    fields.emplace_back(QStringLiteral("alert/sound"), *CheckBox13);
    return fields;
}

void TForm1::raiseAlert(const DueAlert& alert) {
    Label10->setText(fromCp1251(alert.statusLine));
    AlertNotifier1->AlertMessages().Add().Text().SetText(alert.message);
    if (CheckBox12->isChecked()) {
        AlertNotifier1->Show();
        paintOrder_->popupFirst(dynamic_cast<QWidget*>(AlertNotifier1->popup()));
    }
    if (CheckBox13->isChecked()) desktop_.sound.play();
}

void TForm1::Timer2Timer() {
    toggleBold(Button2);
}

void TForm1::Timer3Timer() {
    toggleBold(Button3);
}

void TForm1::checkField(QLineEdit* field, const FieldRule& rule) {
    if (!breaksRule(toCp1251(field->text()), rule)) return;
    field->setText(text(rule.putBack));
    desktop_.messages.showMessage(text(rule.message));
}

void TForm1::Edit1Change() {
    checkField(Edit1, leadMinutesRule);
}

void TForm1::Edit3Change() {
    checkField(Edit3, leadHoursRule);
}

void TForm1::Edit4Change() {
    checkField(Edit4, afterMinutesRule);
}

void TForm1::N2Click() {
    if (!weekWindow_) return;
    weekWindow_->show();
    weekWindow_->raise();
    weekWindow_->activateWindow();
}

void TForm1::N3Click() {
    close();
}

void TForm1::N4Click() {
    desktop_.messages.showMessage(
        text("Программа помогает свести данные важных новостей с сайта forexpros") +
        QStringLiteral("\n\r") +
        text("в текстовой формат представления, который удобочитаем для АТС-советников"));
}

void TForm1::Label2Click() {
    desktop_.links.openLink(QUrl(QLatin1String(publisherAddress)));
}

} // namespace newsbell
