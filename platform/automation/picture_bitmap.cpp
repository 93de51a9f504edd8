// Bitmap files and the images of icon and cursor files, decoded here because no kept library reads
// them. Every offset and length is checked against the bytes given before it is read; compressed
// bitmaps (run lengths, embedded JPEG or PNG) are refused.
#include <algorithm>
#include <bit>
#include <cstring>

#include "platform/automation/errors.h"
#include "platform/automation/picture_codecs.h"

namespace ax::detail {

namespace {

uint32_t le16(const uint8_t* p) { return uint32_t(p[0]) | (uint32_t(p[1]) << 8); }
uint32_t le32(const uint8_t* p) { return le16(p) | (le16(p + 2) << 16); }

constexpr uint32_t kRgb = 0, kBitFields = 3, kAlphaBitFields = 6;

// One channel of a pixel read through a bit mask, scaled to 8 bits.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t top = 0;  // the mask's largest value once shifted down

    explicit Channel(uint32_t m) : mask(m) {
        if (m == 0) return;
        shift = std::countr_zero(m);
        top = m >> shift;
    }
    uint32_t read(uint32_t pixel, uint32_t absent) const {
        if (mask == 0) return absent;
        return uint32_t(uint64_t((pixel & mask) >> shift) * 255 / top);
    }
};

// What a bitmap's header says about its pixels.
struct DibLayout {
    int64_t width = 0, height = 0;  // height as stored: the colour rows only, for icons
    bool topDown = false;
    uint32_t bpp = 0, compression = kRgb;
    uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
    const uint8_t* palette = nullptr;
    uint32_t paletteEntries = 0, paletteStride = 4;
    size_t headerEnd = 0;  // end of the header, its masks and its colour table, from the DIB's start
};

// Reads a DIB header of n bytes. `icon` halves the height (colour rows followed by mask rows).
DibLayout readDibHeader(const uint8_t* dib, size_t n, bool icon) {
    if (n < 12) raise(err::InvalidPicture);
    const uint32_t headerSize = le32(dib);
    DibLayout d;
    if (headerSize == 12) {  // the oldest header: 16-bit sizes, three-byte colours
        d.width = le16(dib + 4);
        d.height = le16(dib + 6);
        d.bpp = le16(dib + 10);
        d.paletteStride = 3;
    } else {
        if (headerSize < 40 || headerSize > n) raise(err::InvalidPicture);
        d.width = int32_t(le32(dib + 4));
        d.height = int32_t(le32(dib + 8));
        d.bpp = le16(dib + 14);
        d.compression = le32(dib + 16);
        d.paletteEntries = le32(dib + 32);
    }
    size_t at = headerSize;
    if (d.compression == kBitFields || d.compression == kAlphaBitFields) {
        if (d.bpp != 16 && d.bpp != 32) raise(err::InvalidPicture);
        // Masks follow a 40-byte header, and are part of the longer ones.
        const size_t count = d.compression == kAlphaBitFields ? 4 : 3;
        const uint8_t* masks = nullptr;
        if (headerSize == 40) {
            if (n < at + 4 * count) raise(err::InvalidPicture);
            masks = dib + at;
            at += 4 * count;
        } else if (headerSize >= 40 + 4 * count) {
            masks = dib + 40;
        } else {
            raise(err::InvalidPicture);
        }
        for (size_t i = 0; i < count; ++i) d.masks[i] = le32(masks + 4 * i);
        if (headerSize >= 56) d.masks[3] = le32(dib + 52);
    } else if (d.compression != kRgb) {
        raise(err::InvalidPicture);
    }
    if (!(d.bpp == 1 || d.bpp == 4 || d.bpp == 8 || d.bpp == 16 || d.bpp == 24 || d.bpp == 32))
        raise(err::InvalidPicture);
    if (d.width <= 0 || d.height == 0 || d.height == INT32_MIN) raise(err::InvalidPicture);
    if (d.height < 0) {
        if (icon) raise(err::InvalidPicture);
        d.topDown = true;
        d.height = -d.height;
    }
    if (icon) d.height /= 2;
    checkPictureSize(uint64_t(d.width), uint64_t(d.height));

    if (d.bpp <= 8) {
        const uint32_t full = 1u << d.bpp;
        if (d.paletteEntries == 0 || d.paletteEntries > full) d.paletteEntries = full;
        d.palette = dib + at;
        at += size_t(d.paletteEntries) * d.paletteStride;
    } else {
        d.paletteEntries = 0;  // a colour table beside direct colours is only a hint for old displays
    }
    d.headerEnd = at;
    return d;
}

// Decodes the colour rows starting at `pixels` (`available` bytes). `hasOwnAlpha` tells whether the
// picture carried transparency of its own, so that an icon's mask is applied only when it did not.
DecodedImage readDibPixels(const DibLayout& d, const uint8_t* pixels, size_t available, bool& hasOwnAlpha) {
    const uint64_t w = uint64_t(d.width), h = uint64_t(d.height);
    const uint64_t stride = (w * d.bpp + 31) / 32 * 4;
    if (stride * h > available) raise(err::InvalidPicture);
    // Colours a palette index names; an index past the table reads as black.
    uint32_t palette[256] = {};
    for (uint32_t i = 0; i < d.paletteEntries; ++i) {
        const uint8_t* e = d.palette + size_t(i) * d.paletteStride;
        palette[i] = uint32_t(e[2]) | (uint32_t(e[1]) << 8) | (uint32_t(e[0]) << 16);
    }
    uint32_t masks[4] = {d.masks[0], d.masks[1], d.masks[2], d.masks[3]};
    if (d.compression == kRgb && d.bpp == 16) {
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
    }
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);
    // 32-bit pixels without masks keep alpha in their fourth byte, unless every one of those is zero.
    const bool alphaByte = d.compression == kRgb && d.bpp == 32;

