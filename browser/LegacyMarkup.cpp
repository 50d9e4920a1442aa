#include "browser/LegacyMarkup.h"

#include <array>
#include <string_view>

namespace newsbell {
namespace {

// Boolean attributes of HTML 4, as the legacy browser capitalised them.
constexpr std::array<std::string_view, 13> booleanAttributes{
    "noWrap",   "checked", "selected", "disabled", "readOnly", "multiple", "noShade",
    "noResize", "compact", "defer",    "isMap",    "declare",  "noHref"};

// Elements whose content Chromium writes unescaped.
constexpr std::array<std::string_view, 8> rawTextElements{
    "script", "style", "xmp", "iframe", "noembed", "noframes", "noscript", "plaintext"};

constexpr bool isAsciiLetter(QChar c) noexcept {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

constexpr bool isBareValueCharacter(QChar c) noexcept {
    return isAsciiLetter(c) || (c >= u'0' && c <= u'9') || c == u'_' || c == u'-' || c == u'.';
}

constexpr bool isSpace(QChar c) noexcept {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

bool isBareValue(QStringView value) {
    if (value.isEmpty()) return false;
    for (QChar c : value)
        if (!isBareValueCharacter(c)) return false;
    return true;
}

bool sameName(QStringView name, std::string_view known) {
    return name.size() == qsizetype(known.size()) &&
           name.compare(QLatin1String(known.data(), qsizetype(known.size())),
                        Qt::CaseInsensitive) == 0;
}

// The legacy spelling of a boolean attribute; empty for any other attribute.
std::string_view legacyBooleanName(QStringView name) {
    for (std::string_view legacy : booleanAttributes)
        if (sameName(name, legacy)) return legacy;
    return {};
}

bool isRawTextElement(QStringView name) {
    for (std::string_view raw : rawTextElements)
        if (sameName(name, raw)) return true;
    return false;
}

class Rewriter {
public:
    explicit Rewriter(QStringView html) : html_(html) { out_.reserve(html.size()); }

    QString run() {
        while (pos_ < html_.size()) {
            const qsizetype tag = html_.indexOf(u'<', pos_);
            if (tag < 0) break;
            copyUpTo(tag);
            if (html_.sliced(tag).startsWith(u"<!--"))
                copyComment();
            else if (!rewriteTag())
                copyUpTo(pos_ + 1); // a "<" that opens no tag stays as it is
        }
        copyUpTo(html_.size());
        return out_;
    }

private:
    QChar at(qsizetype i) const { return i < html_.size() ? html_[i] : QChar(); }

    void copyUpTo(qsizetype end) {
        out_ += html_.sliced(pos_, end - pos_);
        pos_ = end;
    }

    void copyComment() {
        const qsizetype end = html_.indexOf(u"-->", pos_ + 4);
        copyUpTo(end < 0 ? html_.size() : end + 3);
    }

    qsizetype nameEnd(qsizetype from) const {
        qsizetype i = from;
        while (i < html_.size() && !isSpace(html_[i]) && html_[i] != u'/' && html_[i] != u'>') ++i;
        return i;
    }

    // At a "<": writes the legacy form of the tag there and moves past it; false when no tag
    // starts there.
    bool rewriteTag() {
        const bool closing = at(pos_ + 1) == u'/';
        const qsizetype nameStart = pos_ + (closing ? 2 : 1);
        if (!isAsciiLetter(at(nameStart))) return false;
        const qsizetype end = nameEnd(nameStart);
        const QStringView name = html_.sliced(nameStart, end - nameStart);
        out_ += closing ? u"</" : u"<";
        for (QChar c : name) out_ += c >= u'a' && c <= u'z' ? QChar(c.unicode() - 32) : c;
        pos_ = end;
        rewriteAttributes();
        if (!closing && isRawTextElement(name)) copyRawText(name);
        return true;
    }

    // Attributes up to and including the tag's ">"; at the end of the text, stops there.
    void rewriteAttributes() {
        while (pos_ < html_.size()) {
            const QChar c = html_[pos_];
            if (c == u'>') {
                out_ += c;
                ++pos_;
                return;
            }
            if (isSpace(c) || c == u'/') {
                ++pos_;
                continue;
            }
            rewriteAttribute();
        }
    }

    void rewriteAttribute() {
        const qsizetype start = pos_;
        while (pos_ < html_.size() && !isSpace(html_[pos_]) && html_[pos_] != u'=' &&
               html_[pos_] != u'>')
            ++pos_;
        const QStringView name = html_.sliced(start, pos_ - start);
        const QStringView value = attributeValue();
        out_ += u' ';
        if (const std::string_view legacy = legacyBooleanName(name); !legacy.empty()) {
            out_ += QLatin1String(legacy.data(), qsizetype(legacy.size()));
            return;
        }
        out_ += name;
        if (value.data() == nullptr) return;
        out_ += u'=';
        if (isBareValue(value)) {
            out_ += value;
        } else {
            out_ += u'"';
            out_ += value;
            out_ += u'"';
        }
    }

    qsizetype afterSpaces(qsizetype from) const {
        while (from < html_.size() && isSpace(html_[from])) ++from;
        return from;
    }

    // The value after "=", quoted or not; a null view when the attribute has none.
    QStringView attributeValue() {
        if (at(afterSpaces(pos_)) != u'=') return {};
        pos_ = afterSpaces(afterSpaces(pos_) + 1);
        if (at(pos_) == u'"') {
            const qsizetype close = html_.indexOf(u'"', pos_ + 1);
            const qsizetype end = close < 0 ? html_.size() : close;
            const QStringView value = html_.sliced(pos_ + 1, end - pos_ - 1);
            pos_ = close < 0 ? end : end + 1;
            return value.isNull() ? QStringView(u"") : value;
        }
        const qsizetype start = pos_;
        while (pos_ < html_.size() && !isSpace(html_[pos_]) && html_[pos_] != u'>') ++pos_;
        return pos_ == start ? QStringView(u"") : html_.sliced(start, pos_ - start);
    }

    void copyRawText(QStringView name) {
        const QString close = QStringLiteral("</") + name.toString();
        const qsizetype end = html_.indexOf(close, pos_, Qt::CaseInsensitive);
        copyUpTo(end < 0 ? html_.size() : end);
    }

    QStringView html_;
    qsizetype pos_ = 0;
    QString out_;
};

} // namespace

QString toLegacyMarkup(QStringView innerHtml) {
    return Rewriter(innerHtml).run();
}

} // namespace newsbell
