#pragma once

#include "core/NewsGate.h"

#include <QString>

namespace newsbell {

// The two files kept fresh for trading robots, in the folder the trader chose.
inline constexpr char weekFileName[] = "newsbell_week.txt";
inline constexpr char gateFileName[] = "newsbell_gate.txt";

// What "Файлы для советников..." sets: whether the files are written, where, and what the gate
// counts. The gate's currencies are not kept here: they are the main window's currency boxes
// at each write.
struct RobotFilesSettings {
    bool enabled = false;
    QString folder;
    GateSettings gate;

    bool operator==(const RobotFilesSettings&) const = default;
};

} // namespace newsbell
