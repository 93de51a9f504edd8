#include "platform/automation/picture.h"

#include <atomic>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/automation/errors.h"
#include "platform/automation/picture_codecs.h"
#include "platform/automation/text.h"

namespace ax {

namespace {

std::atomic<int32_t> nextHandle{1};

// The largest picture decoded in its plainest form (an uncompressed bitmap), with room for its headers.
constexpr uintmax_t kMaxPictureFileBytes = detail::kMaxPicturePixels * 4 + (uintmax_t(1) << 20);

// Member names match whatever their case.
bool sameName(std::string_view a, std::string_view b) { return detail::equalsNoCase(a, b); }

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
    using namespace detail;
    if (!data || size == 0) raise(err::InvalidPicture);
    // The contents decide the format, whatever the file is called.
    Picture::Kind kind = Picture::Kind::Bitmap;
    DecodedImage image;
    if (isPng(data, size))
        image = decodePng(data, size);
    else if (isJpeg(data, size))
        image = decodeJpeg(data, size);
    else if (isGif(data, size))
        image = decodeGif(data, size);
    else if (isBmp(data, size))
        image = decodeBmp(data, size);
    else if (isIconFile(data, size)) {
        image = decodeIcon(data, size);
        kind = Picture::Kind::Icon;
    } else
        raise(err::InvalidPicture);
    return std::make_shared<Picture>(image.width, image.height, std::move(image.rgba), kind);
}

PicturePtr loadPicture(const std::string& path) {
    if (path.empty()) return emptyPicture();
    std::error_code ec;
    auto status = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(status)) raise(err::FileNotFound);
    // A folder, a device or a pipe is no picture file; reading one could block or never end.
    if (!std::filesystem::is_regular_file(status)) raise(err::PathFileAccessError);
    // No picture that may be decoded takes more room than this in a file.
    if (std::filesystem::file_size(path, ec) > kMaxPictureFileBytes) raise(err::InvalidPicture);
    std::ifstream in(path, std::ios::binary);
    if (!in) raise(err::PathFileAccessError);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) raise(err::PathFileAccessError);
    auto picture = pictureFromBytes(bytes.data(), bytes.size());
    picture->setSourcePath(path);
    return picture;
}

}  // namespace ax
