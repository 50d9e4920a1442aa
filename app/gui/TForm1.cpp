#include "app/gui/TForm1.h"

#include "app/core/Extraction.h"
#include "app/core/TableTextFile.h"
#include "app/gui/EventGrid.h"
#include "app/gui/LinkLabel.h"
#include "base/Convert.h"
#include "base/Cp1251.h"

#include <QAction>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>

namespace newsbell {

namespace {

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

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

} // namespace

TForm1::~TForm1() = default;

void TForm1::FormCreate(const QUrl& calendarPage) {
    WebBrowser1->navigate(calendarPage);
    saveDialogStart_ = QCoreApplication::applicationFilePath();
    // StringGrid1 wrote its titles and widths when it was made.
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
}

void TForm1::pageLoaded() {
    QPalette colours = Panel5->palette();
    colours.setColor(QPalette::Window, toQColor(panelColour));
    Panel5->setPalette(colours);
    Timer2->start();
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
    if (extracting_) return;
    extracting_ = true;
    const auto done = qScopeGuard([this] { extracting_ = false; });

    Timer2->stop();
    Timer3->start();
    // The page is read before the table is touched: when the browser fails, the table keeps
    // its rows instead of being left with emptied ones.
    const std::string pageText = WebBrowser1->bodyHtml();
    ExtractionOptions options;
    options.mode = ExtractionMode::FreshTable;
    options.currentYear = desktop_.clock.now().date().year();
    options.processEvents = [] { QCoreApplication::processEvents(); };
    extractEvents(pageText, StringGrid1->table(), options);
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
    // The alert pass comes with the alert component.
}

void TForm1::Timer2Timer() {
    toggleBold(Button2);
}

void TForm1::Timer3Timer() {
    toggleBold(Button3);
}

void TForm1::checkField(QLineEdit* field, int highest, const char* putBack, const char* message) {
    if (strToInt(toCp1251(field->text())) <= highest) return;
    field->setText(text(putBack));
    desktop_.messages.showMessage(text(message));
}

void TForm1::Edit1Change() {
    checkField(Edit1, 59, "30", "Значение \"минуты\" не может быть больше чем 59");
}

void TForm1::Edit3Change() {
    checkField(Edit3, 23, "00", "Значение \"часы\" не может быть больше чем 23");
}

void TForm1::Edit4Change() {
    checkField(Edit4, 30, "30", "Значение \"минуты\" не может быть больше чем 30");
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
