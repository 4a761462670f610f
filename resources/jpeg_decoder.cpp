#include "jpeg_decoder.h"

#include <csetjmp>
#include <new>
#include <utility>

// clang-format off
#include <cstdio>  // jpeglib.h uses FILE and size_t without declaring them
#include <jpeglib.h>
// clang-format on

namespace autorun {
namespace {

// Far beyond any splash picture, yet small enough to allocate in a 32-bit process: a damaged header
// may announce up to 65500 x 65500 pixels.
constexpr std::size_t kMaxPixelBytes = std::size_t(256) << 20;

struct ErrorManager {
    jpeg_error_mgr base;  // first, so that libjpeg's pointer to it leads to the whole struct
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

// libjpeg's own handler exits the process; jump back to the step that called libjpeg instead.
[[noreturn]] void JumpOutOfLibjpeg(j_common_ptr info) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    manager->base.format_message(info, manager->message);
    std::longjmp(manager->jump, 1);
}

// A warning means corrupt data that libjpeg would patch over (a truncated stream comes out padded
// with grey), so it ends decoding like an error.  Trace messages are dropped.
void EmitMessage(j_common_ptr info, int level) {
    if (level < 0) JumpOutOfLibjpeg(info);
}

void DiscardMessage(j_common_ptr) {}

class Decompressor {
   public:
    Decompressor() {
        info_.err = jpeg_std_error(&error_.base);
        error_.base.error_exit = JumpOutOfLibjpeg;
        error_.base.emit_message = EmitMessage;
        error_.base.output_message = DiscardMessage;
    }
    // Safe whether or not creation got far: the zeroed struct has no memory manager to release.
    ~Decompressor() { jpeg_destroy_decompress(&info_); }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;

    jpeg_decompress_struct& info() { return info_; }
    std::string error() const { return error_.message; }

    // Runs libjpeg calls; an error among them ends the step and leaves its message in error().
    // Only the step's own frame and libjpeg's are jumped over, so the step must not own objects
    // with destructors.
    template <typename Step>
    bool Run(Step step) {
        if (setjmp(error_.jump)) return false;
        step(info_);
        return true;
    }

    // Creates the decompressor on the data and reads up to the frame header.
    bool Open(const std::uint8_t* data, std::size_t size) {
        const auto length = static_cast<unsigned long>(size);
        if (length != size) return Fail("JPEG data too large");
        return Run([data, length](jpeg_decompress_struct& info) {
            jpeg_create_decompress(&info);
            jpeg_mem_src(&info, const_cast<unsigned char*>(data), length);
            jpeg_read_header(&info, TRUE);
        });
    }

    bool Fail(const std::string& message) {
        // A plain copy: any printf-like call here links a whole formatting engine into the launcher.
        const std::size_t length = message.copy(error_.message, sizeof error_.message - 1);
        error_.message[length] = '\0';
        return false;
    }

