#pragma once

namespace newsbell {

// The whole program: prepares the browser engine, creates the application, then either shows
// the main window until it is closed or exports the current week without windows. Returns the
// exit status.
int runNewsbell(int argc, char** argv);

} // namespace newsbell
