#include "headless/RunWords.h"

#include "base/Error.h"

#include <QRegularExpression>

namespace newsbell {

void readMoment(const QString& moment, const char* option, QDate& day, QTime& time) {
    static const QRegularExpression form(
        QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2}) (\\d{2}):(\\d{2}):(\\d{2})$"));
    const QRegularExpressionMatch parts = form.match(moment);
    if (parts.hasMatch()) {
        const auto number = [&parts](int i) { return parts.captured(i).toInt(); };
        day = QDate(number(1), number(2), number(3));
        time = QTime(number(4), number(5), number(6));
    }
    if (!day.isValid() || !time.isValid())
        throw Error(QString::fromUtf8("%1: момент должен иметь вид ГГГГ-ММ-ДД ЧЧ:ММ:СС: %2")
                        .arg(QLatin1String(option), moment)
                        .toStdString());
}

void failNoSuchValue(const char* option, const QStringList& values, const QString& item) {
    throw Error(QString::fromUtf8("%1: нет такого значения (есть %2): %3")
                    .arg(QLatin1String(option), values.join(QLatin1Char(',')), item)
                    .toStdString());
}

} // namespace newsbell
