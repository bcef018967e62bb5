// The expected pixels of our pictures come from the host's full JPEG library, decoding the way the
// program does (default accurate integer IDCT and fancy upsampling, RGB out).
#include <gtest/gtest.h>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>
#include <jpeglib.h>
#include "PicturePixels.h"

TEST(PictureReference, FullLibraryGivesTheRecordedPixels) {
  for (const PicturePixels& expected : kPicturePixels) {
    std::ifstream in(std::string(TWINSIFT_PICTURES) + "/" + expected.file, std::ios::binary);
    ASSERT_TRUE(in) << expected.file;
    std::vector<unsigned char> bytes(std::istreambuf_iterator<char>(in), {});
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), bytes.size());
    ASSERT_EQ(jpeg_read_header(&info, TRUE), JPEG_HEADER_OK) << expected.file;
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    std::vector<unsigned char> row(info.output_width * 3u);
    std::uint32_t crc = 0;
    while (info.output_scanline < info.output_height) {
      unsigned char* rows[] = {row.data()};
      jpeg_read_scanlines(&info, rows, 1);
      crc = AddRowToCrc(crc, row.data(), row.size());
    }
    EXPECT_EQ(static_cast<int>(info.output_width), expected.width) << expected.file;
    EXPECT_EQ(static_cast<int>(info.output_height), expected.height) << expected.file;
    EXPECT_EQ(crc, expected.crc) << expected.file << std::hex << " gives 0x" << crc;
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
  }
}
