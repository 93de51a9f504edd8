#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "platform/automation/errors.h"
#include "platform/automation/picture.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>
#include "tests/support/error_of.h"

using namespace ax;
namespace fs = std::filesystem;

namespace {

using testsupport::errorOf;

uint32_t rgbaOf(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) {
    return uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16) | (uint32_t(a) << 24);
}

// A 2x2 24-bit bitmap: top row red, green; bottom row blue, white (stored bottom-up, rows padded to 4 bytes).
std::vector<uint8_t> smallBmp() {
    std::vector<uint8_t> b = {'B', 'M', 70, 0, 0,    0,    0, 0, 0,    0,    54, 0, 0, 0,  // file header
                              40,  0,   0,  0, 2,    0,    0, 0, 2,    0,    0,  0, 1, 0, 24, 0, 0, 0, 0, 0,
                              16,  0,   0,  0, 0x13, 0x0B, 0, 0, 0x13, 0x0B, 0,  0, 0, 0, 0,  0, 0, 0, 0, 0};
    const uint8_t bottom[] = {255, 0, 0, 255, 255, 255, 0, 0};  // blue, white (BGR), padding
    const uint8_t top[] = {0, 0, 255, 0, 255, 0, 0, 0};         // red, green
    b.insert(b.end(), std::begin(bottom), std::end(bottom));
    b.insert(b.end(), std::begin(top), std::end(top));
    return b;
}

// The smallest GIF: one transparent-capable 1x1 white pixel.
const uint8_t kGif[] = {'G', 'I',  'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0xFF, 0xFF, 0xFF, 0,   0,
                        0,   0x2C, 0,   0,   0,   0,   1, 0, 1, 0, 0,    2, 2, 0x44, 0x01, 0,    0x3B};

void appendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<uint8_t>*>(context);
    out->insert(out->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
}

void put16(std::vector<uint8_t>& v, uint32_t x) { v.insert(v.end(), {uint8_t(x), uint8_t(x >> 8)}); }
void put32(std::vector<uint8_t>& v, uint32_t x) {
    put16(v, x & 0xFFFF);
    put16(v, x >> 16);
}

// An icon file (type 1) or cursor (type 2) holding the given images, each with its stated size.
std::vector<uint8_t> iconFile(uint16_t type,
                              const std::vector<std::pair<int, std::vector<uint8_t>>>& images) {
    std::vector<uint8_t> f;
    put16(f, 0);
    put16(f, type);
    put16(f, uint32_t(images.size()));
    uint32_t offset = 6 + 16 * uint32_t(images.size());
    for (const auto& [side, bytes] : images) {
        f.insert(f.end(), {uint8_t(side), uint8_t(side), 0, 0});
        put16(f, 1);
        put16(f, 32);
        put32(f, uint32_t(bytes.size()));
        put32(f, offset);
        offset += uint32_t(bytes.size());
    }
    for (const auto& image : images) f.insert(f.end(), image.second.begin(), image.second.end());
    return f;
}

// A 2x2 24-bit icon image: top row red, green; bottom row blue, white; the mask hides green.
std::vector<uint8_t> iconBitmap() {
    std::vector<uint8_t> b;
    for (uint32_t x : {40u, 2u, 4u}) put32(b, x);  // header size, width, colour plus mask height
    put16(b, 1);
    put16(b, 24);
    for (int i = 0; i < 6; ++i) put32(b, 0);
    b.insert(b.end(), {255, 0, 0, 255, 255, 255, 0, 0});  // bottom row first
    b.insert(b.end(), {0, 0, 255, 0, 255, 0, 0, 0});
    b.insert(b.end(), {0x00, 0, 0, 0, 0x40, 0, 0, 0});  // mask rows, bottom-up
    return b;
}

// A bitmap file: the 40-byte header (or a longer one, zero-filled past 40) with what follows it
// (masks, colour table), then the pixel rows as given.
std::vector<uint8_t> bitmapFile(int32_t w, int32_t h, uint16_t bpp, const std::vector<uint8_t>& afterHeader,
                                const std::vector<uint8_t>& rows, uint32_t compression = 0, uint32_t colours = 0,
                                uint32_t headerSize = 40) {
    std::vector<uint8_t> b = {'B', 'M'};
    const uint32_t pixelsAt = 14 + headerSize + uint32_t(afterHeader.size());
    put32(b, pixelsAt + uint32_t(rows.size()));
    put32(b, 0);
    put32(b, pixelsAt);
    put32(b, headerSize);
    put32(b, uint32_t(w));
    put32(b, uint32_t(h));
    put16(b, 1);
    put16(b, bpp);
    put32(b, compression);
    for (uint32_t x : {uint32_t(rows.size()), 0u, 0u, colours, 0u}) put32(b, x);
    b.resize(14 + headerSize, 0);
    b.insert(b.end(), afterHeader.begin(), afterHeader.end());
    b.insert(b.end(), rows.begin(), rows.end());
    return b;
}

