// A picture that is also a drawing: its pixels are the drawing rendered at 96 dots per inch, for
// whatever reads pixels, and its strokes let a screen draw it crisply at any scale.
#pragma once
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/automation/picture.h"

namespace ax {

class VectorPicture : public Picture {
  public:
    // A polyline in the picture's pixel coordinates (0,0 the top-left corner of the first pixel).
    struct Stroke {
        std::vector<std::pair<float, float>> points;
        float width = 1;
        uint32_t rgba = 0xFF000000u;  // red in the low byte, alpha in the high byte
    };

    VectorPicture(int width, int height, std::vector<uint32_t> rgba, std::vector<Stroke> strokes)
        : Picture(width, height, std::move(rgba), Kind::Bitmap), strokes_(std::move(strokes)) {}

    const std::vector<Stroke>& strokes() const { return strokes_; }

  private:
    std::vector<Stroke> strokes_;
};

}  // namespace ax
