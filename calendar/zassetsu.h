// The almanac's seasonal days (雑節) of 1980..2079, each by its rule from the solar terms
// and longitudes of calendar/sekki.h and the sexagenary day count:
//   節分            the day before 立春
//   彼岸入り, 彼岸明け  three days before and after the equinox day (spring and autumn)
//   社日            the 戊 day nearest the equinox day; an equinox on a 癸 day, midway
//                   between two 戊 days, takes the earlier one when its instant falls
//                   before noon, else the later one
//   八十八夜         the 88th day counting 立春 as the first (立春 + 87)
//   入梅, 半夏生      the sun at 80 and 100 degrees
//   土用入り         the sun at 297, 27, 117 and 207 degrees
//   二百十日, 二百二十日 the 210th and 220th day counting 立春 as the first
#pragma once

enum Zassetsu {
    kSetsubun,
    kHiganStartSpring,
    kShanichiSpring,
    kHiganEndSpring,
    kHachijuhachiya,
    kNyubai,
    kHangesho,
    kDoyoWinter,  // 土用入り in January
    kDoyoSpring,  // April
    kDoyoSummer,  // July
    kDoyoAutumn,  // October
    kNihyakutoka,
    kNihyakuhatsuka,
    kHiganStartAutumn,
    kShanichiAutumn,
    kHiganEndAutumn,
    kZassetsuCount
};

struct MonthDay {
    int month;
    int day;
};

// The 雑節 of year, indexed by Zassetsu; false (out untouched) outside 1980..2079.
bool zassetsu_of_year(int year, MonthDay out[kZassetsuCount]);

// Bit k set when Zassetsu k falls on the day; 0 outside the range. A day may carry two
// (社日 can fall on 彼岸入り or 彼岸明け).
unsigned zassetsu_on(int year, int month, int day);

// Heavenly stem of a day's sexagenary name: 0 甲, 1 乙, .. 4 戊, .. 9 癸; -1 for a date
// outside 1980..2079.
int day_stem(int year, int month, int day);

// 社日 as days from the equinox day, given the equinox day's stem and whether the equinox
// instant falls before noon: -5..4.
int shanichi_offset(int equinox_stem, bool before_noon);

// The date n days (-366..366) after year/month/day, carried across months and years; a
// month outside 1..12 or a larger n gives the date back unchanged.
MonthDay add_days(int year, int month, int day, int n, int* out_year);
