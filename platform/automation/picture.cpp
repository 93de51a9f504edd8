#include "platform/automation/picture.h"

#include <atomic>
#include <climits>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/automation/errors.h"

// The decoder is compiled here only, for the four formats pictures are loaded from. Very large
// images are refused rather than allowed to exhaust memory.
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

char lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
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
    if (!data || size == 0 || size > size_t(INT_MAX)) raise(err::InvalidPicture);
    int w = 0, h = 0, channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(data, static_cast<int>(size), &w, &h, &channels, 4);
    if (!pixels) raise(err::InvalidPicture);
    std::vector<uint32_t> rgba(size_t(w) * size_t(h));
    for (size_t i = 0; i < rgba.size(); ++i) {
        const stbi_uc* p = pixels + 4 * i;
        rgba[i] = uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
    }
    stbi_image_free(pixels);
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
