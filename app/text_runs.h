// Texts that are each written centred on their own x, put together so that one call writes
// all of a colour and style (the font they are written in): a run holds the characters of every text in that colour, the first one's
// origin (left, top) and the step from each character to the next as x and y pairs, y
// counted upward as ExtTextOut takes them with ETO_PDY (a lower text is a negative step).
// Every character lands where the text written alone and centred (TA_CENTER) would put it;
// spaces are skipped over, not written.
#pragma once

#include <cstdint>

constexpr int kMaxRunChars = 64;

struct TextRun {
    uint32_t colour;
    int x, y;
    int count;
    uint16_t text[kMaxRunChars];
    int dxy[2 * kMaxRunChars];
    unsigned style;          // which of the caller's fonts the run is written in
};

struct CentredText {
    int x, y;                // centre of the text, top
    uint32_t colour;
    int count;
    const uint16_t* chars;
    const int* advances;     // of each character in the font it is written in
    unsigned style;          // which of the caller's fonts; 0 for a single font
};

// Runs in the order of each colour and style's first text; returns how many were written
// (at most max). Characters beyond a run's room are left out.
int centred_text_runs(const CentredText* texts, int n, TextRun* out, int max);