   private:
    jpeg_decompress_struct info_{};
    ErrorManager error_{};
};

template <typename T>
JpegResult<T> Failure(const Decompressor& decompressor) {
    return {std::nullopt, decompressor.error()};
}

void RequestColours(jpeg_decompress_struct& info, DibColours colours) {
    // A DIB's own channel order, so that no pass over the pixels swaps them afterwards.
    info.out_color_space = colours == DibColours::kTrueColour32 ? JCS_EXT_BGRX : JCS_EXT_BGR;
    if (colours == DibColours::kPalette) {
        info.out_color_space = JCS_RGB;
        // The one-pass quantizer picks from a fixed colour cube of only 216 entries.
        info.quantize_colors = TRUE;
        info.two_pass_quantize = TRUE;
        info.desired_number_of_colors = kPaletteColours;
    }
}

bool LayOut(Decompressor& decompressor, int topRows, DibPicture& picture) {
    const jpeg_decompress_struct& info = decompressor.info();
    picture.width = static_cast<int>(info.output_width);
    picture.height = static_cast<int>(info.output_height);
    if (topRows > 0 && topRows < picture.height) picture.height = topRows;
    picture.bitsPerPixel = 8 * info.output_components;
    picture.stride =
        (std::size_t(info.output_width) * std::size_t(info.output_components) + 3) & ~std::size_t(3);
    if (std::size_t(picture.height) > kMaxPixelBytes / picture.stride)
        return decompressor.Fail("picture of " + std::to_string(picture.width) + " x " +
                                 std::to_string(picture.height) + " pixels is too large");
    try {
        picture.pixels.resize(picture.stride * std::size_t(picture.height));
    } catch (const std::bad_alloc&) {
        return decompressor.Fail("out of memory for the picture's pixels");
    }
    return true;
}

void ReadRowsBottomUp(jpeg_decompress_struct& info, std::uint8_t* pixels, std::size_t stride,
                      JDIMENSION rows) {
    while (info.output_scanline < rows) {
        const std::size_t fromBottom = std::size_t(rows) - 1 - info.output_scanline;
        JSAMPROW row = pixels + fromBottom * stride;
        jpeg_read_scanlines(&info, &row, 1);
    }
}

// Finishing checks that the whole stream was there; when only the top rows were wanted, the rest
// is dropped unread.
void EndDecoding(jpeg_decompress_struct& info) {
    if (info.output_scanline < info.output_height)
        jpeg_abort_decompress(&info);
    else
        jpeg_finish_decompress(&info);
}

void CopyPalette(const jpeg_decompress_struct& info, DibPicture& picture) {
    picture.palette.resize(std::size_t(info.actual_number_of_colors));
    for (std::size_t i = 0; i < picture.palette.size(); ++i)
        picture.palette[i] = {info.colormap[0][i], info.colormap[1][i], info.colormap[2][i]};
}

}  // namespace

JpegResult<PictureSize> ReadJpegSize(const std::uint8_t* data, std::size_t size) {
    Decompressor decompressor;
    if (!decompressor.Open(data, size)) return Failure<PictureSize>(decompressor);
    const jpeg_decompress_struct& info = decompressor.info();
    return {PictureSize{static_cast<int>(info.image_width), static_cast<int>(info.image_height)}, {}};
}

JpegResult<DibPicture> DecodeJpeg(const std::uint8_t* data, std::size_t size, DibColours colours,
                                  int topRows) {
    Decompressor decompressor;
    if (!decompressor.Open(data, size)) return Failure<DibPicture>(decompressor);
    RequestColours(decompressor.info(), colours);
    const bool measured =
        decompressor.Run([](jpeg_decompress_struct& info) { jpeg_calc_output_dimensions(&info); });
    if (!measured) return Failure<DibPicture>(decompressor);

    DibPicture picture;
    // The two-pass quantizer reads the whole picture before it gives out the first row.
    if (colours == DibColours::kPalette) topRows = kAllRows;
    if (!LayOut(decompressor, topRows, picture)) return Failure<DibPicture>(decompressor);
    if (!decompressor.Run([](jpeg_decompress_struct& info) { jpeg_start_decompress(&info); }))
        return Failure<DibPicture>(decompressor);
    // The colour map lives in libjpeg's image memory, which finishing releases.
    if (colours == DibColours::kPalette) CopyPalette(decompressor.info(), picture);

    std::uint8_t* const pixels = picture.pixels.data();
    const std::size_t stride = picture.stride;
    const auto rows = static_cast<JDIMENSION>(picture.height);
    const bool read = decompressor.Run([pixels, stride, rows](jpeg_decompress_struct& info) {
        ReadRowsBottomUp(info, pixels, stride, rows);
        EndDecoding(info);
    });
    if (!read) return Failure<DibPicture>(decompressor);
    return {std::move(picture), {}};
}

JpegResult<PictureSize> DecodeJpegRows(const std::uint8_t* data, std::size_t size, int topRows,
                                       JpegRowSink& sink) {
    Decompressor decompressor;
    if (!decompressor.Open(data, size)) return Failure<PictureSize>(decompressor);
    RequestColours(decompressor.info(), DibColours::kTrueColour32);
    // The row buffer belongs to libjpeg's image memory, so that no object of ours needs unwinding
    // when an error jumps out of the step.
    const bool read = decompressor.Run([topRows, &sink](jpeg_decompress_struct& info) {
        jpeg_start_decompress(&info);
        const JDIMENSION rows = topRows > 0 && JDIMENSION(topRows) < info.output_height ? JDIMENSION(topRows)
                                                                                        : info.output_height;
        JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                                   info.output_width * JDIMENSION(info.output_components), 1);
        while (info.output_scanline < rows) {
            jpeg_read_scanlines(&info, row, 1);
            sink.TakeRow(row[0], static_cast<int>(info.output_width));
        }
        EndDecoding(info);
    });
    if (!read) return Failure<PictureSize>(decompressor);
    const jpeg_decompress_struct& info = decompressor.info();
    return {PictureSize{static_cast<int>(info.image_width), static_cast<int>(info.image_height)}, {}};
}

}  // namespace autorun
