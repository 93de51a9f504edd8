#include "platform/automation/picture.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/automation/errors.h"
#include "platform/automation/text.h"

// The decoder is compiled here only, for the four formats pictures are loaded from (icons and
// cursors are unpacked here and handed to it). Very large images are refused rather than allowed
// to exhaust memory.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_ONLY_PNG
#define STBI_ONLY_GIF
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STBI_MAX_DIMENSIONS 8192
#include <stb/stb_image.h>

namespace ax {

namespace {

std::atomic<int32_t> nextHandle{1};

// Member names match whatever their case.
bool sameName(std::string_view a, std::string_view b) { return detail::equalsNoCase(a, b); }

uint32_t le16(const uint8_t* p) { return uint32_t(p[0]) | (uint32_t(p[1]) << 8); }
uint32_t le32(const uint8_t* p) { return le16(p) | (le16(p + 2) << 16); }
void putLe32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

std::vector<uint32_t> decodeWithStb(const uint8_t* data, size_t size, int& w, int& h) {
    if (size == 0 || size > size_t(INT_MAX)) raise(err::InvalidPicture);
    int channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(data, static_cast<int>(size), &w, &h, &channels, 4);
    if (!pixels) raise(err::InvalidPicture);
    std::vector<uint32_t> rgba(size_t(w) * size_t(h));
    for (size_t i = 0; i < rgba.size(); ++i) {
        const stbi_uc* p = pixels + 4 * i;
        rgba[i] = uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
    }
    stbi_image_free(pixels);
    return rgba;
}

bool isIconFile(const uint8_t* d, size_t n) {
    return n >= 6 && le16(d) == 0 && (le16(d + 2) == 1 || le16(d + 2) == 2) && le16(d + 4) >= 1 &&
           n >= 6 + 16 * size_t(le16(d + 4));
}

// Icons and cursors hold several images; the largest is shown. Each is a PNG or a bitmap without
// its file header whose height counts the colour rows and the transparency mask rows together.
PicturePtr decodeIcon(const uint8_t* d, size_t n) {
    const size_t count = le16(d + 4);
    size_t best = count;
    uint64_t bestArea = 0;
    uint32_t bestDepth = 0;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* e = d + 6 + 16 * i;
        uint64_t w = e[0] ? e[0] : 256, h = e[1] ? e[1] : 256;
        uint32_t depth = le16(e + 6);
        uint64_t size = le32(e + 8), offset = le32(e + 12);
        if (size == 0 || offset + size > n) continue;
        if (best == count || w * h > bestArea || (w * h == bestArea && depth > bestDepth)) {
            best = i;
            bestArea = w * h;
            bestDepth = depth;
        }
    }
    if (best == count) raise(err::InvalidPicture);
    const uint8_t* e = d + 6 + 16 * best;
    const uint8_t* img = d + le32(e + 12);
    const size_t size = le32(e + 8);

    int w = 0, h = 0;
    static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (size >= 8 && std::equal(kPng, kPng + 8, img)) {
        auto rgba = decodeWithStb(img, size, w, h);
        return std::make_shared<Picture>(w, h, std::move(rgba), Picture::Kind::Icon);
    }

    if (size < 40) raise(err::InvalidPicture);
    const uint32_t headerSize = le32(img);
    const int32_t width = int32_t(le32(img + 4));
    const int32_t doubleHeight = int32_t(le32(img + 8));
    const uint32_t bpp = le16(img + 14);
    const uint32_t used = le32(img + 32);
    if (headerSize < 40 || headerSize > size || width <= 0 || width > 1024 || doubleHeight <= 0 ||
        doubleHeight > 2048 || !(bpp == 1 || bpp == 4 || bpp == 8 || bpp == 24 || bpp == 32))
        raise(err::InvalidPicture);
    const int32_t height = doubleHeight / 2;
    const uint64_t colours = bpp <= 8 ? (used && used <= (1u << bpp) ? used : (1u << bpp)) : 0;
    const uint64_t pixelStart = headerSize + 4 * colours;
    const uint64_t colourRow = (uint64_t(width) * bpp + 31) / 32 * 4;
    const uint64_t maskRow = (uint64_t(width) + 31) / 32 * 4;
    const uint64_t colourEnd = pixelStart + colourRow * uint64_t(height);
    if (colourEnd > size) raise(err::InvalidPicture);

