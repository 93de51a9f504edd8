// What the fuzz targets share: a reader that turns the fuzzer's bytes into choices, a process-wide
// setup (a registry holding the number editor's library, a scratch folder), and a host whose inner
// grids have a small cell budget, so that shapes stay quick to build and the budget's refusals are
// exercised rather than the machine's memory.
#pragma once
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "platform/flexgrid/headless_flexgrid.h"
#include "platform/headless/headless_children.h"
#include "platform/runtime/registry.h"

namespace fuzzsupport {

// Reads choices off the front of the input; once it is used up every choice reads as zero.
class Bytes {
  public:
    Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool empty() const { return at_ >= size_; }
    uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    bool flag() { return byte() & 1; }
    // A number in [0, n) (n > 0).
    uint32_t below(uint32_t n) {
        uint32_t v = 0;
        for (uint32_t span = 1; span < n && span != 0; span <<= 8) v = (v << 8) | byte();
        return n ? v % n : 0;
    }
    int32_t between(int32_t lo, int32_t hi) { return lo + int32_t(below(uint32_t(int64_t(hi) - lo + 1))); }
    double number() {
        double d = 0;
        uint8_t raw[sizeof d] = {};
        for (uint8_t& b : raw) b = byte();
        std::memcpy(&d, raw, sizeof d);
        return d;
    }
    // A text of up to `most` bytes: its length comes first.
    std::string text(size_t most) {
        const size_t n = std::min<size_t>(below(uint32_t(most) + 1), size_ - std::min(at_, size_));
        std::string s(reinterpret_cast<const char*>(data_ + at_), n);
        at_ += n;
        return s;
    }
    std::string_view rest() const {
        return at_ < size_ ? std::string_view(reinterpret_cast<const char*>(data_ + at_), size_ - at_) : std::string_view();
    }

  private:
    const uint8_t* data_;
    size_t size_, at_ = 0;
};

// A folder of this process's own, made once; the fuzzed members that write files write there, the
// current folder is moved there, and it goes when the process ends. So a fuzz program must be given
// its corpus folders as absolute paths (scripts/fuzz.sh does).
inline const std::filesystem::path& scratchFolder() {
    static const std::filesystem::path folder = [] {
        auto dir = std::filesystem::temp_directory_path() / ("vantrel-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        std::filesystem::current_path(dir);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(std::filesystem::temp_directory_path() /
                                            ("vantrel-fuzz-" + std::to_string(::getpid())),
                                        ignored);
        });
        return dir;
    }();
    return folder;
}

// The grid creates its number editor by name: the editor's library goes into a registry of the
// process's own.
inline void registerComponents() {
    static const bool done = [] {
        ax::setRegistryPath((scratchFolder() / "registry").string());
        ax::registerLibrary(VN_ZEL_LIBRARY);
        return true;
    }();
    (void)done;
}

inline constexpr int64_t kFuzzCellBudget = 200000;

// The headless children, with inner grids of a small cell budget.
class SmallGridChildren : public ax::ChildFactory {
  public:
    ax::ChildPtr create(ax::ChildKind kind) override {
        if (kind == ax::ChildKind::FlexGrid) return std::make_shared<ax::HeadlessFlexGrid>(kFuzzCellBudget);
        return rest_.create(kind);
    }

  private:
    ax::HeadlessChildFactory rest_;
};

inline std::unique_ptr<ax::HeadlessHost> makeHost() {
    registerComponents();
    return std::make_unique<ax::HeadlessHost>(std::make_shared<SmallGridChildren>());
}

// Texts that may name files lose their separators: a fuzzed path stays in the scratch folder.
inline std::string localName(std::string s) {
    std::replace(s.begin(), s.end(), '/', '_');
    std::replace(s.begin(), s.end(), '\\', '_');
    return s;
}

}  // namespace fuzzsupport
