#pragma once

#include "app/core/EventTable.h"

#include <QString>
#include <string>

namespace newsbell {

// The table text file that trading robots read: for every row after the title row, columns 1
// to 9 joined by ";" and ended by CR LF, bytes as they stand in the cells (cp1251).
std::string tableText(const EventTable& table);

// Replaces fileName with the table text file. The file is written beside the old one and
// renamed over it, so a failed save leaves the previous file whole; the error names the file
// and the reason.
void WriteTableTextFile(const EventTable& table, const QString& fileName);

} // namespace newsbell
