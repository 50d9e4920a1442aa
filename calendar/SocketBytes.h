#pragma once

#include <QtGlobal>
#include <optional>

namespace newsbell {

// Bytes a TCP socket has received so far; none when the system does not say. Apart from the
// HTTP client, whose headers clash with the system's own on TCP.
std::optional<quint64> bytesReceived(int socket);

} // namespace newsbell
