// The texts of a grid: one std::string per cell, row-major per slot, in blocks of 1024 slots. Growing
// adds slots without moving the texts already stored, and a finished block holds no spare capacity.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace ax::detail {

class CellStore {
  public:
    static constexpr uint32_t kBlockShift = 10;
    static constexpr uint32_t kBlockSlots = 1u << kBlockShift;

    int32_t width() const { return width_; }
    uint32_t slotCount() const { return slots_; }

    // The first text of a slot; the slot's texts follow it.
    std::string* slot(uint32_t s) {
        return blocks_[s >> kBlockShift].data() + size_t(s & (kBlockSlots - 1)) * size_t(width_);
    }
    const std::string* slot(uint32_t s) const {
        return blocks_[s >> kBlockShift].data() + size_t(s & (kBlockSlots - 1)) * size_t(width_);
    }

    // Appends n slots of empty texts; returns the number of the first.
    uint32_t addSlots(uint32_t n);
    // Changes the texts per slot, keeping the first min(old, new) texts of each slot.
    void setWidth(int32_t width);
    // Empties every text and frees what the texts held.
    void clearTexts();
    void swap(CellStore& o) noexcept {
        blocks_.swap(o.blocks_);
        std::swap(slots_, o.slots_);
        std::swap(width_, o.width_);
    }

  private:
    std::vector<std::vector<std::string>> blocks_;
    uint32_t slots_ = 0;
    int32_t width_ = 0;
};

}  // namespace ax::detail
