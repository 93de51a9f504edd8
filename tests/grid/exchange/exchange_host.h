// Helpers of the exchange tests: arrays as a host builds them, and a private temporary folder.
#pragma once
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "grid/exchange/exchange.h"
#include "platform/automation/variant.h"
#include "tests/grid/frame/grid_host.h"

namespace vantrel::test {

// A two-dimensional array of strings with the given bounds, element (i, j) = "<i>,<j>".
inline std::shared_ptr<ax::SafeArray> labelledArray(int32_t firstRow, int32_t lastRow, int32_t firstCol,
                                                    int32_t lastCol) {
    auto a = std::make_shared<ax::SafeArray>(
        ax::VarType::String, std::vector<ax::SafeArray::Bound>{{firstRow, lastRow - firstRow + 1},
                                                               {firstCol, lastCol - firstCol + 1}});
    for (int32_t i = firstRow; i <= lastRow; ++i)
        for (int32_t j = firstCol; j <= lastCol; ++j)
            a->at({i, j}) = ax::Variant(std::to_string(i) + "," + std::to_string(j));
    return a;
}

// A one-dimensional array of strings starting at `lower`.
inline std::shared_ptr<ax::SafeArray> stringList(int32_t lower, std::initializer_list<const char*> items) {
    auto a = std::make_shared<ax::SafeArray>(
        ax::VarType::String, std::vector<ax::SafeArray::Bound>{{lower, static_cast<int32_t>(items.size())}});
    int32_t k = lower;
    for (const char* s : items) a->at({k++}) = ax::Variant(s);
    return a;
}

// Paints of the headless inner grid so far.
inline uint64_t paintsOf(ax::FlexGrid& grid) {
    return dynamic_cast<ax::HeadlessFlexGrid&>(grid).paintCount();
}

inline std::string element(const ax::Variant& array, std::initializer_list<int32_t> at) {
    return array.array()->at(at).toString();
}

// A folder of its own for each test, removed afterwards.
class TempDir {
  public:
    TempDir() {
        static std::atomic<int> counter{0};
        path_ = std::filesystem::temp_directory_path() /
                ("vantrel-exchange-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    std::string write(const std::string& name, const std::string& bytes) const {
        std::ofstream(file(name), std::ios::binary) << bytes;
        return file(name);
    }
    static std::string read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

  private:
    std::filesystem::path path_;
};

}  // namespace vantrel::test
