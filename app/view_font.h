// What the month view's fonts are made from: the face, style and script of the settings and
// a cell height. The painter keeps a font between paints for as long as its key stays the
// same, so a changed face (the font dialog), a new window size or a settings change makes it
// anew and nothing else does.
#pragma once

struct Settings;

constexpr int kFaceNameSize = 32;  // a LOGFONT face name with its NUL

struct ViewFontKey {
    int height;                 // LOGFONT height (negative: character height)
    int weight;
    unsigned char italic;       // as the LOGFONT byte holds it
    unsigned char charset;
    char face[kFaceNameSize];   // `fontname` cut to 31 bytes on a character boundary
    unsigned char underline;    // a shape of app/month_colours.h; the settings have none
};

ViewFontKey view_font_key(const Settings& s, int height);
// The key of the font in a shape (kShapeBold, kShapeItalic, kShapeUnderline of
// app/month_colours.h) over the settings' own.
ViewFontKey view_font_key(const Settings& s, int height, unsigned shape);
bool same_view_font(const ViewFontKey& a, const ViewFontKey& b);
