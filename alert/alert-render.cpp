// alert-render OUT.png [--width W --height H] [--position N] [--hover BUTTON] [--press BUTTON]
//              MESSAGE...
// Paints the alert popup holding the messages (mini-HTML) into a PNG, offscreen.

#include "alert/AlertNotifier.h"
#include "alert/AlertPreview.h"
#include "base/Cp1251.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

using namespace newsbell;

namespace {

constexpr int largestSide = 10000;

// The main window leaves its alert component's popup settings as the component makes them.
AlertWindowSettings mainWindowSettings() {
    const TAlertNotifier component(nullptr);
    return component.popupSettings();
}

[[noreturn]] void fail(const QString& message) {
    std::fprintf(stderr, "alert-render: %s\n", qPrintable(message));
    std::exit(1);
}

int numberIn(const QCommandLineParser& parser, const QString& name, int fallback, int largest) {
    if (!parser.isSet(name)) return fallback;
    bool ok = false;
    const int value = parser.value(name).toInt(&ok);
    if (!ok || value < 1 || value > largest)
        fail(QStringLiteral("--%1 wants a number from 1 to %2").arg(name).arg(largest));
    return value;
}

std::optional<AlertButton> buttonIn(const QCommandLineParser& parser, const QString& name) {
    if (!parser.isSet(name)) return std::nullopt;
    const std::optional<AlertButton> button = alertButtonNamed(parser.value(name).toStdString());
    if (!button) fail(QStringLiteral("--%1 wants close, prev, next, delete or popup").arg(name));
    return button;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Paints the alert popup holding the given messages."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("OUT.png"), QStringLiteral("the picture to write"));
    parser.addPositionalArgument(QStringLiteral("MESSAGE"),
                                 QStringLiteral("one message in mini-HTML; give one or more"),
                                 QStringLiteral("MESSAGE..."));
    parser.addOption(
        {QStringLiteral("width"), QStringLiteral("popup width (300)"), QStringLiteral("W")});
    parser.addOption(
        {QStringLiteral("height"), QStringLiteral("popup height (100)"), QStringLiteral("H")});
    parser.addOption(
        {QStringLiteral("position"), QStringLiteral("show message N (1)"), QStringLiteral("N")});
    parser.addOption({QStringLiteral("hover"), QStringLiteral("mark BUTTON as under the mouse"),
                      QStringLiteral("BUTTON")});
    parser.addOption({QStringLiteral("press"), QStringLiteral("mark BUTTON as pressed"),
                      QStringLiteral("BUTTON")});
    parser.process(application);

    const QStringList arguments = parser.positionalArguments();
    if (arguments.size() < 2)
        fail(QStringLiteral("give OUT.png and at least one MESSAGE (see --help)"));
    AlertPreview preview;
    for (const QString& message : arguments.mid(1)) preview.messages.push_back(toCp1251(message));
    preview.size = QSize(numberIn(parser, QStringLiteral("width"), 300, largestSide),
                         numberIn(parser, QStringLiteral("height"), 100, largestSide));
    preview.position =
        numberIn(parser, QStringLiteral("position"), 1, int(preview.messages.size()));
    preview.hovered = buttonIn(parser, QStringLiteral("hover"));
    preview.pressed = buttonIn(parser, QStringLiteral("press"));

    const QImage picture = renderAlertPreview(preview, mainWindowSettings());
    if (!picture.save(arguments.first(), "PNG"))
        fail(QStringLiteral("cannot write ") + arguments.first());
    return 0;
}
