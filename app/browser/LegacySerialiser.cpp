#include "app/browser/LegacySerialiser.h"

namespace newsbell {

const QString& legacyBodyHtmlScript() {
    static const QString script = QStringLiteral(R"js((function () {
    'use strict';
    var body = document.body;
    if (!body) return null;
    // Boolean attributes of HTML 4, as the legacy browser capitalised them.
    var booleans = Object.create(null);
    ['noWrap', 'checked', 'selected', 'disabled', 'readOnly', 'multiple', 'noShade', 'noResize',
     'compact', 'defer', 'isMap', 'declare', 'noHref'].forEach(function (name) {
        booleans[name.toLowerCase()] = name;
    });
    // Elements whose content Chromium writes unescaped.
    var rawText = Object.create(null);
    ['script', 'style', 'xmp', 'iframe', 'noembed', 'noframes', 'noscript', 'plaintext']
        .forEach(function (name) { rawText[name] = true; });
    var bare = /^[A-Za-z0-9_.-]+$/;
    // Chromium writes every attribute as name="value" with "&" and '"' escaped in the value, so
    // a quoted value never holds a quote, though it may hold ">" or "<".
    var attribute = /\s+([^\s="]+)="([^"]*)"/g;
    function legacyAttribute(all, name, value) {
        var legacy = booleans[name];
        if (legacy) return ' ' + legacy;
        return ' ' + name + '=' + (bare.test(value) ? value : '"' + value + '"');
    }
    var tag = /<(\/?)([A-Za-z][^\t\n\f\r \/>]*)([^>"]*(?:"[^"]*"[^>"]*)*)>|<!--[\s\S]*?-->/g;
    var html = body.innerHTML;
    var out = [];
    var last = 0;
    var match;
    while ((match = tag.exec(html)) !== null) {
        if (match.index > last) out.push(html.substring(last, match.index));
        last = tag.lastIndex;
        var name = match[2];
        if (name === undefined) {
            out.push(match[0]);
        } else if (match[1]) {
            out.push('</' + name.toUpperCase() + '>');
        } else {
            var attributes = match[3];
            out.push('<' + name.toUpperCase() +
                     (attributes ? attributes.replace(attribute, legacyAttribute) : '') + '>');
            if (rawText[name]) {
                var end = html.indexOf('</' + name + '>', last);
                if (end < 0) end = html.length;
                out.push(html.substring(last, end));
                last = tag.lastIndex = end;
            }
        }
    }
    out.push(html.substring(last));
    return out.join('');
})())js");
    return script;
}

} // namespace newsbell
