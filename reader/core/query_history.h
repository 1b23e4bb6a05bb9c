// The label of a query in the main frame's search history.
#pragma once

#include "afx_core.h"

constexpr int MaxHistoryText = 79;
constexpr int HistoryLabelCut = 70;

// The query text, at most 79 characters. In plain form that is the label;
// otherwise line breaks become spaces, a text longer than 70 characters is
// cut at its last space within the first 70 (at 70 without one) and ends in
// " ...", and the kind's prefix comes first: "Boolean: " (0), "Smart: " (1),
// "Other: " (any other).
CString HistoryLabel(const CString& text, int kind, bool plain);
