// Title keys: the normalised form in which typed text and titles are compared,
// and the two in-place rewrites the screens use.
#pragma once

// Longest key or title kept: a title buffer of the callers holds 255 bytes.
constexpr int TitleBufferSize = 255;
constexpr int MaxTitleLength = TitleBufferSize - 1;

// The lookup key of a text: a trailing digit is not counted when the text does
// not start with a digit; A-Z are lower-cased; digits and bytes 0x40 and above
// are kept, '&' becomes "and", everything else is dropped. Writes at most
// size - 1 bytes and a NUL; returns the key's length.
int MakeTitleKey(const char* text, char* key, int size);

// Rewrites a title in place for comparison: the key rules without lower-casing,
// dropping bytes 0x80 and above too. "&" grows into "and", so the result is cut
// to fit the caller's buffer of `size` bytes (and the 256-byte work buffer).
void NormalizeTitle(char* text, int size);

// Replaces each accented letter 0xC0-0xFF (and 0x8A, 0x9A, 0x9F) in place by its
// plain letter; the letters without one (0xC6, 0xD7, 0xDE, 0xDF, 0xE6, 0xF7,
// 0xFE) end the text there.
void FoldAccents(char* text);
