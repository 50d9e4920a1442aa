#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <vector>

namespace newsbell::testing {

// One image of a GIF animation, filled with one colour of the four-colour palette
// (0 white, 1 red, 2 green, 3 blue).
struct GifTestFrame {
    int x = 0;
    int y = 0;
    int width = 1;
    int height = 1;
    int colorIndex = 1;
    bool withControlExtension = true;
};

QByteArray makeGif(int screenWidth, int screenHeight, const std::vector<GifTestFrame>& frames);
QByteArray encodeImage(const QImage& image, const char* format);
QImage solidImage(int width, int height, QColor color);

// Text, fonts and painting need a GUI application; the first call makes one.
void ensureGuiApplication();

// Makes the DejaVu faces shipped with the system available to the program (and the GUI
// application) and returns the family name, so pictures of text do not depend on what
// else a machine has installed.
const char* dejaVuSans();

} // namespace newsbell::testing
