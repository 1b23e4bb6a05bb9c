#include "core/reader_context.h"

namespace {

ReaderContext* g_context = nullptr;

}  // namespace

ReaderContext::ReaderContext() : ReaderLook(static_cast<const ReaderContent&>(*this)), ReaderBookmarks(*this, *this) {
  g_context = this;
}

ReaderContext::~ReaderContext() {
  if (g_context == this) g_context = nullptr;
}

ReaderContext& Reader() { return *g_context; }