std::vector<uint8_t> littleEndian32(std::initializer_list<uint32_t> values) {
    std::vector<uint8_t> out;
    for (uint32_t v : values) put32(out, v);
    return out;
}

uint32_t crc32Of(const uint8_t* p, size_t n) {
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
    }
    return ~c;
}

// Where a JPEG marker (0xFF, code) first appears.
size_t markerAt(const std::vector<uint8_t>& jpeg, uint8_t code) {
    for (size_t i = 0; i + 1 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == code) return i;
    ADD_FAILURE() << "no marker " << int(code);
    return 0;
}

bool refused(const std::vector<uint8_t>& bytes) {
    return errorOf([&] { pictureFromBytes(bytes.data(), bytes.size()); }) == err::InvalidPicture;
}

class PictureFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("ax-picture-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                std::to_string(reinterpret_cast<uintptr_t>(this)));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string write(const std::string& name, const std::vector<uint8_t>& bytes) {
        fs::path p = dir_ / name;
        std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return p.string();
    }
    fs::path dir_;
};

}  // namespace

TEST_F(PictureFiles, LoadsEachFormatWithItsPixels) {
    auto bmp = loadPicture(write("a.bmp", smallBmp()));
    ASSERT_EQ(bmp->Width(), 2);
    ASSERT_EQ(bmp->Height(), 2);
    EXPECT_EQ(bmp->Type(), Picture::Kind::Bitmap);
    EXPECT_EQ(bmp->pixels(), (std::vector<uint32_t>{rgbaOf(255, 0, 0), rgbaOf(0, 255, 0), rgbaOf(0, 0, 255),
                                                    rgbaOf(255, 255, 255)}));
    EXPECT_EQ(bmp->sourcePath(), (dir_ / "a.bmp").string());

    // PNG keeps alpha exactly; JPEG is lossy, so only its size and rough colour are checked.
    std::vector<uint8_t> rgba = {10, 20, 30, 255, 200, 100, 50, 128, 0, 0,  0,  0,
                                 1,  2,  3,  4,   5,   6,   7,  8,   9, 10, 11, 12};
    std::vector<uint8_t> png;
    ASSERT_TRUE(stbi_write_png_to_func(appendBytes, &png, 3, 2, 4, rgba.data(), 12));
    auto p = loadPicture(write("b.png", png));
    ASSERT_EQ(p->Width(), 3);
    ASSERT_EQ(p->Height(), 2);
    EXPECT_EQ(p->pixels()[1], rgbaOf(200, 100, 50, 128));
    EXPECT_EQ(p->pixels()[5], rgbaOf(9, 10, 11, 12));

    std::vector<uint8_t> grey(16 * 8 * 3, 200), jpg;
    ASSERT_TRUE(stbi_write_jpg_to_func(appendBytes, &jpg, 16, 8, 3, grey.data(), 90));
    auto j = loadPicture(write("c.jpg", jpg));
    EXPECT_EQ(j->Width(), 16);
    EXPECT_EQ(j->Height(), 8);
    EXPECT_NEAR(int(j->pixels()[0] & 0xFF), 200, 4);

    auto g = loadPicture(write("d.gif", std::vector<uint8_t>(std::begin(kGif), std::end(kGif))));
    EXPECT_EQ(g->Width(), 1);
    EXPECT_EQ(g->Height(), 1);
    EXPECT_EQ(g->pixels()[0] & 0xFFFFFF, 0xFFFFFFu);

    // The extension does not matter, the contents do.
    EXPECT_EQ(loadPicture(write("really-a-png.bmp", png))->Width(), 3);
}