    DecodedImage out;
    out.width = int(w);
    out.height = int(h);
    out.rgba.resize(size_t(w * h));
    bool anyAlpha = false;
    for (uint64_t y = 0; y < h; ++y) {
        const uint8_t* row = pixels + stride * (d.topDown ? y : h - 1 - y);
        uint32_t* to = out.rgba.data() + y * w;
        for (uint64_t x = 0; x < w; ++x) {
            uint32_t c = 0, a = 255;
            switch (d.bpp) {
                case 1:
                case 4:
                case 8: {
                    const uint64_t bit = x * d.bpp;
                    const uint32_t index = (row[bit / 8] >> (8 - d.bpp - bit % 8)) & ((1u << d.bpp) - 1);
                    c = palette[index];
                    break;
                }
                case 24: {
                    const uint8_t* p = row + 3 * x;
                    c = uint32_t(p[2]) | (uint32_t(p[1]) << 8) | (uint32_t(p[0]) << 16);
                    break;
                }
                default: {
                    const uint32_t px = d.bpp == 16 ? le16(row + 2 * x) : le32(row + 4 * x);
                    if (alphaByte) {
                        c = uint32_t(row[4 * x + 2]) | (uint32_t(row[4 * x + 1]) << 8) |
                            (uint32_t(row[4 * x]) << 16);
                        a = row[4 * x + 3];
                    } else {
                        c = red.read(px, 0) | (green.read(px, 0) << 8) | (blue.read(px, 0) << 16);
                        a = alpha.read(px, 255);
                    }
                    anyAlpha = anyAlpha || a != 0;
                }
            }
            to[x] = c | (a << 24);
        }
    }
    hasOwnAlpha = false;
    if (!alphaByte && !alpha.mask) return out;
    if (!anyAlpha) {
        for (uint32_t& p : out.rgba) p |= 0xFF000000u;
        return out;
    }
    for (uint32_t p : out.rgba) hasOwnAlpha = hasOwnAlpha || (p >> 24) != 255;
    return out;
}

}  // namespace

