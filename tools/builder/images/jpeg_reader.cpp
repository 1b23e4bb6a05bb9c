#include "images/jpeg_reader.h"

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <stdexcept>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

namespace builder::images {
namespace {

struct ErrorTrap {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX] = "";
};

[[noreturn]] void OnError(j_common_ptr info) {
  auto* trap = reinterpret_cast<ErrorTrap*>(info->err);
  (*info->err->format_message)(info, trap->message);
  std::longjmp(trap->jump, 1);
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

gallery::RgbImage ReadJpeg(const std::string& path) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) throw std::runtime_error(path + ": cannot be opened");
  jpeg_decompress_struct info;
  ErrorTrap trap;
  info.err = jpeg_std_error(&trap.manager);
  trap.manager.error_exit = OnError;
  // Nothing that owns memory lives between here and the jumps below: the
  // pixels are sized once the header is read, and libjpeg frees its own.
  gallery::RgbImage* image = new gallery::RgbImage;
  if (setjmp(trap.jump) != 0) {
    jpeg_destroy_decompress(&info);
    delete image;
    throw std::runtime_error(path + ": " + trap.message);
  }
  jpeg_create_decompress(&info);
  jpeg_stdio_src(&info, file.get());
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  if (info.output_components != 3 || info.output_width == 0 || info.output_height == 0 || info.output_width > 16384 ||
      info.output_height > 16384) {
    jpeg_destroy_decompress(&info);
    delete image;
    throw std::runtime_error(path + ": not a colour picture of at most 16384 pixels a side");
  }
  *image = gallery::RgbImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = &image->pixels[static_cast<std::size_t>(info.output_scanline) * info.output_width * 3];
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  gallery::RgbImage result = std::move(*image);
  delete image;
  return result;
}

}  // namespace builder::images
