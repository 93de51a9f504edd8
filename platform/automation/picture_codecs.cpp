// PNG, JPEG and GIF pictures through Debian's kept decoders. Each decoder is asked for straight RGBA
// rows; a file the decoder has to guess at (cut short, damaged data) is refused rather than shown half.
#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>

#include <gif_lib.h>
#include <jpeglib.h>
#include <jerror.h>
#include <png.h>

#include "platform/automation/errors.h"
#include "platform/automation/picture_codecs.h"

namespace ax::detail {

bool pictureSizeAllowed(uint64_t width, uint64_t height) {
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height <= kMaxPicturePixels;
}

void checkPictureSize(uint64_t width, uint64_t height) {
    if (!pictureSizeAllowed(width, height)) raise(err::InvalidPicture);
}

namespace {

// Pixels written by a decoder as R, G, B, A bytes become Picture's words.
void bytesToWords(std::vector<uint32_t>& pixels) {
    if constexpr (std::endian::native == std::endian::big)
        for (uint32_t& p : pixels) p = __builtin_bswap32(p);
}

}  // namespace

// --- PNG -----------------------------------------------------------------------------------------

bool isPng(const uint8_t* d, size_t n) {
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    return n >= 8 && std::equal(kSignature, kSignature + 8, d);
}

DecodedImage decodePng(const uint8_t* data, size_t size) {
    // libpng's simplified interface keeps its error jumps inside the library and reports by result.
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size)) raise(err::InvalidPicture);
    const uint64_t w = image.width, h = image.height;
    // Deflate expands at most 1032 times, and every row holds a filter byte and at least one bit per
    // pixel: a header claiming more than the file could hold is refused before anything is allocated.
    const bool plausible = h * (1 + (w + 7) / 8) <= 1032 * uint64_t(size) + 1024;
    if (!plausible || !pictureSizeAllowed(w, h)) {
        png_image_free(&image);
        raise(err::InvalidPicture);
    }
    image.format = PNG_FORMAT_RGBA;
    DecodedImage out;
    out.width = int(w);
    out.height = int(h);
    try {
        out.rgba.resize(size_t(w * h));
    } catch (...) {
        png_image_free(&image);
        throw;
    }
    // finish_read frees the image's working memory whether it succeeds or not.
    if (!png_image_finish_read(&image, nullptr, out.rgba.data(), 0, nullptr)) raise(err::InvalidPicture);
    bytesToWords(out.rgba);
    return out;
}

// --- JPEG ----------------------------------------------------------------------------------------

bool isJpeg(const uint8_t* d, size_t n) { return n >= 3 && d[0] == 0xFF && d[1] == 0xD8 && d[2] == 0xFF; }

