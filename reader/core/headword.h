// Headwords of dictionary entries: the start of an entry's tagged text up to
// the end of its headword, and the headword made readable.
#pragma once

#include <string>

// The headword part of an entry's text: after a leading <WD> or <IWD>, up to
// a line end or a tag other than <DQ>, <TI>, <E0> (and their ends) and <UP>;
// a </UP> ends it just after itself, and a <UP> left open is closed.
std::string HeadwordOfEntryText(const char* text, size_t length);
// The headword as the screens show it: the middle dot dropped, <UP> written
// " (" and </UP> ")", an escape of one character as that character ("<{<}>"
// as '<'), every other tag and every {...} run dropped.
std::string FormatHeadword(const std::string& headword);
