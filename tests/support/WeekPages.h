#pragma once

#include <QDate>
#include <QString>
#include <string>
#include <vector>

namespace newsbell::testing {

// A calendar page text in the browser's legacy serialisation with events on the days from
// monday on: event i (from 1) is on day (i - 1) / 2 of the week, its date shown only on the
// first event of the day. The page reports pageDate (monday when not given) as its date.
std::string legacyWeekPage(QDate monday, int events, QDate pageDate = {});
// The Monday of the week a week script asks for ("CP_tmpReturnFunction(2010,3,10)" asks for
// the week of 8 March 2010); invalid when code asks for none.
QDate askedWeek(const QString& code);

// The table text file lines the extraction of that page gives.
std::string expectedWeekText(QDate monday, int events, const std::vector<int>& keptEvents = {});

} // namespace newsbell::testing
