#include "schedule/ical_text.h"

#include "schedule/utf8_text.h"

void ical_escape_text(const char* text, std::string* out) {
    for (const char* p = text; *p; ++p) {
        const unsigned char c = (unsigned char)*p;
        switch (c) {
        case '\\':
            out->append("\\\\");
            break;
        case ';':
            out->append("\\;");
            break;
        case ',':
            out->append("\\,");
            break;
        case '\n':
            out->append("\\n");
            break;
        case '\r':
            break;
        default:
            out->push_back(c < 0x20 || c == 0x7F ? ' ' : (char)c);
            break;
        }
    }
}

size_t ical_unescape_text(const char* in, size_t n, char* out, size_t out_size) {
    if (out_size == 0) return 0;
    size_t used = 0;
    for (size_t i = 0; i < n && used < out_size - 1; ++i) {
        char c = in[i];
        if (c == '\\' && i + 1 < n) {
            c = in[++i];
            if (c == 'n' || c == 'N') c = '\n';
        }
        out[used++] = c;
    }
    out[used] = '\0';
    return used;
}

void ical_fold_line(const char* line, size_t n, std::string* out) {
    size_t pos = 0;
    size_t room = kIcalFoldOctets;
    for (;;) {
        const size_t take = utf8_cut(line + pos, n - pos, room);
        out->append(line + pos, take);
        out->append("\r\n");
        pos += take;
        if (pos >= n) return;
        out->push_back(' ');
        room = kIcalFoldOctets - 1;
    }
}
