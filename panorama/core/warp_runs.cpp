#include "warp_runs.h"

namespace pano {
namespace {

int DetectLevel() {
#if defined(PANO_VECTOR_RUNS) && (defined(__x86_64__) || defined(__i386__))
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi")) {
    return kRunsAvx512;
  }
  if (__builtin_cpu_supports("avx2")) return kRunsAvx2;
#endif
  return kRunsNone;
}

int& Supported() {
  static int level = DetectLevel();
  return level;
}

int gLowered = -1;  // -1: not lowered

}  // namespace

int RunLevelSupported() { return Supported(); }

int RunLevelInUse() { return gLowered >= 0 && gLowered < Supported() ? gLowered : Supported(); }

void SetRunLevel(int level) { gLowered = level; }

bool RunLoopsFor(int format, RunLoops* loops) {
  switch (RunLevelInUse()) {
    case kRunsAvx512: return RunLoopsAvx512(format, loops);
    case kRunsAvx2: return RunLoopsAvx2(format, loops);
    default: return false;
  }
}

#if !defined(PANO_VECTOR_RUNS)
bool RunLoopsAvx2(int, RunLoops*) { return false; }
bool RunLoopsAvx512(int, RunLoops*) { return false; }
#endif

}  // namespace pano
