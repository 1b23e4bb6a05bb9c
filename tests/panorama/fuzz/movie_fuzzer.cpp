// The movie reader over arbitrary files: reading, every node, and the node
// view's first node with a rendered frame must never read or write out of bounds.
#include <cstdint>
#include <string>

#include "fuzz_files.h"
#include "kn_host.h"
#include "movie_reader.h"
#include "node_view.h"
#include "pano_host.h"
#include "pano_types.h"

namespace {

// A host with little memory: no single block above 4 MB, 16 MB of address
// space for the canvas sizing. Keeps every input cheap to run.
void* SmallMemory(std::int32_t size) { return size > (4 << 20) ? nullptr : kn::GetMemory(size); }
std::int64_t SmallAddressSpace() { return 16 << 20; }

// Host memory handles are held to the same limit.
std::intptr_t SmallMedia(std::int32_t selector, const std::intptr_t* args, std::int32_t count) {
  if ((selector == kn::kKnSetHandleSize && count >= 2 && args[1] > (4 << 20)) ||
      (selector == kn::kKnNewHandle && count >= 1 && args[0] > (4 << 20))) {
    return selector == kn::kKnNewHandle ? 0 : -108;
  }
  return kn::MediaEntry(selector, args, count);
}

void Install() {
  static bool done = false;
  if (done) return;
  done = true;
  kn::InitializeHost();
  pano::HostServices& host = pano::Host();
  host.getMemory = SmallMemory;
  host.freeMemory = kn::FreeMemory;
  host.reallocateMemory = kn::ReallocateMemory;
  host.flip16 = kn::Flip16;
  host.flip32 = kn::Flip32;
  host.flip32Many = kn::Flip32Many;
  pano::InstallDefaultSystem();
  pano::System().availableVirtual = SmallAddressSpace;
  pano::SetMediaEntry(SmallMedia);
  pano::SetManagerEntry(kn::ManagerEntry);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Install();
  WriteFuzzFile("F.MOV", data, size);
  const std::string path = FuzzDirectory() + "F.MOV";
  const std::intptr_t handle = pano::System().openFile(path.c_str());
  pano::MovieFile* file = nullptr;
  if (pano::MovieFileRead(handle, pano::kModeDib, 32, &file) != pano::kOk) {
    pano::System().closeFile(handle);
    return 0;
  }
  pano::MovieFileAdopt(file, 0);
  for (std::int32_t node = 1; node <= file->pano->samples.count && node <= 8; ++node) {
    pano::MovieFileGetNode(file, node, nullptr);
  }
  // The node view over the same file object: load, render one small frame.
  auto* view = static_cast<pano::NodeView*>(pano::HostAlloc(sizeof(pano::NodeView)));
  view->file = file;
  view->outputMode = pano::kModeDib;
  view->screenDepth = 32;
  view->width = 32;
  view->height = 24;
  if (pano::NodeViewGoToNode(view, 0, nullptr, nullptr, nullptr) == pano::kOk) {
    std::uint32_t rowBytes = 0;
    pano::WarpRenderFrame(view->engine, &rowBytes);
  }
  pano::NodeViewClose(view);  // closes the file object too
  return 0;
}