TEST_F(PictureFiles, IconsAndCursorsShowTheirLargestImage) {
    std::vector<uint8_t> onePixel = {0, 0, 255, 255}, png;
    ASSERT_TRUE(stbi_write_png_to_func(appendBytes, &png, 1, 1, 4, onePixel.data(), 4));

    auto icon = loadPicture(write("a.ico", iconFile(1, {{1, png}, {2, iconBitmap()}})));
    EXPECT_EQ(icon->Type(), Picture::Kind::Icon);
    EXPECT_EQ(getProperty(*icon, "Type"), Variant(int16_t(3)));
    ASSERT_EQ(icon->Width(), 2);
    ASSERT_EQ(icon->Height(), 2);
    EXPECT_EQ(icon->pixels(), (std::vector<uint32_t>{rgbaOf(255, 0, 0), rgbaOf(0, 255, 0, 0),
                                                     rgbaOf(0, 0, 255), rgbaOf(255, 255, 255)}));

    auto cursor = loadPicture(write("b.cur", iconFile(2, {{1, png}})));
    EXPECT_EQ(cursor->Type(), Picture::Kind::Icon);
    EXPECT_EQ(cursor->pixels(), std::vector<uint32_t>{rgbaOf(0, 0, 255)});
    EXPECT_GE(cursor->Handle(), 1);

    auto broken = iconFile(1, {{2, iconBitmap()}});
    broken.resize(broken.size() - 20);  // the image runs past the end of the file
    EXPECT_EQ(errorOf([&] { loadPicture(write("c.ico", broken)); }), err::InvalidPicture);
    auto cut = iconBitmap();
    cut.resize(48);
    EXPECT_EQ(errorOf([&] { loadPicture(write("d.ico", iconFile(1, {{2, cut}}))); }), err::InvalidPicture);
}

TEST_F(PictureFiles, FailuresAndTheEmptyPicture) {
    auto none = loadPicture("");
    EXPECT_EQ(none->Handle(), 0);
    EXPECT_EQ(none->Type(), Picture::Kind::None);
    EXPECT_FALSE(hasPicture(none));
    EXPECT_FALSE(hasPicture(nullptr));
    EXPECT_EQ(emptyPicture()->Handle(), 0);

    EXPECT_EQ(errorOf([&] { loadPicture((dir_ / "missing.bmp").string()); }), err::FileNotFound);
    EXPECT_EQ(errorOf([&] {
                  loadPicture(write("notes.txt", {'h', 'e', 'l', 'l', 'o'}));
              }),
              err::InvalidPicture);
    EXPECT_EQ(errorOf([&] { loadPicture(write("empty.png", {})); }), err::InvalidPicture);
    auto truncated = smallBmp();
    truncated.resize(30);
    EXPECT_EQ(errorOf([&] { loadPicture(write("cut.bmp", truncated)); }), err::InvalidPicture);
    EXPECT_EQ(errorOf([&] { loadPicture(dir_.string()); }), err::PathFileAccessError);
    EXPECT_EQ(errorOf([] { pictureFromBytes(nullptr, 0); }), err::InvalidPicture);
}

TEST(Pictures, HandlesAreFreshAndMembersReportHimetric) {
    auto bytes = smallBmp();
    auto a = pictureFromBytes(bytes.data(), bytes.size());
    auto b = pictureFromBytes(bytes.data(), bytes.size());
    Picture c(96, 48, std::vector<uint32_t>(96 * 48));
    EXPECT_GE(a->Handle(), 1);
    EXPECT_GT(b->Handle(), a->Handle());
    EXPECT_GT(c.Handle(), b->Handle());
    EXPECT_TRUE(hasPicture(a));

    EXPECT_EQ(c.WidthHimetric(), 2540);
    EXPECT_EQ(c.HeightHimetric(), 1270);
    EXPECT_EQ(a->WidthHimetric(), 53);  // 2 px = 52.9 HIMETRIC
    EXPECT_EQ(getProperty(c, "Width"), Variant(int32_t(2540)));
    EXPECT_EQ(getProperty(c, "HEIGHT"), Variant(int32_t(1270)));
    EXPECT_EQ(getProperty(c, "handle"), Variant(c.Handle()));
    EXPECT_EQ(getProperty(c, "Type"), Variant(int16_t(1)));
    EXPECT_EQ(getProperty(*emptyPicture(), "Type"), Variant(int16_t(0)));
    EXPECT_FALSE(c.HasMember("Width", InvokeKind::PropertyPut));
    EXPECT_EQ(errorOf([&] { letProperty(c, "Width", int32_t(5)); }), err::MemberNotFound);
    EXPECT_EQ(errorOf([&] { getProperty(c, "Render"); }), err::MemberNotFound);
    EXPECT_EQ(errorOf([&] { getProperty(c, "Handle", {int16_t(0)}); }), err::WrongArgumentCount);
}

