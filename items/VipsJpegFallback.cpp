#include "items/VipsJpegFallback.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <jpeglib.h>

namespace pictavo::VipsImage {

namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void ExitOnError(j_common_ptr info) {
  auto* manager = reinterpret_cast<ErrorManager*>(info->err);
  (*info->err->format_message)(info, manager->message);
  std::longjmp(manager->jump, 1);
}

// Warnings are the damage we mean to read through; say nothing.
void IgnoreMessage(j_common_ptr, int) {}

struct FileClose {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// Everything the decoder touches lives here, outside the frame that setjmp returns to.
struct Decode {
  jpeg_decompress_struct info{};
  ErrorManager errors{};
  std::vector<unsigned char> pixels;
  JDIMENSION rows = 0;
  bool started = false;
};

unsigned ScaleDenominator(const jpeg_decompress_struct& info, int minWidth, int minHeight) {
  unsigned denominator = 1;
  while (denominator < 8) {
    const unsigned next = denominator * 2;
    if ((info.image_width + next - 1) / next < static_cast<unsigned>(minWidth) ||
        (info.image_height + next - 1) / next < static_cast<unsigned>(minHeight)) {
      break;
    }
    denominator = next;
  }
  return denominator;
}

bool Run(Decode& d, std::FILE* file, int minWidth, int minHeight) {
  if (setjmp(d.errors.jump) != 0) return d.started;  // keep the rows read before the error
  jpeg_create_decompress(&d.info);
  jpeg_stdio_src(&d.info, file);
  jpeg_read_header(&d.info, TRUE);
  if (d.info.num_components != 1 && d.info.num_components != 3) {
    std::snprintf(d.errors.message, sizeof d.errors.message, "unsupported JPEG colour model");
    return false;
  }
  d.info.out_color_space = d.info.num_components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  d.info.scale_num = 1;
  d.info.scale_denom = ScaleDenominator(d.info, minWidth, minHeight);
  jpeg_start_decompress(&d.info);
  const size_t stride = static_cast<size_t>(d.info.output_width) * d.info.output_components;
  d.pixels.assign(stride * d.info.output_height, 128);
  d.started = true;
  while (d.info.output_scanline < d.info.output_height) {
    JSAMPROW row = d.pixels.data() + stride * d.info.output_scanline;
    if (jpeg_read_scanlines(&d.info, &row, 1) != 1) break;
    d.rows = d.info.output_scanline;
  }
  return true;
}

}  // namespace

bool DecodeJpegTolerantly(const std::string& path, int minWidth, int minHeight, vips::VImage* image,
                          std::string* error) {
  std::unique_ptr<std::FILE, FileClose> file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    *error = "cannot open " + path + ": " + std::strerror(errno);
    return false;
  }
  auto d = std::make_unique<Decode>();
  d->info.err = jpeg_std_error(&d->errors.base);
  d->errors.base.error_exit = ExitOnError;
  d->errors.base.emit_message = IgnoreMessage;
  const bool ok = Run(*d, file.get(), minWidth, minHeight) && d->rows > 0;
  const int width = static_cast<int>(d->info.output_width);
  const int height = static_cast<int>(d->info.output_height);
  const int bands = d->info.output_components;
  std::string message = d->errors.message;
  jpeg_destroy_decompress(&d->info);
  if (!ok) {
    *error = message.empty() ? "no picture data in " + path : message;
    return false;
  }
  ::VipsImage* copy = vips_image_new_from_memory_copy(d->pixels.data(), d->pixels.size(), width,
                                                      height, bands, VIPS_FORMAT_UCHAR);
  if (copy == nullptr) {
    *error = vips_error_buffer();
    vips_error_clear();
    return false;
  }
  *image = vips::VImage(copy);
  *image = image->copy(vips::VImage::option()->set(
      "interpretation", bands == 1 ? VIPS_INTERPRETATION_B_W : VIPS_INTERPRETATION_sRGB));
  return true;
}

}  // namespace pictavo::VipsImage
