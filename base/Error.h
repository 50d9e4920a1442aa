#pragma once

#include <stdexcept>
#include <string>

namespace newsbell {

// Every failure of the program is one of these. The message is UTF-8 and is shown to the
// user as it stands, so it is written for the user, not for a log.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace newsbell