TEST(Pictures, DamagedFilesFailCleanly) {
    std::vector<uint8_t> onePixel = {0, 0, 255, 255}, png;
    ASSERT_TRUE(stbi_write_png_to_func(appendBytes, &png, 1, 1, 4, onePixel.data(), 4));
    const std::vector<uint8_t> originals[] = {smallBmp(), png, iconFile(1, {{2, iconBitmap()}}),
                                              std::vector<uint8_t>(std::begin(kGif), std::end(kGif))};
    std::mt19937 rng(481);
    int decoded = 0;
    for (int round = 0; round < 3000; ++round) {
        std::vector<uint8_t> bytes = originals[round % 4];
        std::uniform_int_distribution<size_t> at(0, bytes.size() - 1);
        for (int flips = 1 + round % 3; flips > 0; --flips) bytes[at(rng)] = uint8_t(rng());
        if (round % 7 == 0) bytes.resize(at(rng));
        try {
            auto p = pictureFromBytes(bytes.data(), bytes.size());
            ASSERT_EQ(p->pixels().size(), size_t(p->Width()) * size_t(p->Height()));
            ++decoded;
        } catch (const AutomationError& e) {
            ASSERT_EQ(e.number(), err::InvalidPicture);
        }
    }
    EXPECT_GT(decoded, 0);  // many damaged bytes still decode, into pictures of consistent size
}

// Pictures come from form files and LoadPicture: a file cut short, crafted to mislead the decoder, or
// claiming a size its bytes cannot hold is refused as a bad picture, never half decoded or allocated.
TEST(Pictures, CutCraftedAndOversizedFilesOfEveryFormatAreRefused) {
    std::vector<uint8_t> rgb(16 * 8 * 3), jpg, png;
    for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = uint8_t(i * 7);
    ASSERT_TRUE(stbi_write_jpg_to_func(appendBytes, &jpg, 16, 8, 3, rgb.data(), 90));
    ASSERT_TRUE(stbi_write_png_to_func(appendBytes, &png, 16, 8, 3, rgb.data(), 48));
    ASSERT_FALSE(refused(jpg));
    ASSERT_FALSE(refused(png));

    // JPEG: cut inside its coded data; a Huffman table whose code counts overflow; a frame of 65000
    // by 65000 pixels over a few hundred bytes.
    const size_t scan = markerAt(jpg, 0xDA);
    auto cut = jpg;
    cut.resize(scan + (jpg.size() - scan) / 2);
    EXPECT_TRUE(refused(cut));
    auto crafted = jpg;
    const size_t table = markerAt(jpg, 0xC4);
    for (size_t k = 0; k < 16; ++k) crafted[table + 5 + k] = 0xFF;
    EXPECT_TRUE(refused(crafted));
    auto huge = jpg;
    const size_t frame = markerAt(jpg, 0xC0);
    for (size_t k : {5, 7}) huge[frame + k] = 0xFD, huge[frame + k + 1] = 0xE8;
    EXPECT_TRUE(refused(huge));

    // PNG: cut inside its data; a data chunk damaged under its checksum; 60000 by 60000 pixels.
    cut = png;
    cut.resize(png.size() - 20);
    EXPECT_TRUE(refused(cut));
    auto damaged = png;
    damaged[8 + 25 + 10] ^= 0x55;  // inside the first data chunk, after the 25-byte header chunk
    EXPECT_TRUE(refused(damaged));
    huge = png;
    for (size_t at : {16, 20}) huge[at] = 0, huge[at + 1] = 0, huge[at + 2] = 0xEA, huge[at + 3] = 0x60;
    const uint32_t crc = crc32Of(&huge[12], 17);
    for (int k = 0; k < 4; ++k) huge[29 + k] = uint8_t(crc >> (24 - 8 * k));
    EXPECT_TRUE(refused(huge));

    // GIF: cut inside the image's data; a logical screen of 65535 by 65535 pixels.
    std::vector<uint8_t> gif(std::begin(kGif), std::end(kGif));
    ASSERT_FALSE(refused(gif));
    cut = gif;
    cut.resize(gif.size() - 4);
    EXPECT_TRUE(refused(cut));
    huge = gif;
    for (size_t at : {6, 7, 8, 9}) huge[at] = 0xFF;
    EXPECT_TRUE(refused(huge));

    // Bitmaps: rows missing at the end; 50000 by 50000 pixels over four bytes; run-length coded.
    cut = smallBmp();
    cut.resize(cut.size() - 3);
    EXPECT_TRUE(refused(cut));
    EXPECT_TRUE(refused(bitmapFile(50000, 50000, 24, {}, {1, 2, 3, 4})));
    EXPECT_TRUE(refused(bitmapFile(2, 1, 8, std::vector<uint8_t>(8), {0, 1, 0, 0}, 1)));
    EXPECT_TRUE(refused(bitmapFile(2, 1, 7, {}, {0, 1, 0, 0})));
}

