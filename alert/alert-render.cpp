// alert-render OUT.png [--width W --height H] [--position N] [--hover BUTTON] [--press BUTTON]
//              MESSAGE...
// Paints the alert popup holding the messages (mini-HTML) into a PNG, offscreen.

#include "alert/AlertPreview.h"
#include "base/Cp1251.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

using namespace newsbell;

namespace {

constexpr int largestSide = 10000;

// The main window's alert component as its form sets it up, copied into the popup as the
// component copies it. Stand-in: once TAlertNotifier holds these values, take its copy.
AlertWindowSettings mainWindowAlertSettings() {
    AlertWindowSettings settings;
    settings.AutoHide = false;
    settings.WindowColor = 16440004;
    settings.WindowColorTo = 16105376;
    settings.CaptionColor = 14059353;
    settings.CaptionColorTo = 9841920;
    settings.BorderColor = 9841920;
    settings.BtnHoverColor = 14483455;
    settings.BtnHoverColorTo = 6013175;
    settings.BtnDownColor = 557032;
    settings.BtnDownColorTo = 8182519;
    settings.Font.face = "MS Sans Serif";
    settings.Font.size = 8;
    settings.Font.color = 0xFF000008; // clWindowText
    settings.Hover = false;
    settings.MarginX = 4;
    settings.MarginY = 1;
    settings.PositionFormat = "%d of %d";
    settings.ShowDelete = true;
    settings.ShowPopup = false;
    settings.AutoSize = false;
    settings.AutoDelete = false;
    return settings;
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
        fail(QString("--%1 wants a number from 1 to %2").arg(name).arg(largest));
    return value;
}

std::optional<AlertButton> buttonIn(const QCommandLineParser& parser, const QString& name) {
    if (!parser.isSet(name)) return std::nullopt;
    const std::optional<AlertButton> button = alertButtonNamed(parser.value(name).toStdString());
    if (!button) fail(QString("--%1 wants close, prev, next, delete or popup").arg(name));
    return button;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Paints the alert popup holding the given messages.");
    parser.addHelpOption();
    parser.addPositionalArgument("OUT.png", "the picture to write");
    parser.addPositionalArgument("MESSAGE", "one message in mini-HTML; give one or more",
                                 "MESSAGE...");
    parser.addOption({"width", "popup width (300)", "W"});
    parser.addOption({"height", "popup height (100)", "H"});
    parser.addOption({"position", "show message N (1)", "N"});
    parser.addOption({"hover", "mark BUTTON as under the mouse", "BUTTON"});
    parser.addOption({"press", "mark BUTTON as pressed", "BUTTON"});
    parser.process(application);

    const QStringList arguments = parser.positionalArguments();
    if (arguments.size() < 2) fail("give OUT.png and at least one MESSAGE (see --help)");
    AlertPreview preview;
    for (const QString& message : arguments.mid(1)) preview.messages.push_back(toCp1251(message));
    preview.size = QSize(numberIn(parser, "width", 300, largestSide),
                         numberIn(parser, "height", 100, largestSide));
    preview.position = numberIn(parser, "position", 1, int(preview.messages.size()));
    preview.hovered = buttonIn(parser, "hover");
    preview.pressed = buttonIn(parser, "press");

    const QImage picture = renderAlertPreview(preview, mainWindowAlertSettings());
    if (!picture.save(arguments.first(), "PNG")) fail("cannot write " + arguments.first());
    return 0;
}
