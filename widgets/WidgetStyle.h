#pragma once

#include "base/Color.h"

#include <QFont>
#include <QPalette>
#include <QString>
#include <QWidget>

namespace newsbell {

// What the windows' layouts share: names, colours and faces of controls.

// A window's text, written in the source as UTF-8.
inline QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Gives a control its name from the window definition, as its object name.
template <typename Widget> Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

inline void fillBackground(QWidget* widget, const QColor& colour) {
    QPalette colours = widget->palette();
    colours.setColor(QPalette::Window, colour);
    widget->setPalette(colours);
    widget->setAutoFillBackground(true);
}

inline void fillBackground(QWidget* widget, TColor colour) {
    fillBackground(widget, toQColor(colour));
}

inline void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette colours = widget->palette();
    colours.setColor(QPalette::WindowText, colour);
    widget->setPalette(colours);
}

inline QFont styled(QFont font, bool bold, bool underline = false) {
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

// The windows' small sans face, or a condensed one where it is not installed, so that the
// controls fit as they were laid out.
inline QFont windowFont() {
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans Condensed")});
    font.setPointSize(8);
    return font;
}

} // namespace newsbell
