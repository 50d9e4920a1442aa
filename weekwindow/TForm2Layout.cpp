// Builds the controls of the week window: the top band with the instructions, the two month
// calendars, the run's buttons and labels and the browser; the table; the memo band; the menu.
// The handlers live in TForm2.cpp.
#include "weekwindow/FileMemo.h"
#include "weekwindow/TForm2.h"
#include "widgets/EventGrid.h"
#include "widgets/WidgetStyle.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStackedLayout>
#include <QTextCharFormat>
#include <QToolButton>
#include <QVBoxLayout>

namespace newsbell {

namespace {

constexpr int windowWidth = 1221;
constexpr int windowHeight = 951;
constexpr int topBandHeight = 463;
constexpr int browserHeight = 298;
constexpr int memoBandHeight = 203;
constexpr int calendarHeight = 158;

// The week window's table: as the main window's, with a wider name column.
constexpr ColumnWidths weekColumnWidths{35, 85, 95, 55, 55, 90, 400, 90, 90, 90};

QLabel* line(const char* utf8, const QFont& font) {
    auto* label = new QLabel(text(utf8));
    label->setFont(font);
    return label;
}

// A date label of the run: bold, in its colour, "00.00.00" until a run sets it.
QLabel* dateLabel(const char* name, const QColor& colour, QFont font) {
    auto* label = named(new QLabel(QStringLiteral("00.00.00")), name);
    label->setFont(styled(font, true));
    setTextColour(label, colour);
    return label;
}

QFrame* framed(std::initializer_list<QWidget*> widgets) {
    auto* frame = new QFrame;
    frame->setFrameShape(QFrame::Box);
    auto* column = new QVBoxLayout(frame);
    column->setContentsMargins(4, 2, 4, 2);
    column->setSpacing(0);
    for (QWidget* widget : widgets) column->addWidget(widget);
    return frame;
}

// Week numbers, Monday first, today not marked, a hand cursor; the title bar lime green with
// blue text, the month on the band's colour.
QCalendarWidget* monthCalendar(const char* name, const QFont& font) {
    auto* calendar = named(new QCalendarWidget, name);
    calendar->setFont(font);
    // Month and day names as the rest of the window speaks.
    calendar->setLocale(QLocale(QLocale::Russian, QLocale::Russia));
    calendar->setFirstDayOfWeek(Qt::Monday);
    calendar->setVerticalHeaderFormat(QCalendarWidget::ISOWeekNumbers);
    calendar->setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
    calendar->setGridVisible(false);
    calendar->setCursor(Qt::PointingHandCursor);
    calendar->setFixedHeight(calendarHeight);
    QPalette colours = calendar->palette();
    colours.setColor(QPalette::Base, toQColor(topBandColour));
    colours.setColor(QPalette::AlternateBase, toQColor(topBandColour));
    calendar->setPalette(colours);
    if (auto* title = calendar->findChild<QWidget*>(QStringLiteral("qt_calendar_navigationbar"))) {
        QPalette titleColours = title->palette();
        titleColours.setColor(QPalette::Window, Qt::green);
        titleColours.setColor(QPalette::Highlight, Qt::green);
        for (auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text,
                          QPalette::HighlightedText})
            titleColours.setColor(role, Qt::blue);
        title->setPalette(titleColours);
        for (QWidget* child : title->findChildren<QWidget*>()) child->setPalette(titleColours);
    }
    // The view draws today in bold; here it looks like any other day.
    QTextCharFormat plainDay;
    plainDay.setFontWeight(QFont::Normal);
    calendar->setDateTextFormat(QDate::currentDate(), plainDay);
    return calendar;
}

} // namespace

QWidget* TForm2::buildInstructions() {
    const QFont plain = font();
    const QFont bold = styled(font(), true);
    auto* column = new QVBoxLayout;
    column->setSpacing(4);
    column->addWidget(framed(
        {line("1) Сначала выполните все настройки на странице (часовой пояс, летнее время и т.д.)",
              plain),
         line("2) Затем укажите на левом календаре начальную дату, на правом - конечную", plain),
         line("3) Жмём на кнопку \"Начать процесс склейки\". После указания места для "
              "сохранения файла ",
              plain),
         line("склееной информации, начнётся автоматическая загрузка данных с каждой недели.",
              plain)}));
    column->addWidget(framed({line(
        "Производить манипуляции на странице Календаря во время процесса строго воспрещается.",
        plain)}));
    Label9 = dateLabel("Label9", Qt::green, font());
    Label10 = dateLabel("Label10", Qt::green, font());
    for (auto [caption, label] :
         {std::pair{"дата понедельника НАЧАЛЬНОЙ НЕДЕЛИ периода:", Label9},
          std::pair{"дата понедельника КОНЕЧНОЙ НЕДЕЛИ периода:", Label10}}) {
        auto* row = new QHBoxLayout;
        row->addWidget(line(caption, bold));
        row->addWidget(label);
        row->addStretch();
        column->addLayout(row);
    }
    column->addStretch();
    auto* area = new QWidget;
    area->setLayout(column);
    column->setContentsMargins(0, 0, 0, 0);
    return area;
}

