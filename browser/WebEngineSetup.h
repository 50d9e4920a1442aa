#pragma once

#include <QByteArray>

namespace newsbell {

// Chromium's flags with those added that keep it off the GPU and off the network beyond the
// pages it is sent to; flags already there stay as they are.
QByteArray withQuietChromiumFlags(const QByteArray& flags);

// Prepares the process for QtWebEngine; call it in main() before QApplication. As root,
// Chromium's sandbox cannot run, so it is switched off, with a notice on standard error unless
// quiet. Quiet also silences Qt's and Chromium's own messages, for runs from scripts whose
// standard error must hold the program's own lines only.
void prepareWebEngineProcess(bool quiet);

} // namespace newsbell
