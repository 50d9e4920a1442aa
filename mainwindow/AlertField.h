#pragma once

#include <QString>
#include <functional>

class QCheckBox;
class QLineEdit;
class QObject;

namespace newsbell {

// One alert field or box of the main window as the extras beside it see it: the key that says
// what it holds (never the control's name, so that renaming a control changes nothing outside
// the window), the values it takes, and its value as text: the field's text, or "true" or
// "false" for a box.
class AlertField {
public:
    // A field that takes the whole numbers from 0 to highest, read as the window reads them.
    AlertField(QString key, QLineEdit& field, int highest);
    // A box, ticked or not.
    AlertField(QString key, QCheckBox& box);

    const QString& key() const { return key_; }
    bool takes(const QString& value) const;
    QString value() const;
    // Sets the control as typing or a click would, so that the window's own checks run.
    void setValue(const QString& value) const;
    // Calls changed with every new value for as long as context lives.
    void follow(const QObject* context, std::function<void(const QString&)> changed) const;

private:
    QString key_;
    QLineEdit* field_ = nullptr;
    QCheckBox* box_ = nullptr;
    int highest_ = 0;
};

} // namespace newsbell
