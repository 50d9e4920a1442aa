#include "base/Cp1251.h"

#include <QStringDecoder>
#include <array>

namespace newsbell {

namespace {

// A single-byte code page: every byte decodes on its own, so the converter is asked once for
// all 256 and texts are converted by lookup both ways (opening a converter is costly, and the
// renderer decodes every word it measures).
const std::array<QChar, 256>& byteCharacters() {
    static const std::array<QChar, 256> characters = [] {
        std::array<QChar, 256> table;
        QStringDecoder decoder("windows-1251");
        for (int byte = 0; byte < 256; ++byte) {
            const char bytes[] = {char(byte)};
            const QString decoded = decoder.decode(QByteArrayView(bytes, 1));
            table[size_t(byte)] =
                decoded.isEmpty() ? QChar(QChar::ReplacementCharacter) : decoded.front();
        }
        return table;
    }();
    return characters;
}

// The byte of each character of the basic plane that the code page has; 0 for the others (and
// for U+0000, byte 0 itself).
struct CharacterBytes {
    CharacterBytes() {
        const std::array<QChar, 256>& characters = byteCharacters();
        for (size_t byte = 1; byte < characters.size(); ++byte)
            if (characters[byte] != QChar(QChar::ReplacementCharacter))
                bytes[characters[byte].unicode()] = static_cast<unsigned char>(byte);
    }
    std::array<unsigned char, 65536> bytes{};
};

const CharacterBytes& characterBytes() {
    static const CharacterBytes table;
    return table;
}

// Letters that have no decomposition, and the letters they are written as.
struct SpelledOut {
    char16_t letter;
    const char* as;
};
constexpr SpelledOut spelledOut[] = {
    {u'\u00DF', "ss"}, {u'\u0142', "l"},  {u'\u0141', "L"},  {u'\u00F8', "o"},
    {u'\u00D8', "O"},  {u'\u0111', "d"},  {u'\u0110', "D"},  {u'\u00E6', "ae"},
    {u'\u00C6', "AE"}, {u'\u0153', "oe"}, {u'\u0152', "OE"}, {u'\u0131', "i"},
};

// A character the code page lacks, as its base letters: its canonical decomposition without
// the combining marks, when what is left are letters the code page has; "?" otherwise. Only
// letters, so that no fold puts markup ("<" of U+226E) or a separator (";" of U+037E) into a
// text.
void appendBaseLetters(char16_t character, const CharacterBytes& table, std::string& out) {
    for (const SpelledOut& spelled : spelledOut) {
        if (spelled.letter == character) {
            out += spelled.as;
            return;
        }
    }
    if (QChar::decompositionTag(character) == QChar::Canonical) {
        const QString parts = QString(QChar(character)).normalized(QString::NormalizationForm_D);
        std::string letters;
        for (QChar part : parts) {
            if (part.isMark()) continue;
            const unsigned char byte = table.bytes[part.unicode()];
            if (byte == 0 || !part.isLetter()) {
                letters.clear();
                break;
            }
            letters += char(byte);
        }
        if (!letters.empty()) {
            out += letters;
            return;
        }
    }
    out += '?';
}

} // namespace

std::string toCp1251(const QString& text) {
    const CharacterBytes& table = characterBytes();
    std::string out;
    out.reserve(size_t(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t character = text[i].unicode();
        const unsigned char byte = table.bytes[character];
        if (byte != 0 || character == 0) {
            out += char(byte);
        } else if (QChar::isHighSurrogate(character) && i + 1 < text.size() &&
                   text[i + 1].isLowSurrogate()) {
            // Beyond the basic plane nothing decomposes into letters the code page has.
            out += '?';
            ++i;
        } else {
            appendBaseLetters(character, table, out);
        }
    }
    return out;
}

QString fromCp1251(std::string_view text) {
    const std::array<QChar, 256>& characters = byteCharacters();
    QString decoded(qsizetype(text.size()), Qt::Uninitialized);
    for (std::size_t i = 0; i < text.size(); ++i)
        decoded[qsizetype(i)] = characters[static_cast<unsigned char>(text[i])];
    return decoded;
}

std::string cp1251ToUtf8(std::string_view text) {
    return fromCp1251(text).toStdString();
}

} // namespace newsbell
