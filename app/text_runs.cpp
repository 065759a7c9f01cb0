#include "app/text_runs.h"

namespace {

// The run of this colour and style, opened when they first show.
TextRun* run_for(TextRun* runs, int* n, int max, uint32_t colour, unsigned style) {
    for (int i = 0; i < *n; ++i)
        if (runs[i].colour == colour && runs[i].style == style) return &runs[i];
    if (*n >= max) return nullptr;
    TextRun& r = runs[(*n)++];
    r.colour = colour;
    r.style = style;
    r.x = r.y = 0;
    r.count = 0;
    return &r;
}

struct Origin {
    int x, y;
};

// Appends a character at (x, y): the previous character's step ends there.
void append_char(TextRun* r, uint16_t c, int x, int y, int advance, Origin* last) {
    if (r->count >= kMaxRunChars) return;
    if (r->count == 0) {
        r->x = x;
        r->y = y;
    } else {
        r->dxy[2 * r->count - 2] = x - last->x;
        r->dxy[2 * r->count - 1] = last->y - y;  // upward
    }
    r->text[r->count] = c;
    r->dxy[2 * r->count] = advance;
    r->dxy[2 * r->count + 1] = 0;
    ++r->count;
    *last = Origin{x, y};
}

}  // namespace

int centred_text_runs(const CentredText* texts, int n, TextRun* out, int max) {
    constexpr int kMaxRuns = 32;
    if (max > kMaxRuns) max = kMaxRuns;
    Origin last[kMaxRuns] = {};  // the last character written into each run
    int runs = 0;
    for (int i = 0; i < n; ++i) {
        const CentredText& t = texts[i];
        TextRun* r = run_for(out, &runs, max, t.colour, t.style);
        if (!r) break;
        int extent = 0;
        for (int k = 0; k < t.count; ++k) extent += t.advances[k];
        // Where centred text starts: half its extent to the left of the centre.
        int x = t.x - extent / 2;
        for (int k = 0; k < t.count; ++k) {
            if (t.chars[k] != ' ') append_char(r, t.chars[k], x, t.y, t.advances[k], &last[r - out]);
            x += t.advances[k];
        }
    }
    return runs;
}
