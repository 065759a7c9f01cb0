// Path and replace helpers on arbitrary CP932 bytes, every buffer allocated
// at exactly its stated size so any overrun is caught.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "config/cp932.h"
#include "config/paths.h"

namespace {

std::vector<char> exact(const std::string& s, size_t size) {
    std::vector<char> b(size, '#');
    const size_t n = s.size() < size ? s.size() : size - 1;
    std::memcpy(b.data(), s.data(), n);
    b[n] = '\0';
    return b;
}

bool terminated(const std::vector<char>& b) { return std::memchr(b.data(), '\0', b.size()) != nullptr; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2 || size > 2048) return 0;
    const size_t small = 1 + data[0] % 40;
    // The rest: text, pattern and replacement separated by NUL bytes.
    std::string part[3];
    int k = 0;
    for (size_t i = 1; i < size; ++i) {
        if (data[i] == 0) {
            if (k < 2) ++k;
            continue;
        }
        part[k] += static_cast<char>(data[i]);
    }
    const std::string& text = part[0];

    auto a = exact(text, text.size() + 1 + data[0] % 3);
    const bool added = path_add_separator(a.data(), a.size());
    if (!terminated(a)) abort();
    if (added) {
        const size_t alen = std::strlen(a.data());
        if (alen == 0 || a[alen - 1] != '\\') abort();
        // After a lone lead byte the appended "\" becomes its trail byte.
        const char* before = cp932_last_char(text.c_str());
        const bool lone_lead = before && before[1] == '\0' && cp932_is_lead(static_cast<unsigned char>(*before));
        const char* last = cp932_last_char(a.data());
        if (!lone_lead && std::strcmp(last, "\\") != 0) abort();
    }

    auto s = exact(text, small);
    const int len = path_strip_separator(s.data(), s.size());
    if (len < 0 || static_cast<size_t>(len) != std::strlen(s.data())) abort();

    // Split with ample outputs: directory + name + extension is the path again
    // (as cut to the 1023-byte work copy).
    std::vector<char> dir(1024), name(1024), ext(1024), whole(1024);
    path_split(text.c_str(), dir.data(), dir.size(), name.data(), name.size(), ext.data(), ext.size());
    cp932_copy(whole.data(), whole.size(), text.c_str());
    if (std::string(dir.data()) + name.data() + ext.data() != whole.data()) abort();
    if (std::strlen(ext.data()) > 5) abort();
    std::vector<char> d2(small), n2(small), e2(small);
    path_split(text.c_str(), d2.data(), d2.size(), n2.data(), n2.size(), e2.data(), e2.size());
    if (!terminated(d2) || !terminated(n2) || !terminated(e2)) abort();

    if (text.size() > 256 || part[1].size() > 64 || part[2].size() > 64) return 0;
    const char* pat = part[1].c_str();
    const char* rep = part[2].c_str();
    auto r = exact(text, text.size() + 1 + small);
    const int hit = replace_all(r.data(), r.size(), pat, rep);
    if (!terminated(r)) abort();
    if (hit != (part[1].empty() ? 0 : cp932_strstr(text.c_str(), pat) != nullptr)) abort();
    if (!hit && std::strcmp(r.data(), text.c_str()) != 0) abort();
    // A replacement no longer than the pattern never grows the text, so
    // nothing is cut and no occurrence may remain.
    if (hit && part[2].size() <= part[1].size() && !cp932_strstr(rep, pat) &&
        cp932_strstr(r.data(), pat))
        abort();
    return 0;
}
