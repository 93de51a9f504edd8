// Picture: a shared object with a handle (0 = no picture) and decoded pixels.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/automation/object.h"

namespace ax {

class Picture : public Object {
public:
    enum class Kind : int16_t { None = 0, Bitmap = 1, Metafile = 2, Icon = 3 };

    Picture() = default;  // the empty picture: handle 0
    // A picture made from pixels (RGBA, row by row: red in the low byte, alpha in the high byte);
    // it gets a fresh non-zero handle from a process-wide counter.
    Picture(int width, int height, std::vector<uint32_t> rgba, Kind kind = Kind::Bitmap);

    int32_t Handle() const { return handle_; }
    Kind Type() const { return kind_; }
    int Width() const { return width_; }    // pixels
    int Height() const { return height_; }  // pixels
    int32_t WidthHimetric() const;          // automation pictures report sizes in HIMETRIC
    int32_t HeightHimetric() const;
    const std::vector<uint32_t>& pixels() const { return rgba_; }
    const std::string& sourcePath() const { return source_; }
    void setSourcePath(std::string p) { source_ = std::move(p); }

    Variant Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) override;
    bool HasMember(std::string_view name, InvokeKind kind) const override;

private:
    int32_t handle_ = 0;
    Kind kind_ = Kind::None;
    int width_ = 0, height_ = 0;
    std::vector<uint32_t> rgba_;
    std::string source_;
};

using PicturePtr = std::shared_ptr<Picture>;

// An empty picture object (handle 0).
PicturePtr emptyPicture();
// LoadPicture: an empty path gives an empty picture; BMP, PNG, GIF (its first image) and JPEG files
// are decoded as bitmaps, icons and cursors (ICO, CUR) as icons. A missing file raises 53, a path that
// names no plain file (a folder, a device) 75, and a file that cannot be decoded whole 481.
PicturePtr loadPicture(const std::string& path);
// Decodes image bytes already in memory; raises 481 when they are not a whole picture (cut short,
// damaged, or claiming more than 64 Mi pixels).
PicturePtr pictureFromBytes(const uint8_t* data, size_t size);
// Whether a picture reference shows something (not null and handle not 0).
inline bool hasPicture(const PicturePtr& p) { return p && p->Handle() != 0; }

}  // namespace ax
