#include "gui/picture/JpegDecoder.h"
#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace gui {

namespace {

// libjpeg reports fatal errors through a callback that must not return; we jump back to the decoder.
struct ErrorTrap {
  jpeg_error_mgr manager;
  std::jmp_buf escape;
  char message[JMSG_LENGTH_MAX];
};

void OnFatalError(j_common_ptr info) {
  auto* trap = reinterpret_cast<ErrorTrap*>(info->err);
  (*info->err->format_message)(info, trap->message);
  std::longjmp(trap->escape, 1);
}

void OnMessage(j_common_ptr) {}  // warnings are not shown anywhere

}  // namespace

bool DecodeJpeg(const std::uint8_t* data, std::size_t size, DecodedImage& image, std::string& problem) {
  jpeg_decompress_struct info{};
  ErrorTrap trap{};
  info.err = jpeg_std_error(&trap.manager);
  trap.manager.error_exit = OnFatalError;
  trap.manager.output_message = OnMessage;
  if (setjmp(trap.escape)) {
    problem = trap.message;
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, const_cast<unsigned char*>(data), static_cast<unsigned long>(size));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  image.width = static_cast<int>(info.output_width);
  image.height = static_cast<int>(info.output_height);
  image.stride = (image.width * 3 + 3) & ~3;
  image.pixels.assign(static_cast<std::size_t>(image.stride) * image.height, 0);
  while (info.output_scanline < info.output_height) {
    unsigned char* row = image.pixels.data() + static_cast<std::size_t>(info.output_scanline) * image.stride;
    jpeg_read_scanlines(&info, &row, 1);
    for (int x = 0; x < image.width; ++x) std::swap(row[x * 3], row[x * 3 + 2]);  // RGB to BGR
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace gui
