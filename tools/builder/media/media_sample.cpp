#include "media/media_sample.h"

#include "content/sample_content.h"

namespace builder::media {

namespace {

Bytes Atom(const char* type, const Bytes& body) {
  ByteWriter out;
  out.U32be(static_cast<std::uint32_t>(8 + body.size()));
  out.Append(std::string_view(type, 4));
  out.Append(body);
  return out.take();
}

}  // namespace

Bytes BuildPlainMovie(std::uint32_t width, std::uint32_t height, std::uint32_t timeScale, std::uint32_t duration) {
  // Movie header: version and flags, two dates, time scale, duration, then
  // rate, volume and the rest left at zero.
  ByteWriter mvhd;
  mvhd.Zeros(12);
  mvhd.U32be(timeScale);
  mvhd.U32be(duration);
  mvhd.U32be(0x10000);
  mvhd.Zeros(80);
  // Track header: width and height as 16.16 at its bytes 76 and 80.
  ByteWriter tkhd;
  tkhd.Zeros(76);
  tkhd.U32be(width << 16);
  tkhd.U32be(height << 16);
  ByteWriter moov;
  moov.Append(Atom("mvhd", mvhd.bytes()));
  moov.Append(Atom("trak", Atom("tkhd", tkhd.bytes())));
  return Atom("moov", moov.bytes());
}

void WriteMediaSample(const std::string& directory) {
  // The eruption is the sample gallery's movie: a gallery of a larger set has its own.
  if (!CurrentExtraContent() || !CurrentExtraContent()->gallery)
    WriteFileAtomically(JoinPath(directory, "ERUPTION.MOV"), BuildPlainMovie(160, 120, 600, 3000));
  if (!GalleryWritesFile("INTRO.MOV"))
    WriteFileAtomically(JoinPath(directory, "INTRO.MOV"), BuildPlainMovie(320, 240, 600, 6000));
  WriteGalleryFiles(directory);  // its movies and sounds
}

}  // namespace builder::media