bool isBmp(const uint8_t* d, size_t n) { return n >= 2 && d[0] == 'B' && d[1] == 'M'; }

DecodedImage decodeBmp(const uint8_t* data, size_t size) {
    constexpr size_t kFileHeader = 14;
    if (size < kFileHeader + 12) raise(err::InvalidPicture);
    const DibLayout d = readDibHeader(data + kFileHeader, size - kFileHeader, false);
    // The file header says where the pixels are; the colour table may be shorter than declared.
    const uint64_t pixelsAt = le32(data + 10);
    if (pixelsAt < kFileHeader + 12 || pixelsAt > size) raise(err::InvalidPicture);
    DibLayout layout = d;
    if (d.paletteEntries) {
        const uint64_t tableAt = kFileHeader + (d.headerEnd - size_t(d.paletteEntries) * d.paletteStride);
        const uint64_t room = pixelsAt > tableAt ? (pixelsAt - tableAt) / d.paletteStride : 0;
        layout.paletteEntries = uint32_t(std::min<uint64_t>(d.paletteEntries, room));
    }
    bool ownAlpha = false;
    return readDibPixels(layout, data + pixelsAt, size - size_t(pixelsAt), ownAlpha);
}

bool isIconFile(const uint8_t* d, size_t n) {
    return n >= 6 && le16(d) == 0 && (le16(d + 2) == 1 || le16(d + 2) == 2) && le16(d + 4) >= 1 &&
           n >= 6 + 16 * size_t(le16(d + 4));
}

// Icons and cursors hold several images; the largest is shown. Each is a PNG or a bitmap without its
// file header whose height counts the colour rows and the transparency mask rows together.
DecodedImage decodeIcon(const uint8_t* d, size_t n) {
    const size_t count = le16(d + 4);
    size_t best = count;
    uint64_t bestArea = 0;
    uint32_t bestDepth = 0;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* e = d + 6 + 16 * i;
        const uint64_t w = e[0] ? e[0] : 256, h = e[1] ? e[1] : 256;
        const uint32_t depth = le16(e + 6);
        const uint64_t size = le32(e + 8), offset = le32(e + 12);
        if (size == 0 || offset + size > n) continue;
        if (best == count || w * h > bestArea || (w * h == bestArea && depth > bestDepth)) {
            best = i;
            bestArea = w * h;
            bestDepth = depth;
        }
    }
    if (best == count) raise(err::InvalidPicture);
    const uint8_t* entry = d + 6 + 16 * best;
    const uint8_t* image = d + le32(entry + 12);
    const size_t size = le32(entry + 8);
    if (isPng(image, size)) return decodePng(image, size);

    const DibLayout layout = readDibHeader(image, size, true);
    if (layout.headerEnd > size) raise(err::InvalidPicture);
    bool ownAlpha = false;
    DecodedImage out = readDibPixels(layout, image + layout.headerEnd, size - layout.headerEnd, ownAlpha);

    // The mask, one bit a pixel and set where the icon is clear, follows the colour rows when present.
    const uint64_t w = uint64_t(layout.width), h = uint64_t(layout.height);
    const uint64_t colourEnd = layout.headerEnd + (w * layout.bpp + 31) / 32 * 4 * h;
    const uint64_t maskStride = (w + 31) / 32 * 4;
    if (!ownAlpha && colourEnd + maskStride * h <= size) {
        for (uint64_t y = 0; y < h; ++y) {
            const uint8_t* row = image + colourEnd + maskStride * (h - 1 - y);  // rows run bottom-up
            for (uint64_t x = 0; x < w; ++x)
                if (row[x / 8] & (0x80 >> (x % 8))) out.rgba[size_t(y * w + x)] &= 0x00FFFFFFu;
        }
    }
    return out;
}

}  // namespace ax::detail