QWidget* TForm2::buildRunControls() {
    auto* arrow =
        named(new QLabel(text("<---- НАЧАЛО < ПЕРИОД СКЛЕЙКИ < КОНЕЦ ---->")), "PeriodArrow");
    arrow->setAlignment(Qt::AlignCenter);
    setTextColour(arrow, Qt::blue);
    Button1 = named(new QPushButton(text("Начать  процесс склейки")), "Button1");
    Button1->setEnabled(false);
    Button2 = named(new QPushButton(text("Остановить процесс")), "Button2");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);

    QFont large = styled(font(), true);
    large.setPointSize(font().pointSize() * 2);
    Label11 = dateLabel("Label11", Qt::red, large);
    WeekProgress = named(new QLabel, "WeekProgress");
    auto* loaded = new QHBoxLayout;
    loaded->addWidget(Label11);
    loaded->addSpacing(8);
    loaded->addWidget(WeekProgress);
    loaded->addStretch();
    auto* loadedArea = new QWidget;
    loadedArea->setLayout(loaded);
    loaded->setContentsMargins(0, 0, 0, 0);
    const QFont bold = styled(font(), true);
    QFrame* week =
        framed({line("Дата понедельника", bold), line("загружаемой недели:", bold), loadedArea});

    auto* column = new QVBoxLayout;
    column->setSpacing(4);
    column->addWidget(arrow);
    column->addLayout(buttons);
    column->addWidget(week);
    auto* area = new QWidget;
    area->setLayout(column);
    column->setContentsMargins(0, 0, 0, 0);
    return area;
}

QWidget* TForm2::buildBrowserArea() {
    auto* area = new QWidget;
    area->setFixedHeight(browserHeight);
    // The browser joins the stack under the panel when the window is first shown.
    browserArea_ = new QStackedLayout(area);
    browserArea_->setStackingMode(QStackedLayout::StackAll);
    auto* cover = named(new QLabel(text("Ждите, идёт загрузка данных с сервера...")), "Panel5");
    cover->setAlignment(Qt::AlignCenter);
    QFont large = styled(font(), true);
    large.setPixelSize(28);
    cover->setFont(large);
    cover->setFrameShape(QFrame::Panel);
    cover->setFrameShadow(QFrame::Raised);
    // A panel of its own over the band, in the window's usual colour.
    fillBackground(cover, QApplication::palette().color(QPalette::Window));
    Panel5 = cover;
    browserArea_->addWidget(Panel5);
    browserArea_->setCurrentWidget(Panel5);
    return area;
}

QWidget* TForm2::buildTopBand() {
    auto* band = named(new QWidget, "TopBand");
    band->setFixedHeight(topBandHeight);
    fillBackground(band, topBandColour);
    MonthCalendar1 = monthCalendar("MonthCalendar1", font());
    MonthCalendar2 = monthCalendar("MonthCalendar2", font());
    auto* upper = new QHBoxLayout;
    upper->setContentsMargins(4, 4, 4, 4);
    upper->setSpacing(8);
    upper->addWidget(buildInstructions(), 1);
    upper->addWidget(MonthCalendar1, 0, Qt::AlignTop);
    upper->addWidget(buildRunControls());
    upper->addWidget(MonthCalendar2, 0, Qt::AlignTop);
    auto* column = new QVBoxLayout(band);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addLayout(upper, 1);
    column->addWidget(buildBrowserArea());
    return band;
}

QWidget* TForm2::buildMemoBand() {
    auto* band = named(new QWidget, "MemoBand");
    band->setFixedHeight(memoBandHeight);
    fillBackground(band, memoBandColour);
    Memo1 = named(new FileMemo, "Memo1");
    auto* column = new QVBoxLayout(band);
    column->setContentsMargins(4, 4, 4, 4);
    column->addWidget(Memo1);
    return band;
}

void TForm2::addSourceLine(QWidget* line) {
    auto* column = qobject_cast<QVBoxLayout*>(StringGrid1->parentWidget()->layout());
    column->insertWidget(column->indexOf(StringGrid1), line);
}

void TForm2::buildMenu() {
    N1 = menuBar()->addMenu(text("Меню"));
    N1->setObjectName(QStringLiteral("N1"));
    N2 = named(N1->addAction(text("Закрыть окно")), "N2");
    N3 = named(menuBar()->addAction(text("Справка")), "N3");
}

void TForm2::placeOver(QWidget* mainWindow) {
    resize(windowWidth, windowHeight);
    const QScreen* screen = mainWindow ? mainWindow->screen() : this->screen();
    QPoint centre = mainWindow ? mainWindow->geometry().center()
                               : (screen ? screen->availableGeometry().center() : QPoint());
    QRect place(QPoint(), size());
    place.moveCenter(centre);
    // The whole window stays on the screen, its title bar first of all.
    if (screen) {
        const QRect available = screen->availableGeometry();
        place.moveRight(std::min(place.right(), available.right()));
        place.moveBottom(std::min(place.bottom(), available.bottom()));
        place.moveLeft(std::max(place.left(), available.left()));
        place.moveTop(std::max(place.top(), available.top()));
    }
    move(place.topLeft());
}

TForm2::TForm2(BrowserMaker makeBrowser, const Desktop& desktop, ErrorReporter& errors,
               const QUrl& calendarPage, QWidget* mainWindow)
    : makeBrowser_(std::move(makeBrowser)), desktop_(desktop), errors_(errors) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(text("Автоматическая склейка недельных новостей"));
    setFont(windowFont());
    // Only closing the main window ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);

    auto* central = new QWidget;
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(buildTopBand());
    StringGrid1 = named(new EventGrid(weekColumnWidths), "StringGrid1");
    column->addWidget(StringGrid1, 1);
    WeekRunListener& listener = *this;
    WeekPage& page = *this;
    run_ = std::make_unique<WeekRun>(page, StringGrid1->table(), listener, desktop_.clock);
    column->addWidget(buildMemoBand());
    setCentralWidget(central);
    buildMenu();
    placeOver(mainWindow);

    connectHandlers();
    FormCreate(calendarPage);
}

} // namespace newsbell
