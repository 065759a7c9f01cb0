#include "calendar/day_code.h"

#include "calendar/date.h"

int resolve_day(int day, int month, int year) {
    switch (day) {
    case kDaySecondMonday:
        return second_monday(year, month);
    case kDayThirdMonday:
        return third_monday(year, month);
    case kDayMovable:
        switch (month) {
        case 1:
            return year < 2000 ? 15 : second_monday(year, 1);
        case 3:
            return vernal_equinox_day(year);
        case 9:
            return autumnal_equinox_day(year);
        case 10:
            return year < 2000 ? 10 : second_monday(year, 10);
        default:
            return kDayMovable;
        }
    default:
        return day;
    }
}