namespace {

// Progressive files can ask for many passes over the whole image; real ones use about ten.
constexpr int kMaxJpegScans = 256;
// Working memory the decoder may hold beside the pixels (whole-image buffers of progressive files).
constexpr long kMaxJpegWorkingMemory = 512L << 20;

struct JpegErrors {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

[[noreturn]] void jpegFail(j_common_ptr c) { std::longjmp(reinterpret_cast<JpegErrors*>(c->err)->jump, 1); }

// Warnings say the decoder met damaged or missing data and filled in what it could not read; such
// a picture is refused. Stray bytes between segments, which it simply skips, are no damage.
void jpegMessage(j_common_ptr c, int level) {
    if (level < 0 && c->err->msg_code != JWRN_EXTRANEOUS_DATA) jpegFail(c);
}

void jpegProgress(j_common_ptr c) {
    auto* d = reinterpret_cast<j_decompress_ptr>(c);
    if (c->is_decompressor && d->input_scan_number > kMaxJpegScans) jpegFail(c);
}

// Everything the jump can skip lives outside this function, so leaving through longjmp destroys no
// C++ object; the decoder's own state is C data, released on both ways out.
bool runJpeg(const uint8_t* data, size_t size, DecodedImage& out, std::vector<uint8_t>& row) {
    jpeg_decompress_struct info;
    JpegErrors errors;
    jpeg_progress_mgr progress;
    info.err = jpeg_std_error(&errors.mgr);
    errors.mgr.error_exit = jpegFail;
    errors.mgr.emit_message = jpegMessage;
    errors.mgr.output_message = [](j_common_ptr) {};
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = kMaxJpegWorkingMemory;
    progress.progress_monitor = jpegProgress;
    info.progress = &progress;
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    const uint64_t w = info.image_width, h = info.image_height;
    if (!pictureSizeAllowed(w, h)) jpegFail(reinterpret_cast<j_common_ptr>(&info));
    info.out_color_space = JCS_EXT_RGBA;
    jpeg_start_decompress(&info);
    if (info.output_width != w || info.output_height != h || info.output_components != 4)
        jpegFail(reinterpret_cast<j_common_ptr>(&info));
    out.width = int(w);
    out.height = int(h);
    // Rows are kept as they arrive, so a file cut short stops before the picture's memory is touched.
    out.rgba.reserve(size_t(w * h));
    row.resize(size_t(w) * 4);
    while (info.output_scanline < info.output_height) {
        JSAMPROW rows[1] = {row.data()};
        if (jpeg_read_scanlines(&info, rows, 1) != 1) jpegFail(reinterpret_cast<j_common_ptr>(&info));
        const size_t at = out.rgba.size();
        out.rgba.resize(at + size_t(w));
        std::memcpy(out.rgba.data() + at, row.data(), row.size());
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

}  // namespace

DecodedImage decodeJpeg(const uint8_t* data, size_t size) {
    if (size > 0xFFFFFFFFu) raise(err::InvalidPicture);
    DecodedImage out;
    std::vector<uint8_t> row;
    if (!runJpeg(data, size, out, row)) raise(err::InvalidPicture);
    bytesToWords(out.rgba);
    return out;
}

// --- GIF -----------------------------------------------------------------------------------------

bool isGif(const uint8_t* d, size_t n) {
    return n >= 6 && std::memcmp(d, "GIF", 3) == 0 && (std::memcmp(d + 3, "87a", 3) == 0 || std::memcmp(d + 3, "89a", 3) == 0);
}

namespace {

struct GifSource {
    const uint8_t* data;
    size_t size, at = 0;
};

int readGif(GifFileType* gif, GifByteType* into, int wanted) {
    auto* s = static_cast<GifSource*>(gif->UserData);
    const size_t n = std::min(size_t(std::max(wanted, 0)), s->size - s->at);
    std::memcpy(into, s->data + s->at, n);
    s->at += n;
    return int(n);
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

// The colour and transparency a graphic control extension gives the image after it.
struct GifControl {
    int transparent = -1;
};

void readExtension(GifFileType* gif, GifControl& control) {
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) raise(err::InvalidPicture);
    if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4)
        control.transparent = (block[1] & 1) ? block[4] : -1;
    while (block) {
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) raise(err::InvalidPicture);
    }
}

}  // namespace

// The first image of the file, placed on its logical screen; what the image leaves uncovered is clear.
DecodedImage decodeGif(const uint8_t* data, size_t size) {
    GifSource source{data, size};
    int error = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&source, readGif, &error));
    if (!gif) raise(err::InvalidPicture);
    GifControl control;
    for (;;) {
        GifRecordType record;
        if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR) raise(err::InvalidPicture);
        if (record == EXTENSION_RECORD_TYPE) {
            readExtension(gif.get(), control);
            continue;
        }
        if (record != IMAGE_DESC_RECORD_TYPE) raise(err::InvalidPicture);  // ends before any image
        break;
    }
    if (DGifGetImageDesc(gif.get()) == GIF_ERROR) raise(err::InvalidPicture);
    const GifImageDesc& desc = gif->Image;
    const ColorMapObject* colours = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    const uint64_t fw = uint64_t(std::max(desc.Width, 0)), fh = uint64_t(std::max(desc.Height, 0));
    const uint64_t left = uint64_t(std::max(desc.Left, 0)), top = uint64_t(std::max(desc.Top, 0));
    if (!colours || !colours->Colors || fw == 0 || fh == 0) raise(err::InvalidPicture);
    const uint64_t cw = std::max<uint64_t>(uint64_t(std::max(gif->SWidth, 0)), left + fw);
    const uint64_t ch = std::max<uint64_t>(uint64_t(std::max(gif->SHeight, 0)), top + fh);
    checkPictureSize(fw, fh);
    checkPictureSize(cw, ch);
    // Every code is three bits or more and stands for at most 4096 pixels: neither the image nor the
    // screen it is shown on may be larger than the file's data could ever fill.
    const uint64_t mostPixels = uint64_t(size) * 8 / 3 * 4096 + 4096;
    if (fw * fh > mostPixels || cw * ch > mostPixels) raise(err::InvalidPicture);

    // Interlaced images send every eighth row from 0, every eighth from 4, every fourth from 2, then
    // the odd rows.
    std::vector<GifPixelType> indexes(size_t(fw * fh));
    const int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
    const int passes = desc.Interlace ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        const uint64_t from = desc.Interlace ? uint64_t(kStart[pass]) : 0, step = desc.Interlace ? kStep[pass] : 1;
        for (uint64_t y = from; y < fh; y += step)
            if (DGifGetLine(gif.get(), indexes.data() + y * fw, int(fw)) == GIF_ERROR) raise(err::InvalidPicture);
    }

    DecodedImage out;
    out.width = int(cw);
    out.height = int(ch);
    out.rgba.assign(size_t(cw * ch), 0);
    for (uint64_t y = 0; y < fh; ++y)
        for (uint64_t x = 0; x < fw; ++x) {
            const int index = indexes[size_t(y * fw + x)];
            // An index past the colour table names no colour: that pixel stays clear.
            if (index == control.transparent || index >= colours->ColorCount) continue;
            const GifColorType& c = colours->Colors[index];
            out.rgba[size_t((top + y) * cw + left + x)] =
                uint32_t(c.Red) | (uint32_t(c.Green) << 8) | (uint32_t(c.Blue) << 16) | 0xFF000000u;
        }
    return out;
}

}  // namespace ax::detail
