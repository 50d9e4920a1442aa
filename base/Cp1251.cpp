#include "base/Cp1251.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>
#include <algorithm>
#include <array>

namespace newsbell {

namespace {
constexpr char substitute = 0x1A; // what the converter writes for an unmappable character
}

std::string toCp1251(const QString& text) {
    QStringEncoder encoder("windows-1251");
    QByteArray bytes = encoder.encode(text);
    std::string out(bytes.constData(), size_t(bytes.size()));
    if (out.find(substitute) == std::string::npos) return out;
    if (!text.contains(QLatin1Char(substitute))) {
        std::replace(out.begin(), out.end(), substitute, '?');
        return out;
    }
    // A real U+001A in the text must survive, so convert the pieces around it.
    out.clear();
    const QStringList pieces = text.split(QLatin1Char(substitute));
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i > 0) out += substitute;
        QByteArray part = QStringEncoder("windows-1251").encode(pieces[i]);
        std::replace(part.begin(), part.end(), substitute, '?');
        out.append(part.constData(), size_t(part.size()));
    }
    return out;
}

QString fromCp1251(std::string_view text) {
    // A single-byte code page: every byte decodes on its own, so the converter is asked once
    // for all 256 and later texts are decoded by lookup (opening a converter is costly, and
    // the renderer decodes every word it measures).
    static const std::array<QChar, 256> characters = [] {
        std::array<QChar, 256> table;
        QStringDecoder decoder("windows-1251");
        for (int byte = 0; byte < 256; ++byte) {
            const char bytes[] = {char(byte)};
            const QString decoded = decoder.decode(QByteArrayView(bytes, 1));
            table[std::size_t(byte)] =
                decoded.isEmpty() ? QChar(QChar::ReplacementCharacter) : decoded.front();
        }
        return table;
    }();
    QString decoded(qsizetype(text.size()), Qt::Uninitialized);
    for (std::size_t i = 0; i < text.size(); ++i)
        decoded[qsizetype(i)] = characters[static_cast<unsigned char>(text[i])];
    return decoded;
}

std::string cp1251ToUtf8(std::string_view text) {
    return fromCp1251(text).toStdString();
}

} // namespace newsbell
