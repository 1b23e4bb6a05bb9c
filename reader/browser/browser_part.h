// BrowserPartOwner: what the encyclopedia view's parts (its tool column and
// the web address of its Internet articles) ask of the view: the view itself
// as the window they open theirs over, the article shown with its subject
// and history, showing another one, and the column they take.
#pragma once

#include "browser/article_history.h"
#include "core/bit_string.h"
#include "framework.h"

class BrowserPartOwner {
 public:
  virtual ~BrowserPartOwner() = default;

  // The view: the owner of the parts' windows and where the focus goes back.
  virtual CView& View() = 0;
  // The article shown (0 before the first) and the articles shown before it.
  virtual int GetCurrentArticle() const = 0;
  virtual const browser::ArticleHistory& History() const = 0;
  // Whether the article has a subject, and the articles of that subject.
  virtual BOOL HasSubject() const = 0;
  virtual const CBitString& GetSubjectLinks() const = 0;
  // Shows article n; -1 shows the previous article of the history.
  virtual void ShowArticle(int n) = 0;
  // The column at the left where the tool windows stand, and the zoom that
  // takes it: the zoom goes before a tool window opens.
  virtual CRect GetPanelRect() const = 0;
  virtual void LeaveZoom() = 0;
};
