// The temporary wrappers that FromHandle makes for handles someone else owns,
// one list a wrapper class, kept until idle time (the framework's own, not a
// public header). A list is never destroyed: the application object, a
// global, empties it in its destructor during static destruction, after
// locals made static later (on first use) are already gone.
#pragma once

#include <vector>

template <class Wrapper>
class TemporaryWrappers {
 public:
  static void Keep(Wrapper* wrapper) { List().push_back(wrapper); }

  // Deletes every wrapper kept, each once forget(wrapper) has dropped its
  // handle (not ours to delete).
  template <class Forget>
  static void DeleteAll(Forget forget) {
    std::vector<Wrapper*> wrappers;
    wrappers.swap(List());
    for (Wrapper* wrapper : wrappers) {
      forget(wrapper);
      delete wrapper;
    }
  }

 private:
  static std::vector<Wrapper*>& List() {
    static auto& wrappers = *new std::vector<Wrapper*>;
    return wrappers;
  }
};
