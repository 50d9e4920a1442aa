#include "weeks/WeekScripts.h"

#include "base/DateText.h"

namespace newsbell {

QString weekScript(QDate date) {
    return QStringLiteral("CP_targetInput=-1;CP_change_time('weekly');CP_tmpReturnFunction(") +
           QString::fromLatin1(formatDate(date, scriptDateFormat)) +
           QStringLiteral(");CP_hideCalendar(") + QStringLiteral("'0'") + QStringLiteral(");");
}

} // namespace newsbell
