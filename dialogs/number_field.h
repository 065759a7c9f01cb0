// Number fields as Japanese users type them: with the input method on, digits come as
// full-width characters (１２), which the fields take as the digits they are (12). What a
// field's edit lets in, one character message at a time, and what its text reads as.
#pragma once

#include <cstddef>

// What a field's edit has seen of a double-byte character that came in two messages.
struct NumberFieldInput {
    unsigned char lead = 0;  // its first byte, until the second comes
};

// One character message of a number field's edit: code is the character of WM_CHAR (one
// byte of a double-byte character in a window of code page 932) or, with ime, the whole
// character of WM_IME_CHAR (lead byte high). ASCII digits, backspace and the characters of
// also (nullptr: none) pass as they are, a full-width digit passes as its ASCII digit, and
// anything else is swallowed. Returns the character to hand on to the edit, 0 for none.
unsigned number_field_char(NumberFieldInput* in, unsigned code, bool ime, const char* also);

// The field's text as the readers of numbers take it: full-width digits as ASCII digits
// (other text as it is), into out of size bytes.
void number_field_text(char* out, size_t size, const char* text);

// The field as an unsigned number: blanks, decimal digits (full-width ones too), blanks,
// nothing else. False for an empty field, a sign or any other character. Numbers too large
// saturate.
bool number_field_unsigned(const char* text, unsigned* value);
