#include "program/CalendarAddressDialog.h"

#include "widgets/WidgetStyle.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace newsbell {

QString calendarAddressProblem(const QString& typed) {
    const QString trimmed = typed.trimmed();
    if (trimmed.isEmpty()) return {};
    const QUrl url(trimmed, QUrl::StrictMode);
    if (!url.isValid() || url.isRelative())
        return text("Это не адрес страницы: нужен вид http://сервер/путь.");
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("file"))
        return url.path().isEmpty() ? text("В адресе file:// нет пути к файлу.") : QString();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        return text("Адрес должен начинаться с http://, https:// или file://.");
    if (url.host().isEmpty()) return text("В адресе нет имени сервера.");
    return {};
}

QUrl calendarAddress(const QString& typed) {
    const QString trimmed = typed.trimmed();
    return trimmed.isEmpty() ? QUrl() : QUrl(trimmed, QUrl::StrictMode);
}

CalendarAddressDialog::CalendarAddressDialog(const QUrl& current, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(text("Адрес календаря"));
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(text("Адрес недельной страницы календаря (пусто — встроенный "
                                    "демонстрационный календарь):"));
    heading->setWordWrap(true);
    layout->addWidget(heading);
    addressField = new QLineEdit(current.toString());
    addressField->setMinimumWidth(480);
    addressField->setPlaceholderText(text("встроенный демонстрационный календарь"));
    addressField->setClearButtonEnabled(true);
    layout->addWidget(addressField);
    problemLabel = new QLabel;
    problemLabel->setStyleSheet(QStringLiteral("color: #b00000;"));
    layout->addWidget(problemLabel);
    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(addressField, &QLineEdit::textChanged, this, &CalendarAddressDialog::check);
    check();
}

QUrl CalendarAddressDialog::address() const {
    return calendarAddress(addressField->text());
}

void CalendarAddressDialog::check() {
    const QString problem = calendarAddressProblem(addressField->text());
    problemLabel->setText(problem);
    buttons->button(QDialogButtonBox::Ok)->setEnabled(problem.isEmpty());
}

} // namespace newsbell
