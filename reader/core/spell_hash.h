// The spelling hash (Spelhash.dat): 32768 big-endian 16-bit word keys in an
// open-addressing table, of which slots 0-32747 are used; 0 marks an empty
// slot. It tells without the engine whether a typed word is a known spelling.
// Only keys are stored, so a hit means that some known word has this key.
#pragma once

#include "zorlre/re_types.h"

constexpr u32 SpellTableBytes = 65536;

// Reads the whole table from the file. Null when the file does not open, is
// shorter than 65536 bytes, or memory runs out.
u8* SpellHashLoad(const char* path);
void SpellHashFree(u8* table);

// True when the word's key is in the table; false for an empty word or when
// no table is loaded.
bool SpellHashFind(const u8* table, const char* word);
