// The word-form engine: enue.ram, enue.dsk and hash.dat in a word-form
// context, and the expansion of a word into its forms.
#pragma once

#include "in_api.h"

constexpr u32 InFormHeaderSize = 512;
constexpr u32 InFormEndingSize = 20;  // table-B record: rule, reversed ending, replacement
constexpr u32 InFormEndingText = 9;   // bytes of the ending and of the replacement

// Appends the base words of which `word` is a listed form (the entry scan of enue.dsk).
void InGenerateForms(InFormContext* context, const char* word);
// Index of the table-B record the ending search settles on (0 when nothing
// longer matched); -1 when the table is empty.
i32 InFindEnding(const InFormContext* context, const char* word);

// INinitX once its arguments are there: reads enue.ram, hash.dat and
// enue.dsk from `directory` into the context. 0, or InInitFailed with
// everything freed.
u32 InLoadForms(InFormContext* context, const char* directory);
// INtermX: frees every table of the context.
void InFreeForms(InFormContext* context);
// INinflectX once its arguments are there: appends the forms of `word` to
// the context's form slots. InFormsFound when the slots hold any form.
u32 InInflectForms(const char* word, InFormContext* context);
