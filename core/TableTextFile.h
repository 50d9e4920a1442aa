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

// Replaces fileName with bytes: written beside it, then renamed over it. Fails with a message
// that names the file and the reason, leaving any previous file whole.
void writeFileAtomically(const QString& fileName, std::string_view bytes);

// Replaces fileName with the table text file. The file is written beside the old one and
// renamed over it, so a failed save leaves the previous file whole; the error names the file
// and the reason.
void WriteTableTextFile(const EventTable& table, const QString& fileName);

} // namespace newsbell
