// CDictPart: a part of the dictionary view that takes some of its commands
// (CDict::OnCmdMsg routes them to it through the part's message map). It
// works on the view it belongs to and is never copied.
#pragma once

#include "framework.h"

class CDict;

class CDictPart : public CCmdTarget {
 public:
  explicit CDictPart(CDict& view) : m_view(view) {}
  CDictPart(const CDictPart&) = delete;
  CDictPart& operator=(const CDictPart&) = delete;

 protected:
  CDict& m_view;
};
