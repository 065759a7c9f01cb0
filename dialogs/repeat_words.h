// The rule of a repeating entry in words, as the schedule list shows it: "毎週 月・木",
// "2週間ごと 火", "毎月 第2・第4水曜", "毎月 末日", "毎日 (2027/1/14まで)", "毎年 (5回)".
#pragma once

#include <cstddef>

#include "schedule/entry.h"

// The words of r into out (size bytes, always NUL-terminated, cut when it does not fit);
// empty for a rule that does not repeat. Returns the length written.
size_t repeat_rule_words(const RepeatRule& r, char* out, size_t size);
