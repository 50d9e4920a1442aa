#pragma once

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <memory>

namespace newsbell {

// The settings file is a few kilobytes; one much larger is not ours to read whole.
inline constexpr qsizetype largestSettingsFile = 1024 * 1024;

// What of an INI file QSettings reads as it is written. QSettings passes over what it cannot
// read (a line without "=", a value whose quote never closes swallows the lines after it, a
// section without "]" takes its keys elsewhere), and writes the file anew without it; so the
// lines are checked here first, as QSettings splits them.
struct SettingsText {
    // The sections and keys that read whole, as UTF-8 lines; the keys under a section line that
    // does not read are left out with it, comments and blank lines too.
    QByteArray readable;
    // Why the file cannot be read whole, for the user; empty when it can.
    QString problem;
};

SettingsText readSettingsText(const QByteArray& bytes);

// The kept settings at path, opened so that nothing the file holds is lost:
// - a file that reads whole is used as it is;
// - one that cannot be read whole is never written over: it is kept aside as path.bad (.bad.2,
//   ... when that is taken) and a fresh file with the lines that could be read takes its place;
//   when it cannot be put aside, what could be read is used and this run keeps nothing;
// - a path that is not a regular file (a FIFO, a folder, a device) is refused without waiting
//   for it: no settings this run.
struct OpenedSettings {
    std::unique_ptr<QSettings> store; // none when refused
    // For the user, in the window: what happened to the file; empty when it read whole.
    QString notice;
};

OpenedSettings openSettingsFile(const QString& path);

// ~/.config/Newsbell/newsbell.ini, or under XDG_CONFIG_HOME: where QSettings keeps the user's
// settings of this program.
QString settingsFilePath();

} // namespace newsbell
