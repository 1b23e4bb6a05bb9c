// Article numbering: the screens number articles 1 to N across the main
// database (REN2F200.DAT) and the update database (UPDATES.DAT). The update
// table lists, in ascending order, the article number of each update entry
// (entry i of the update database is table entry i, 1-based); every other
// article number belongs to the main database, whose entries fill them in
// ascending order.
#pragma once

#include <vector>

#include "core/bit_string.h"
#include "zorlre/re_types.h"

class ArticleNumbering {
 public:
  // The update table from the set of update articles (the union of Url.bit
  // and Updates.bit): its members in ascending order.
  void Build(const CBitString& updatePositions);
  void Clear() { table_.clear(); }

  const std::vector<u32>& Table() const { return table_; }
  int UpdateCount() const { return static_cast<int>(table_.size()); }

  // Main entry e -> its article: e plus the update articles that come before
  // it. With no update articles this is e itself.
  int ToInternalArticle(int entry) const;
  // Article a of the main database -> its main entry: a minus the update
  // articles below it.
  int ToFileArticle(int article) const;
  // Update entry i (1-based) -> its article; 0 when i is outside the table.
  int GetUpdateArticle(int index) const;
  // Article -> its update entry (1-based), or -1 when it is not an update article.
  int FindUpdateArticle(int article) const;

 private:
  std::vector<u32> table_;
};
