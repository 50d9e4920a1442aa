#pragma once

#include <QDialog>
#include <QString>
#include <QUrl>

class QDialogButtonBox;
class QLabel;
class QLineEdit;

namespace newsbell {

// What is wrong with a typed calendar address, or an empty text when it will do. An empty
// address stands for the built-in calendar; others must be http, https or file addresses.
QString calendarAddressProblem(const QString& typed);

// The address the windows load for a typed text that has no problem: empty for the built-in
// calendar.
QUrl calendarAddress(const QString& typed);

// Asks for the address of the weekly calendar page. OK is offered only while the text will do;
// what is wrong is said under the field as the user types.
class CalendarAddressDialog final : public QDialog {
    Q_OBJECT
public:
    CalendarAddressDialog(const QUrl& current, QWidget* parent = nullptr);

    QUrl address() const;

    QLineEdit* addressField = nullptr;
    QLabel* problemLabel = nullptr;
    QDialogButtonBox* buttons = nullptr;

private:
    void check();
};

} // namespace newsbell
