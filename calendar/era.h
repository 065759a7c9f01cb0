// The Japanese era year (和暦) of a date: 昭和 up to 7 January 1989, 平成 from 8 January
// 1989, 令和 from 1 May 2019. An era's first year is written 元年.
#pragma once

#include <cstddef>

enum Era { kEraShowa, kEraHeisei, kEraReiwa, kEraCount };

struct EraYear {
    int era;   // Era
    int year;  // 1 = 元年
};

// False (out untouched) for a date before 25 December 1926 (昭和元年) or one that does
// not exist.
bool era_of_date(int year, int month, int day, EraYear* out);

// The era a month begins in (January 1989 is 昭和64年, May 2019 令和元年).
bool era_of_month(int year, int month, EraYear* out);

// "令和8年", "令和元年", cut to size; returns the length written (0 when size is 0).
size_t era_year_text(const EraYear& era, char* buf, size_t size);

// era_of_date (era_of_month) and era_year_text in one: false, with buf "", when the date has
// no era.
bool date_era_text(int year, int month, int day, char* buf, size_t size);
bool month_era_text(int year, int month, char* buf, size_t size);
