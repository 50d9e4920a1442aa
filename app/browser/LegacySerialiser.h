#pragma once

#include <QString>

namespace newsbell {

// A script for the page that answers with its body's HTML in the legacy serialisation (upper-case
// tag names; an attribute value bare when it holds only letters, digits, "_", "-" and ".",
// otherwise in double quotes; known boolean attributes bare in legacy capitalisation, such as
// noWrap; text with "&", "<", ">" escaped and U+00A0 as "&nbsp;"; script and style text as is),
// or with null when the document has no body.
//
// It rewrites the tags of Chromium's own innerHTML instead of walking the DOM: the text between
// tags is already escaped the legacy way, and the native serialiser is several times faster than
// a walk in script.
const QString& legacyBodyHtmlScript();

} // namespace newsbell
