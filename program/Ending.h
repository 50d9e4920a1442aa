#pragma once

#include <chrono>

class QWidget;

namespace newsbell {

// How the window's run ends, whatever it waits for.

// Closes window and quits when the process gets SIGTERM or SIGINT (a session that ends, Ctrl+C
// in a terminal), as the tray's "Выход" does, so that what the program keeps is kept. Nothing
// happens once window has gone.
void closeOnTermination(QWidget& window);

// Ends the process with status once bound has passed, whatever it still waits for then (a read
// of the feed that its cancel cannot reach while it connects): called when the window has gone
// and what must be kept is written.
void endWithin(std::chrono::milliseconds bound, int status);

} // namespace newsbell
