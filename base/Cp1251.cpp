#include "base/Cp1251.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>
#include <algorithm>

namespace newsbell {

namespace {
constexpr char substitute = 0x1A; // what the converter writes for an unmappable character
}

std::string toCp1251(const QString& text) {
    QStringEncoder encoder("windows-1251");
    QByteArray bytes = encoder.encode(text);
    std::string out(bytes.constData(), size_t(bytes.size()));
    if (out.find(substitute) == std::string::npos) return out;
    if (!text.contains(QChar(substitute))) {
        std::replace(out.begin(), out.end(), substitute, '?');
        return out;
    }
    // A real U+001A in the text must survive, so convert the pieces around it.
    out.clear();
    const QStringList pieces = text.split(QChar(substitute));
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i > 0) out += substitute;
        QByteArray part = QStringEncoder("windows-1251").encode(pieces[i]);
        std::replace(part.begin(), part.end(), substitute, '?');
        out.append(part.constData(), size_t(part.size()));
    }
    return out;
}

QString fromCp1251(std::string_view text) {
    QStringDecoder decoder("windows-1251");
    return decoder.decode(QByteArrayView(text.data(), qsizetype(text.size())));
}

std::string cp1251ToUtf8(std::string_view text) {
    return fromCp1251(text).toStdString();
}

} // namespace newsbell