    // Rebuild a bitmap file: a file header, then the image with its true height.
    std::vector<uint8_t> bmp(14 + size_t(colourEnd));
    bmp[0] = 'B';
    bmp[1] = 'M';
    putLe32(&bmp[2], uint32_t(bmp.size()));
    putLe32(&bmp[10], uint32_t(14 + pixelStart));
    std::copy(img, img + colourEnd, bmp.begin() + 14);
    putLe32(&bmp[14 + 8], uint32_t(height));
    putLe32(&bmp[14 + 20], 0);  // image size: let the decoder work it out
    auto rgba = decodeWithStb(bmp.data(), bmp.size(), w, h);

    // Apply the transparency mask, unless 32-bit colours carry their own alpha.
    bool ownAlpha = false;
    if (bpp == 32)
        for (uint32_t px : rgba) ownAlpha = ownAlpha || (px >> 24) != 255;
    if (!ownAlpha && colourEnd + maskRow * uint64_t(height) <= size) {
        const uint8_t* mask = img + colourEnd;
        for (int32_t y = 0; y < height; ++y) {
            const uint8_t* row = mask + maskRow * uint64_t(height - 1 - y);  // rows run bottom-up
            for (int32_t x = 0; x < width; ++x)
                if (row[x / 8] & (0x80 >> (x % 8)))
                    rgba[size_t(y) * size_t(width) + size_t(x)] &= 0x00FFFFFFu;
        }
    }
    return std::make_shared<Picture>(w, h, std::move(rgba), Picture::Kind::Icon);
}

int32_t toHimetric(int pixels) { return static_cast<int32_t>(std::lround(pixels * 2540.0 / 96.0)); }

}  // namespace

Picture::Picture(int width, int height, std::vector<uint32_t> rgba, Kind kind)
    : handle_(nextHandle.fetch_add(1)), kind_(kind), width_(width), height_(height), rgba_(std::move(rgba)) {}

int32_t Picture::WidthHimetric() const { return toHimetric(width_); }
int32_t Picture::HeightHimetric() const { return toHimetric(height_); }

Variant Picture::Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) {
    if (!HasMember(name, kind)) raise(err::MemberNotFound);
    if (!args.empty()) raise(err::WrongArgumentCount);
    if (sameName(name, "Handle")) return Variant(handle_);
    if (sameName(name, "Width")) return Variant(WidthHimetric());
    if (sameName(name, "Height")) return Variant(HeightHimetric());
    return Variant(static_cast<int16_t>(kind_));  // Type
}

bool Picture::HasMember(std::string_view name, InvokeKind kind) const {
    // Read-only properties; a late-bound call without arguments reads them too.
    if (kind != InvokeKind::PropertyGet && kind != InvokeKind::Method) return false;
    return sameName(name, "Handle") || sameName(name, "Width") || sameName(name, "Height") ||
           sameName(name, "Type");
}

PicturePtr emptyPicture() { return std::make_shared<Picture>(); }

PicturePtr pictureFromBytes(const uint8_t* data, size_t size) {
    if (!data || size == 0) raise(err::InvalidPicture);
    if (isIconFile(data, size)) return decodeIcon(data, size);
    int w = 0, h = 0;
    auto rgba = decodeWithStb(data, size, w, h);
    return std::make_shared<Picture>(w, h, std::move(rgba), Picture::Kind::Bitmap);
}

PicturePtr loadPicture(const std::string& path) {
    if (path.empty()) return emptyPicture();
    std::error_code ec;
    auto status = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(status)) raise(err::FileNotFound);
    if (std::filesystem::is_directory(status)) raise(err::PathFileAccessError);
    std::ifstream in(path, std::ios::binary);
    if (!in) raise(err::PathFileAccessError);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) raise(err::PathFileAccessError);
    auto picture = pictureFromBytes(bytes.data(), bytes.size());
    picture->setSourcePath(path);
    return picture;
}

}  // namespace ax
