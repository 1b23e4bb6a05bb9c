#include "images/speech.h"

#include <espeak-ng/speak_lib.h>

#include <cstring>
#include <stdexcept>

namespace builder::images {
namespace {

gallery::Speech* gSpoken = nullptr;

int Collect(short* samples, int count, espeak_EVENT*) {
  if (samples != nullptr && count > 0) gSpoken->samples.insert(gSpoken->samples.end(), samples, samples + count);
  return 0;  // go on
}

// The engine starts once a process: started again after its end, it waits forever.
int Rate() {
  static const int rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT);
  return rate;
}

}  // namespace

gallery::Speech Speak(const std::string& text) {
  const int rate = Rate();
  if (rate <= 0) throw std::runtime_error("eSpeak NG cannot start: install the espeak-ng-data package");
  gallery::Speech speech;
  speech.rate = static_cast<unsigned>(rate);
  gSpoken = &speech;
  espeak_SetSynthCallback(Collect);
  const bool ready = espeak_SetVoiceByName("en") == EE_OK && espeak_SetParameter(espeakRATE, 150, 0) == EE_OK;
  const bool spoken =
      ready &&
      espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr, nullptr) == EE_OK &&
      espeak_Synchronize() == EE_OK;
  gSpoken = nullptr;
  if (!spoken || speech.samples.empty())
    throw std::runtime_error("eSpeak NG spoke nothing: install the espeak-ng-data package (its English voice)");
  return speech;
}

}  // namespace builder::images
