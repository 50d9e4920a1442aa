// Any text through the legacy rewriting: it must end without faults and leave text without
// markup as it is.
#include "browser/LegacyMarkup.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString html = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString legacy = newsbell::toLegacyMarkup(html);
    if (!html.contains(u'<') && legacy != html) std::abort();
    return 0;
}
