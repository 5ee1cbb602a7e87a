#pragma once
#include <string_view>

// GB18030's four-byte sequences: how text kept in code page 936 holds a character that
// 936 has no code for. A four-byte sequence is a lead byte 0x81-0xFE, a digit 0x30-0x39,
// a lead byte again, and a digit; a two-byte code of 936 never has a digit second, so a
// reader tells the two apart at the second byte.

// The four bytes for a character GB18030 gives four bytes: every character past the Basic
// Multilingual Plane, and those of it with no one- or two-byte code. False for the rest,
// for surrogates and for what is no character at all.
bool EncodeFourBytes(char32_t codePoint, char out[4]);

// Whether the bytes begin with a lead byte and a digit: the first half of a four-byte
// sequence, which a two-byte code never begins with.
bool StartsFourBytes(std::string_view bytes);

// The character the four bytes at the start name; 0 when they are no four-byte sequence or
// name nothing.
char32_t DecodeFourBytes(std::string_view bytes);