TEST(Pictures, BitmapLayoutsGiveTheirPixels) {
    auto pixelsOf = [](const std::vector<uint8_t>& bytes) { return pictureFromBytes(bytes.data(), bytes.size())->pixels(); };
    const uint32_t red = rgbaOf(255, 0, 0), green = rgbaOf(0, 255, 0), blue = rgbaOf(0, 0, 255), black = rgbaOf(0, 0, 0);

    // Colour table of three (blue, green, red as stored); an index past the table reads black.
    const std::vector<uint8_t> table = {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0};
    EXPECT_EQ(pixelsOf(bitmapFile(4, 1, 8, table, {2, 1, 0, 7}, 0, 3)),
              (std::vector<uint32_t>{blue, green, red, black}));
    // One bit a pixel, nine wide: the ninth comes from the high bit of the second byte.
    EXPECT_EQ(pixelsOf(bitmapFile(9, 1, 1, table, {0x80, 0x80, 0, 0}, 0, 2)),
              (std::vector<uint32_t>{green, red, red, red, red, red, red, red, green}));
    // 16 bits: five each for red, green and blue.
    EXPECT_EQ(pixelsOf(bitmapFile(3, 1, 16, {}, {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0, 0})),
              (std::vector<uint32_t>{red, green, blue}));
    // 32 bits with masks, stored top row first.
    const auto masks = littleEndian32({0x0000FF00, 0x00FF0000, 0xFF000000});
    EXPECT_EQ(pixelsOf(bitmapFile(1, -2, 32, masks, {0, 0, 0xFF, 0, 0, 0, 0, 0xFF}, 3)),
              (std::vector<uint32_t>{green, blue}));
    // 32 bits plain: the fourth byte is alpha, unless it is zero throughout.
    EXPECT_EQ(pixelsOf(bitmapFile(2, 1, 32, {}, {0, 0, 255, 0, 255, 0, 0, 0})), (std::vector<uint32_t>{red, blue}));
    EXPECT_EQ(pixelsOf(bitmapFile(2, 1, 32, {}, {0, 0, 255, 128, 255, 0, 0, 0})),
              (std::vector<uint32_t>{rgbaOf(255, 0, 0, 128), rgbaOf(0, 0, 255, 0)}));
    // The oldest header: 16-bit sizes and three-byte colours.
    std::vector<uint8_t> core = {'B', 'M', 32, 0, 0, 0, 0, 0, 0, 0, 26, 0, 0, 0, 12, 0, 0, 0, 2, 0, 1, 0, 1, 0, 24, 0};
    core.insert(core.end(), {255, 0, 0, 0, 255, 0, 0, 0});
    EXPECT_EQ(pixelsOf(core), (std::vector<uint32_t>{blue, green}));

    // A GIF's first image on its logical screen: the transparent colour and what the image leaves
    // uncovered are clear.
    const std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', 2, 0, 1, 0, 0x80, 0, 0, 0xFF, 0, 0, 0, 0, 0xFF,
                                      0x21, 0xF9, 4, 1, 0, 0, 1, 0, 0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 0x01, 0, 0x3B};
    EXPECT_EQ(pixelsOf(gif), (std::vector<uint32_t>{red, 0}));
}

TEST_F(PictureFiles, OnlyPlainFilesAreRead) {
    // A device could be read for ever; it is no picture file.
    EXPECT_EQ(errorOf([&] { loadPicture("/dev/zero"); }), err::PathFileAccessError);
}
