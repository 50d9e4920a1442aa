#include "mainwindow/AlertField.h"

#include "base/Convert.h"
#include "base/Cp1251.h"
#include "base/Error.h"

#include <QCheckBox>
#include <QLineEdit>

namespace newsbell {

namespace {

const QString ticked = QStringLiteral("true");
const QString cleared = QStringLiteral("false");

} // namespace

AlertField::AlertField(QString key, QLineEdit& field, int highest)
    : key_(std::move(key)), field_(&field), highest_(highest) {}

AlertField::AlertField(QString key, QCheckBox& box) : key_(std::move(key)), box_(&box) {}

bool AlertField::takes(const QString& value) const {
    if (box_) return value == ticked || value == cleared;
    try {
        const int number = strToInt(toCp1251(value));
        return number >= 0 && number <= highest_;
    } catch (const Error&) {
        return false;
    }
}

QString AlertField::value() const {
    if (box_) return box_->isChecked() ? ticked : cleared;
    return field_->text();
}

void AlertField::setValue(const QString& value) const {
    if (box_)
        box_->setChecked(value == ticked);
    else
        field_->setText(value);
}

void AlertField::follow(const QObject* context, std::function<void(const QString&)> changed) const {
    if (box_)
        QObject::connect(box_, &QCheckBox::toggled, context,
                         [changed](bool checked) { changed(checked ? ticked : cleared); });
    else
        QObject::connect(field_, &QLineEdit::textChanged, context, std::move(changed));
}

} // namespace newsbell
