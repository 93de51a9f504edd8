#include "platform/flexgrid/cell_store.h"

#include <algorithm>

namespace ax::detail {

uint32_t CellStore::addSlots(uint32_t n) {
    uint32_t first = slots_;
    size_t w = size_t(width_);
    while (n > 0) {
        uint32_t inBlock = slots_ & (kBlockSlots - 1);
        if (inBlock == 0) blocks_.emplace_back();
        uint32_t take = std::min(n, kBlockSlots - inBlock);
        auto& block = blocks_.back();
        size_t need = size_t(inBlock + take) * w;
        if (need > block.capacity()) {
            // The first block grows geometrically, so a small grid stays small; once a grid has
            // outgrown it, a new block is made whole at once instead of being moved as it doubles.
            const size_t full = size_t(kBlockSlots) * w;
            block.reserve(blocks_.size() > 1 ? full : std::min(std::max(need, block.capacity() * 2), full));
        }
        block.resize(need);
        slots_ += take;
        n -= take;
    }
    return first;
}

void CellStore::setWidth(int32_t width) {
    if (width == width_) return;
    size_t keep = size_t(std::min(width, width_)), w = size_t(width);
    for (size_t b = 0; b < blocks_.size(); ++b) {
        size_t inBlock = std::min<size_t>(kBlockSlots, slots_ - b * kBlockSlots);
        std::vector<std::string> wider;
        wider.reserve(b + 1 < blocks_.size() ? size_t(kBlockSlots) * w : inBlock * w);
        wider.resize(inBlock * w);
        for (size_t s = 0; s < inBlock; ++s)
            for (size_t c = 0; c < keep; ++c)
                wider[s * w + c] = std::move(blocks_[b][s * size_t(width_) + c]);
        blocks_[b] = std::move(wider);
    }
    width_ = width;
}

void CellStore::clearTexts() {
    static const size_t inPlace = std::string().capacity();  // a text this short owns no memory
    for (auto& block : blocks_)
        for (auto& text : block) {
            if (text.capacity() > inPlace)
                std::string().swap(text);
            else
                text.clear();
        }
}

}  // namespace ax::detail
