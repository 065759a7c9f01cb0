// Writes what the program shows for every day 1980..2079, one line a day, for the check by
// an independent astronomical computation (check_almanac.py):
//   YYYY-MM-DD month leap day rokuyo term zassetsu era era_year
// month/leap/day the old-calendar date, rokuyo 0 先勝 .. 5 赤口, term the solar term
// beginning that day (-1 none), zassetsu the bit mask of calendar/zassetsu.h, era 0 昭和,
// 1 平成, 2 令和.
//
// Usage: almanac_dump <file>
#include <cstdio>

#include "calendar/almanac.h"
#include "calendar/era.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: almanac_dump <file>\n");
        return 2;
    }
    std::FILE* f = std::fopen(argv[1], "w");
    if (!f) {
        std::perror(argv[1]);
        return 1;
    }
    int lines = 0;
    for (int y = 1980; y <= 2079; ++y) {
        for (int m = 1; m <= 12; ++m) {
            AlmanacMonth month;
            if (!almanac_month(y, m, &month)) {
                std::fprintf(stderr, "no almanac for %d-%02d\n", y, m);
                return 1;
            }
            for (int d = 1; d <= month.days; ++d) {
                const AlmanacDay& a = month.day[d];
                EraYear era;
                if (!era_of_date(y, m, d, &era)) return 1;
                std::fprintf(f, "%04d-%02d-%02d %d %d %d %d %d %u %d %d\n", y, m, d, a.lunar.month,
                             a.lunar.leap, a.lunar.day, a.rokuyo, a.term, a.zassetsu, era.era,
                             era.year);
                ++lines;
            }
        }
    }
    if (std::fclose(f) != 0) return 1;
    std::printf("almanac_dump: %d days\n", lines);
    return 0;
}
