// Builds the controls of the main window: header, browser, settings panel, table, save strip,
// menu and timers. The handlers live in TForm1.cpp.
#include "alert/AlertNotifier.h"
#include "mainwindow/TForm1.h"
#include "widgets/ElidedLabel.h"
#include "widgets/EventGrid.h"
#include "widgets/LinkLabel.h"
#include "widgets/PaintOrder.h"
#include "widgets/WidgetStyle.h"

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>
#include <string>

namespace newsbell {

namespace {

constexpr int windowWidth = 1134;
constexpr int windowHeight = 667;
constexpr int upperHeight = 503; // header strip and browser
constexpr int headerHeight = 24;
constexpr int saveStripHeight = 32;
constexpr int firstAlertPass = 300000; // ms after start
constexpr int blinkInterval = 1000;
constexpr int alertDisplayTime = 1000000; // ms
constexpr std::chrono::seconds longestPageWait{60};

// The header's serif face, or the nearest serif face where it is not installed.
QFont bookAntiqua() {
    QFont font;
    font.setFamilies({QStringLiteral("Book Antiqua"), QStringLiteral("Palatino Linotype"),
                      QStringLiteral("DejaVu Serif Condensed")});
    font.setStyleHint(QFont::Serif);
    return font;
}

// A blinking button switches between bold and regular. It keeps the width of the wider face,
// so that the panels and the table beside it do not move with every blink.
void keepWidthWhileBlinking(QPushButton* button) {
    const QFont own = button->font();
    QFont bold = own;
    bold.setBold(!own.bold());
    button->setFont(bold);
    const int otherWidth = button->sizeHint().width();
    button->setFont(own);
    button->setFixedWidth(std::max(otherWidth, button->sizeHint().width()));
}

LinkLabel* publisherLink(const char* name) {
    auto* link = named(new LinkLabel(QLatin1Char(' ') + QLatin1String(publisherHost)), name);
    link->setFont(styled(bookAntiqua(), true, true));
    setTextColour(link, Qt::red);
    return link;
}

QLineEdit* field(const char* name, const char* initial, int width) {
    auto* edit = named(new QLineEdit(text(initial)), name);
    edit->setFixedWidth(width);
    return edit;
}

QCheckBox* choice(const char* name, const char* caption, const QFont& font) {
    auto* box = named(new QCheckBox(text(caption)), name);
    box->setFont(font);
    box->setChecked(true);
    return box;
}

QHBoxLayout* row(QVBoxLayout* column) {
    auto* line = new QHBoxLayout;
    line->setSpacing(6);
    column->addLayout(line);
    return line;
}

} // namespace

void TForm1::buildHeader(QWidget* upper) {
    Panel5 = named(new QWidget(upper), "Panel5");
    Panel5->setFixedHeight(headerHeight);
    fillBackground(Panel5, headerColourBeforeLoad);
    Label1 = named(new QLabel(text("Экономический календарь с возможностью оповещения о "
                                   "предстоящем событии. Разработчик Brisvane. ")),
                   "Label1");
    QFont headerFont = styled(bookAntiqua(), true);
    headerFont.setPixelSize(16);
    Label1->setFont(headerFont);
    setTextColour(Label1, Qt::blue);
    Label2 = publisherLink("Label2");
    auto* line = new QHBoxLayout(Panel5);
    line->setContentsMargins(6, 0, 6, 0);
    line->addWidget(Label1);
    line->addWidget(Label2);
    line->addStretch();

    auto* column = new QVBoxLayout(upper);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(Panel5);
    column->addWidget(WebBrowser1->widget(), 1);
}

QWidget* TForm1::buildSettingsPanel() {
    auto* panel = named(new QWidget, "SettingsPanel");
    fillBackground(panel, panelColour);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(6, 3, 6, 3);
    column->setSpacing(2);

    Label5 = named(new QLabel(text("Время срабатывания алерта до события")), "Label5");
    Edit3 = field("Edit3", "00", 28);
    Edit1 = field("Edit1", "30", 28);
    Label7 = named(new QLabel(text("Интервал подачи сигнала")), "Label7");
    Edit2 = field("Edit2", "1", 28);
    QHBoxLayout* lead = row(column);
    for (QWidget* widget : std::initializer_list<QWidget*>{Label5, Edit3, new QLabel(text("Ч")),
                                                           Edit1, new QLabel(text("М"))})
        lead->addWidget(widget);
    lead->addSpacing(16);
    lead->addWidget(Label7);
    lead->addWidget(Edit2);
    lead->addStretch();

    Label13 =
        named(new QLabel(text("Время срабатывания алерта после совершения события")), "Label13");
    Edit4 = field("Edit4", "10", 28);
    // The table's own commands sit here, where the narrow table area has no room for them.
    Button2 = named(new QPushButton(text("Сбор данных в таблицу")), "Button2");
    Button1 = named(new QPushButton(text("Удалить выделенные строки")), "Button1");
    Button1->setToolTip(text("Shift+курсор ВВЕРХ или ВНИЗ позволяет выделять несколько строк"));
    QHBoxLayout* after = row(column);
    after->addWidget(Label13);
    after->addWidget(Edit4);
    after->addStretch();
    after->addWidget(Button2);
    after->addWidget(Button1);

    Label8 = named(new QLabel(text("Валюта для подачи сигнала:")), "Label8");
    Label8->setFont(styled(font(), true));
    setTextColour(Label8, Qt::red);
    const QFont bold = styled(font(), true);
    QCheckBox** currencies[] = {&CheckBox4, &CheckBox5, &CheckBox6,  &CheckBox7,
                                &CheckBox8, &CheckBox9, &CheckBox10, &CheckBox11};
    static_assert(std::size(currencies) == alertCurrencies.size());
    QHBoxLayout* currencyRow = row(column);
    currencyRow->addWidget(Label8);
    for (size_t i = 0; i < alertCurrencies.size(); ++i) {
        const QByteArray name = "CheckBox" + QByteArray::number(int(i) + 4);
        const std::string code(alertCurrencies[i]);
        *currencies[i] = choice(name.constData(), code.c_str(), bold);
        currencyRow->addWidget(*currencies[i]);
    }
    currencyRow->addStretch();

    Label9 = named(new QLabel(text("Уровень Важности для подачи сигнала:")), "Label9");
    Label9->setFont(bold);
    setTextColour(Label9, Qt::blue);
    const QFont boldUnderlined = styled(font(), true, true);
    CheckBox1 = choice("CheckBox1", "Низкая важность", boldUnderlined);
    CheckBox2 = choice("CheckBox2", "Средняя важность", boldUnderlined);
    CheckBox3 = choice("CheckBox3", "Высокая важность", boldUnderlined);
    QHBoxLayout* importance = row(column);
    for (QWidget* widget : std::initializer_list<QWidget*>{Label9, CheckBox1, CheckBox2, CheckBox3})
        importance->addWidget(widget);
    importance->addStretch();

    Button4 = named(new QPushButton(text("Включить оповещение событий")), "Button4");
    CheckBox12 = choice("CheckBox12", "Всплывающая подсказка", font());
    CheckBox13 = choice("CheckBox13", "Звуковое сопровождение", font());
    Label3 = publisherLink("Label3");
    QHBoxLayout* commands = row(column);
    for (QWidget* widget : std::initializer_list<QWidget*>{Button4, CheckBox12, CheckBox13})
        commands->addWidget(widget);
    commands->addStretch();
    commands->addWidget(Label3);
    return panel;
}

QWidget* TForm1::buildTableArea() {
    auto* area = new QWidget;
    auto* column = new QVBoxLayout(area);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    StringGrid1 = named(new EventGrid(mainColumnWidths), "StringGrid1");
    column->addWidget(StringGrid1, 1);

    auto* strip = named(new QWidget, "SaveStrip");
    strip->setFixedHeight(saveStripHeight);
    fillBackground(strip, saveStripColour);
    // The status line of the alert pass gets the width left beside the save button.
    // A long status line ends in "…" rather than pushing the save button or widening the window.
    Label10 = named(new ElidedLabel, "Label10");
    Label10->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    Button3 = named(new QPushButton(text("Сохранение таблицы в текстовом файле")), "Button3");
    Button3->setFont(styled(font(), true));
    auto* line = new QHBoxLayout(strip);
    line->setContentsMargins(4, 2, 4, 2);
    line->addWidget(Label10, 1);
    line->addWidget(Button3);
    column->addWidget(strip);
    return area;
}

void TForm1::addSourceLine(QWidget* line) {
    qobject_cast<QVBoxLayout*>(StringGrid1->parentWidget()->layout())->insertWidget(0, line);
}

void TForm1::buildMenu() {
    N1 = menuBar()->addMenu(text("Меню"));
    N1->setObjectName(QStringLiteral("N1"));
    N2 = named(N1->addAction(text("Обработать несколько недель")), "N2");
    N3 = named(N1->addAction(text("Выход")), "N3");
    N4 = named(menuBar()->addAction(text("Справка")), "N4");
}

void TForm1::buildTimers() {
    Timer1 = named(new QTimer(this), "Timer1");
    Timer1->setInterval(firstAlertPass);
    // A coarse timer may drift by 5% of a minute; a precise one keeps the passes on the minute.
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->start();
    Timer2 = named(new QTimer(this), "Timer2");
    Timer2->setInterval(blinkInterval);
    Timer3 = named(new QTimer(this), "Timer3");
    Timer3->setInterval(blinkInterval);
    pageWait_ = named(new QTimer(this), "PageWait");
    pageWait_->setSingleShot(true);
    pageWait_->setInterval(longestPageWait);
}

TForm1::TForm1(BrowserHost* browser, const Desktop& desktop, ErrorReporter& errors,
               const QUrl& calendarPage, QWidget* parent)
    : QMainWindow(parent), WebBrowser1(browser), desktop_(desktop), errors_(errors) {
    setObjectName(QStringLiteral("Form1"));
    WebBrowser1->setParent(this);
    // First of all: the page loads while the window is built (its notifications come through
    // the event loop, once the handlers are connected).
    FormCreate(calendarPage);
    setWindowTitle(QStringLiteral("Newsbell ") + QLatin1String(publisherHost));
    setFont(windowFont());

    auto* upper = new QWidget;
    buildHeader(upper);
    auto* lower = new QWidget;
    auto* lowerLine = new QHBoxLayout(lower);
    lowerLine->setContentsMargins(0, 0, 0, 0);
    lowerLine->setSpacing(0);
    lowerLine->addWidget(buildSettingsPanel());
    lowerLine->addWidget(buildTableArea(), 1);
    // The user may give the table more room than the fixed layout leaves it.
    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(upper);
    splitter->addWidget(lower);
    splitter->setChildrenCollapsible(false);
    setCentralWidget(splitter);
    buildMenu();
    buildTimers();
    AlertNotifier1 = new TAlertNotifier(this);
    AlertNotifier1->setObjectName(QStringLiteral("AlertNotifier1"));
    AlertNotifier1->SetDisplayTime(alertDisplayTime);
    paintOrder_ = std::make_unique<PaintOrder>(*this);
    // Measured in the window's own font, which the buttons have only now that they are placed.
    keepWidthWhileBlinking(Button2);
    keepWidthWhileBlinking(Button3);

    resize(windowWidth, windowHeight);
    splitter->setSizes({upperHeight, windowHeight - upperHeight - menuBar()->sizeHint().height()});
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());

    connectHandlers();
}

} // namespace newsbell
