// The logic of the results and contents windows that needs no window: the
// fourteen filter toggles and the sets they stand for, the filtering of an
// article set, and the matching of typed titles and subjects.
#pragma once

#include "core/bit_string.h"

namespace search {

constexpr int kToggleCount = 14;
constexpr int kSourceToggles = 7;  // the first seven are source filters, the rest media filters
// The toggles' control ids in the order of the saved search state.
constexpr unsigned kToggleIds[kToggleCount] = {2012, 2014, 2017, 2019, 4208, 4209, 4120,
                                               2009, 2006, 2008, 2007, 2005, 2010, 4119};
// Index into kToggleIds of a control id; -1 when it is not a toggle.
int ToggleIndex(unsigned id);

// The filter sets a toggle stands for (up to three, joined by OR).
struct ToggleSets {
  const CBitString* sets[3] = {nullptr, nullptr, nullptr};
};

// base AND all, then AND the union of the checked source toggles' sets, then
// AND the union of the checked media toggles' sets; a group with nothing
// checked filters nothing. The ranked order, scores and positions of the
// articles that stay are kept.
CBitString FilterArticles(const CBitString& base, const CBitString& all, const ToggleSets (&sets)[kToggleCount],
                          const BOOL (&checked)[kToggleCount], int articleCount);

// TRUE when the typed text, accents folded and normalised as a title ("&"
// becomes "and", only letters and digits count), begins the title
// normalised alike, ignoring case. An empty typed text matches nothing.
BOOL TitleStartsWith(const char* typed, const char* title);
// TRUE when the upper-cased name starts with the upper-cased typed text (not
// empty).
BOOL SubjectStartsWith(const CString& name, const CString& typed);

}  // namespace search
