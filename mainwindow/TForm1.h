#pragma once

#include "base/Color.h"
#include "browser/BrowserHost.h"
#include "core/AlertPass.h"
#include "core/EventTable.h"
#include "mainwindow/AlertField.h"
#include "widgets/Desktop.h"
#include "widgets/ErrorReporter.h"

#include <QMainWindow>
#include <QUrl>
#include <array>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;

namespace newsbell {

class EventGrid;
class LinkLabel;
class PaintOrder;
class TAlertNotifier;

inline constexpr TColor headerColourBeforeLoad = 7697919; // red 255, green 117, blue 117
inline constexpr TColor panelColour = 16702159;           // red 207, green 218, blue 254
inline constexpr TColor saveStripColour = 9109445;        // red 197, green 255, blue 138

// The longest interval between alert passes, in minutes: the most whose milliseconds a timer
// still holds.
inline constexpr int longestAlertInterval = 35791;

// The publisher's site, named in the caption and opened by the two links.
inline constexpr char publisherHost[] = "newsbell.example.net";
inline constexpr char publisherAddress[] = "https://newsbell.example.net/";

// The main window: the calendar page in the browser, the alert settings, the event table with
// its commands, the menu and the links. Controls carry their names from the window definition
// (also as object names) and stay private; handlers are named after their control and event.
class TForm1 final : public QMainWindow {
    Q_OBJECT
public:
    // Takes over browser and sends it to calendarPage.
    TForm1(BrowserHost* browser, const Desktop& desktop, ErrorReporter& errors,
           const QUrl& calendarPage, QWidget* parent = nullptr);
    ~TForm1() override;

    // The window the menu's "several weeks" item shows; owned by the caller.
    void setWeekWindow(QWidget* window) { weekWindow_ = window; }

    void WebBrowser1DownloadComplete();
    void WebBrowser1DocumentComplete();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    // The alert pass; run by Button4 and by every tick of Timer1.
    void Button4Click();
    void Timer2Timer();
    void Timer3Timer();
    void Edit1Change();
    void Edit3Change();
    void Edit4Change();
    void N2Click();
    void N3Click();
    void N4Click();
    void Label2Click();

    // What the extras beside the window (tray, kept settings, calendar address) use; the
    // controls themselves stay inside.

    // Puts action into "Меню" before "Выход"; it leaves the menu when it is deleted.
    void addMenuAction(QAction* action);
    // One alert pass, as a press of "Включить оповещение событий": a failure is reported as
    // the window reports it.
    void runAlertPass();
    // Reads the page into the table, as a press of "Сбор данных в таблицу": a failure is
    // reported as the window reports it.
    void collectTable();
    // Whether an extraction is rebuilding the table (it lets the window work between events).
    bool isExtracting() const { return extracting_; }
    // Sends the browser to page.
    void showPage(const QUrl& page);
    // Puts line (one line of text: where the data come from) right above the table.
    void addSourceLine(QWidget* line);
    // The event table as the last extraction or the user left it.
    const EventTable& table() const;
    // The alert fields and boxes as the pass reads them.
    AlertSettings alertSettings() const;
    // The alert fields and boxes under their keys, in the order of the panel.
    std::vector<AlertField> alertFields();

signals:
    // An alert pass went through to its end.
    void alertPassDone();
    // An extraction ended (the alert pass's or "Сбор данных в таблицу"'s): succeeded tells
    // whether the table now holds the page's events. Told from a scope guard, also while a
    // failure goes on to the error reporter, so listeners must not throw.
    void extractionDone(bool succeeded);

private:
    void FormCreate(const QUrl& calendarPage);
    void buildHeader(QWidget* upper);
    QWidget* buildSettingsPanel();
    QWidget* buildTableArea();
    void buildMenu();
    void buildTimers();
    void connectHandlers();
    // What a command asked for before the page could be read waits for; a pass includes the
    // extraction.
    enum class Waiting { Nothing, Extraction, Pass };
    void pageLoaded();
    void pageFailed(const LoadFailure& failure);
    // False when the page can be read now. Otherwise the command waits for the load (the page
    // is loaded again when its last load failed) and true is returned.
    bool waitForPage(Waiting command);
    void runWaitingCommand();
    void pageWaitRanOut();
    void setHeaderColour(TColor colour);
    // A notice in the status line that the alert pass's own line comes back after.
    void showNotice(const QString& notice);
    void endNotice();
    void checkField(QLineEdit* field, const FieldRule& rule);
    void setAlertInterval(int minutes);
    void raiseAlert(const DueAlert& alert);
    // In the order of alertCurrencies and alertImportances.
    std::array<QCheckBox*, alertCurrencies.size()> currencyBoxes() const;
    std::array<QCheckBox*, alertImportances.size()> importanceBoxes() const;

    QWidget* Panel5 = nullptr;
    QLabel* Label1 = nullptr;
    LinkLabel* Label2 = nullptr;
    LinkLabel* Label3 = nullptr;
    BrowserHost* WebBrowser1 = nullptr;
    EventGrid* StringGrid1 = nullptr;
    EventTable StringGrid2; // scratch rows for the deletion, never shown

    QLabel* Label5 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLabel* Label7 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLabel* Label13 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLabel* Label8 = nullptr;
    QCheckBox* CheckBox4 = nullptr;
    QCheckBox* CheckBox5 = nullptr;
    QCheckBox* CheckBox6 = nullptr;
    QCheckBox* CheckBox7 = nullptr;
    QCheckBox* CheckBox8 = nullptr;
    QCheckBox* CheckBox9 = nullptr;
    QCheckBox* CheckBox10 = nullptr;
    QCheckBox* CheckBox11 = nullptr;
    QLabel* Label9 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QCheckBox* CheckBox3 = nullptr;
    QCheckBox* CheckBox12 = nullptr;
    QCheckBox* CheckBox13 = nullptr;
    QPushButton* Button4 = nullptr;
    QLabel* Label10 = nullptr;

    QPushButton* Button2 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button3 = nullptr;

    TAlertNotifier* AlertNotifier1 = nullptr;
    std::unique_ptr<PaintOrder> paintOrder_; // the popup on screen before the table repaints

    QMenu* N1 = nullptr;
    QAction* N2 = nullptr;
    QAction* N3 = nullptr;
    QAction* N4 = nullptr;

    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;
    QTimer* Timer3 = nullptr;
    QTimer* pageWait_ = nullptr; // bounds the wait of a command for the page

    Desktop desktop_;
    ErrorReporter& errors_;
    QString saveDialogStart_; // SaveDialog1's initial directory: the program's own file
    QWidget* weekWindow_ = nullptr;
    bool extracting_ = false;
    bool alerting_ = false;
    QUrl address_; // where the window last sent the browser
    Waiting waiting_ = Waiting::Nothing;
    std::optional<QString> passStatus_; // the status line under a notice
    QString failureTold_;               // told once, until a page loads
};

} // namespace newsbell
