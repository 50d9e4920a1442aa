#pragma once

#include <QString>
#include <string_view>

namespace newsbell {

// Replaces fileName with bytes: written beside it, then renamed over it, so that a failure
// leaves any previous file whole. Returns why it failed, or an empty string when it worked.
[[nodiscard]] QString replaceFile(const QString& fileName, std::string_view bytes);

} // namespace newsbell
