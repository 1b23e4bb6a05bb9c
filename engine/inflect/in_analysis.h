// Analysis of a word in the conjugation data: its base words and word classes
// (the candidates of the context), or, in the filling mode, the forms of a
// base word.
#pragma once

#include "in_api.h"

// Fills the context's candidates for `word` (in the data's character code).
// InModeBuild: the base words of which the word is a form. InModeFill: the
// word's forms, generated from the rule lists of its dictionary entries.
// Returns InBuilt when at least one candidate exists, else InNotFound;
// InNoTable for a null argument.
u32 InAnalyzeTableWord(InTableContext* context, const char* word, u16 mode);

// The fallback for a phrase or a word that the analysis did not find. The
// lookup word (InWordSize bytes) is shortened or replaced in place when an
// alternative is found. Returns InBuilt or InNotFound.
u32 InAnalyzeFallback(InTableContext* context, char* lookup);
