// Internal to the automation library: the picture decoders behind pictureFromBytes. Picture bytes come
// from form files and LoadPicture, so they are untrusted: each decoder raises 481 for anything it cannot
// decode whole, and none allocates for a size the bytes cannot back.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace ax::detail {

// Pixels as Picture holds them: RGBA, row by row from the top, red in the low byte.
struct DecodedImage {
    int width = 0, height = 0;
    std::vector<uint32_t> rgba;
};

// The largest picture accepted: 64 Mi pixels (256 MB decoded), no side past 65535 pixels.
inline constexpr uint64_t kMaxPicturePixels = uint64_t(1) << 26;
inline constexpr uint64_t kMaxPictureSide = 65535;
bool pictureSizeAllowed(uint64_t width, uint64_t height);
void checkPictureSize(uint64_t width, uint64_t height);  // raises 481 unless allowed

// Kept, upstream-fuzzed decoders (libpng, libjpeg-turbo, giflib).
bool isPng(const uint8_t* data, size_t size);
bool isJpeg(const uint8_t* data, size_t size);
bool isGif(const uint8_t* data, size_t size);
DecodedImage decodePng(const uint8_t* data, size_t size);
DecodedImage decodeJpeg(const uint8_t* data, size_t size);
DecodedImage decodeGif(const uint8_t* data, size_t size);

// Ours: bitmap files, and icon and cursor files (whose images are PNGs or headerless bitmaps).
bool isBmp(const uint8_t* data, size_t size);
bool isIconFile(const uint8_t* data, size_t size);
DecodedImage decodeBmp(const uint8_t* data, size_t size);
DecodedImage decodeIcon(const uint8_t* data, size_t size);

}  // namespace ax::detail
