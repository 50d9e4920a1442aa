#pragma once

#include "browser/LoadFailure.h"

#include <QObject>
#include <QString>
#include <QUrl>
#include <chrono>
#include <optional>
#include <string>

class QWidget;

namespace newsbell {

// The embedded browser as the windows use it: load a page, read its body, run a script in it,
// and hear when a load has finished. Everything happens on the user-interface thread.
class BrowserHost : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The control to place in a window.
    virtual QWidget* widget() = 0;

    // Starts loading url and returns at once; the load ends in downloadComplete() and
    // documentComplete().
    virtual void navigate(const QUrl& url) = 0;

    // False until a load has finished; the body and scripts need a document.
    virtual bool hasDocument() const = 0;

    // Whether the last finished load reached its page; a failed one (nothing listening at the
    // address, say) shows the browser's own error page instead.
    virtual bool pageLoaded() const = 0;

    // Why the last finished load did not reach its page; nothing when it did, or before the
    // first load has finished.
    virtual std::optional<LoadFailure> loadFailure() const = 0;

    // Whether a load is under way (sent by navigate() or by the page itself) whose end has not
    // been notified yet; the document may then be the one before it, or none.
    virtual bool loading() const = 0;

    // The HTML of the document's body in the legacy serialisation the extraction's markers are
    // written for (upper-case tags, bare simple attribute values, noWrap, &nbsp;), in cp1251 with
    // "?" for characters cp1251 lacks. Throws Error when no document is loaded or the page does
    // not answer within a few seconds.
    virtual std::string bodyHtml() = 0;

    // Runs code in the document's window and discards its result; without a document nothing
    // happens. Throws Error when the script fails, the language is not "JavaScript" or the page
    // does not answer within a few seconds.
    virtual void runScript(const QString& code, const QString& language) = 0;

    // How long a navigation that the page starts by itself (a script, a link) must be put off
    // from now so that the browser lets it through; zero for a browser that stops none.
    virtual std::chrono::milliseconds navigationDelay() const { return {}; }

signals:
    // A load has finished; both arrive once per load, this one first.
    void downloadComplete();
    void documentComplete();
    // The page is about to go to url (a link, a script or navigate()).
    void beforeNavigate(const QUrl& url);
};

} // namespace newsbell
