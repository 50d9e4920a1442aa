#include "program/KeptSettings.h"

#include "base/Convert.h"
#include "base/Cp1251.h"
#include "base/Error.h"
#include "core/AlertPass.h"
#include "program/CalendarAddressDialog.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QWidget>
#include <array>

namespace newsbell {

namespace {

// The highest whole number each field of the main window takes: the window's own checks, and
// for the interval the most minutes whose milliseconds its timer still holds.
struct FieldRange {
    const char* name;
    int highest;
};

constexpr std::array fieldRanges{
    FieldRange{"Edit1", leadMinutesRule.highest},
    FieldRange{"Edit2", 35791},
    FieldRange{"Edit3", leadHoursRule.highest},
    FieldRange{"Edit4", afterMinutesRule.highest},
};

const QString addressKey = QStringLiteral("calendar/address");

QString fieldKey(const QWidget& control) {
    return QStringLiteral("mainWindow/") + control.objectName();
}

// Read as the window reads its fields; below 0 nothing is kept.
bool inRange(const QString& text, const FieldRange& range) {
    try {
        const int value = strToInt(toCp1251(text));
        return value >= 0 && value <= range.highest;
    } catch (const Error&) {
        return false;
    }
}

} // namespace

KeptSettings::KeptSettings(std::unique_ptr<QSettings> store, Warn warnUser)
    : store_(std::move(store)), warn_(std::move(warnUser)) {
    if (store_->status() != QSettings::NoError) {
        warn("Файл настроек %1 не читается; взяты значения по умолчанию.", store_->fileName());
        // What was half read cannot be trusted; the file is written anew as things change.
        store_->clear();
    }
}

// QSettings writes what is pending soon after each change and when it goes.
KeptSettings::~KeptSettings() = default;

void KeptSettings::warnUnusable(const QString& key, const QString& value, const QString& fallback) {
    warn_(QString::fromUtf8("Настройка %1 = «%2» не подходит; оставлено значение «%3».")
              .arg(key, value, fallback));
}

void KeptSettings::warn(const char* utf8, const QString& key) {
    warn_(QString::fromUtf8(utf8).arg(key));
}

void KeptSettings::keepMainWindow(QWidget& window) {
    keepFields(window);
    keepCheckBoxes(window);
    keepGeometry(window, QStringLiteral("mainWindow/geometry"));
}

void KeptSettings::keepWeekWindow(QWidget& window) {
    keepGeometry(window, QStringLiteral("weekWindow/geometry"));
}

void KeptSettings::keepFields(QWidget& window) {
    for (const FieldRange& range : fieldRanges) {
        auto* field = window.findChild<QLineEdit*>(QLatin1String(range.name));
        if (!field) continue;
        const QString key = fieldKey(*field);
        if (store_->contains(key)) {
            const QVariant kept = store_->value(key);
            if (kept.canConvert<QString>() && inRange(kept.toString(), range))
                field->setText(kept.toString());
            else
                warnUnusable(key, kept.toString(), field->text());
        }
        // Only whole numbers the window takes are kept; a field emptied while typing is not.
        connect(field, &QLineEdit::textChanged, this, [this, key, range](const QString& text) {
            if (inRange(text, range)) store_->setValue(key, text);
        });
    }
}

void KeptSettings::keepCheckBoxes(QWidget& window) {
    for (QCheckBox* box : window.findChildren<QCheckBox*>()) {
        if (box->objectName().isEmpty()) continue;
        const QString key = fieldKey(*box);
        if (store_->contains(key)) {
            const QString kept = store_->value(key).toString();
            if (kept == QLatin1String("true") || kept == QLatin1String("false"))
                box->setChecked(kept == QLatin1String("true"));
            else
                warnUnusable(key, kept, QLatin1String(box->isChecked() ? "true" : "false"));
        }
        connect(box, &QCheckBox::toggled, this,
                [this, key](bool checked) { store_->setValue(key, checked); });
    }
}

void KeptSettings::keepGeometry(QWidget& window, const QString& key) {
    if (store_->contains(key) && !window.restoreGeometry(store_->value(key).toByteArray()))
        warn("Настройка %1 не подходит; окно встанет на своё обычное место.", key);
    // Both windows live until the program ends, and the week window may be hidden by then.
    connect(qApp, &QCoreApplication::aboutToQuit, this,
            [this, key, target = &window] { store_->setValue(key, target->saveGeometry()); });
}

QUrl KeptSettings::calendarAddress() {
    const QString kept = store_->value(addressKey).toString();
    if (!calendarAddressProblem(kept).isEmpty()) {
        warn("Настройка %1 — не адрес календаря; открыт встроенный календарь.", addressKey);
        return {};
    }
    return newsbell::calendarAddress(kept);
}

void KeptSettings::setCalendarAddress(const QUrl& address) {
    store_->setValue(addressKey, address.toString());
}

QString KeptSettings::saveFolder(const QString& window) const {
    const QString folder = store_->value(window + QStringLiteral("/saveFolder")).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

void KeptSettings::setSaveFolder(const QString& window, const QString& folder) {
    store_->setValue(window + QStringLiteral("/saveFolder"), folder);
}

std::optional<QString> FolderKeepingFileChooser::chooseFileToSave(QWidget* owner,
                                                                  const QString& startPath) {
    const QString folder = settings_.saveFolder(window_);
    // The dialog opens in the folder that holds the path it is given.
    const QString start = folder.isEmpty() ? startPath : QDir(folder).filePath(QStringLiteral("."));
    std::optional<QString> chosen = chooser_.chooseFileToSave(owner, start);
    if (chosen) settings_.setSaveFolder(window_, QFileInfo(*chosen).absolutePath());
    return chosen;
}

} // namespace newsbell
