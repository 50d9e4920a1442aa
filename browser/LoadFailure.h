#pragma once

#include <QString>
#include <QUrl>

namespace newsbell {

// A load that did not reach its page: the address asked for and why, in Russian.
struct LoadFailure {
    QUrl address;
    QString reason;
};

// "Страница календаря <address> не открылась: <reason>", as the windows tell it.
QString loadFailureMessage(const LoadFailure& failure);

// Why a load failed, for a user who reads no Chromium: an HTTP status the server answered
// with, or a network error of Chromium (a negative code; name is Chromium's, such as
// "net::ERR_CONNECTION_REFUSED", shown for the codes not named here).
QString httpStatusReason(int status);
QString networkErrorReason(int code, const QString& name);

} // namespace newsbell
