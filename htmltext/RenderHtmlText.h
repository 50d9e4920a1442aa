#pragma once

#include "base/Color.h"
#include "htmltext/Surface.h"

#include <string>
#include <string_view>

namespace newsbell {

class ImageList;
class SystemIconSource;
class TPictureContainer;
class THTMLPictureCache;

// What one call of RenderHtmlText is asked to do. Defaults are those of the alert popup.
struct HtmlRenderInput {
    std::string_view Text; // the markup, cp1251
    TRect Rect;            // layout rectangle; lines start at Rect.Left + 1
    const ImageList* Images = nullptr;
    int PointX = 0; // point for the hit test
    int PointY = 0;
    int FocusLink = -1; // 0-based anchor framed with a focus rectangle, -1 none
    int HoverLink = -1; // 1-based anchor with hover effects when HoverStyle is on
    int ShadowOffset = 1;
    bool MeasureOnly = false;
    bool HitTestOnly = false;
    bool PrintMode = false; // image-list pictures and system icons stretched by ResolutionFactor
    double ResolutionFactor = 1.0;
    bool Selected = false; // skip the colour changes of FONT and anchors, and all of BODY
    bool BlinkOn = true;
    bool HoverStyle = false;
    bool WordWrap = true;
    TColor UrlColor = 0xFF0000;
    TColor HoverColor = clNone;
    TColor HoverFontColor = clNone;
    TColor ShadowColor = 0x808080;
    TPictureContainer* PictureContainer = nullptr;
    THTMLPictureCache* PictureCache = nullptr;
    int LineSpacing = 0;
    const SystemIconSource* SystemIcons = nullptr; // "SSYS:"/"LSYS:" pictures; none when absent
};

// What the call found. AnchorValue and HoverRect keep what the caller put there unless an
// anchor is found under the point; every other field is reset by the call.
struct HtmlRenderOutput {
    bool AnchorHit = false;
    std::string AnchorValue;
    std::string PlainText;   // text without markup, byte 13 for every BR
    std::string FocusAnchor; // target of anchor FocusLink
    int ExtentX = 0;
    int ExtentY = 0;
    int LinkCount = 0;
    int MouseLink = -1; // 1-based anchor under the point
    TRect HoverRect;
};

// Lays out the markup in Rect on the surface and, in the same call, paints it (or, with
// HitTestOnly, tests the point against it), measures it and counts its anchors. The surface
// carries the font the text starts in; at exit it has that font and brush colour again.
// Never throws on any markup. Returns output.AnchorHit.
bool RenderHtmlText(Surface& Canvas, const HtmlRenderInput& input, HtmlRenderOutput& output);

} // namespace newsbell
