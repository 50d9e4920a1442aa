#pragma once

#include "core/EventTable.h"

#include <QString>
#include <string>
#include <string_view>

namespace newsbell {

// The table text file that trading robots read: for every row after the title row, columns 1
// to 9 joined by ";" and ended by CR LF, bytes as they stand in the cells (cp1251).
std::string tableText(const EventTable& table);

// Appends the lines of rows firstRow to the last to out, in the same form: a file that grows by
// rows is extended without formatting its earlier rows again.
void appendTableText(const EventTable& table, int firstRow, std::string& out);

// The whole table, title row and column 0 included, in the same form; for checking the
// numbering from outside.
std::string gridText(const EventTable& table);

// Whether fileName names an output that takes bytes as they come and cannot be replaced:
// standard output ("-"), or an existing FIFO or device. A run that rewrites its file as it goes
// writes such an output once, whole.
bool isStreamOutput(const QString& fileName);

// Refuses, with the message a write would give, a fileName that no write can ever go to: a
// folder, a name whose folder does not exist. Touches nothing.
void checkOutputFile(const QString& fileName);

// Puts bytes into fileName. A regular file is written beside it and renamed over it, so that a
// failed write leaves the previous file whole; a symbolic link is followed, its target replaced
// and the link kept. Standard output ("-") and an existing FIFO or device are written in place,
// never replaced: a FIFO that nobody reads fails at once, and one whose reader takes nothing for
// half a minute fails then. Fails with a message that names the file and the reason (a folder,
// a missing folder, a full device, a reader that went away).
void writeFileAtomically(const QString& fileName, std::string_view bytes);

// Writes the table text file to fileName as writeFileAtomically() does: a failed save leaves a
// previous file whole, and the error names the file and the reason.
void WriteTableTextFile(const EventTable& table, const QString& fileName);

} // namespace newsbell
