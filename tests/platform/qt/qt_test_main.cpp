#include <gtest/gtest.h>
#include <QApplication>

// gtest_main runs the tests; widgets need one application for the whole run, made before the first
// test and gone before the program's own teardown (Qt must not outlive its libraries' statics).
namespace {
class QtApplication : public ::testing::Environment {
  public:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

  private:
    int argc_ = 1;
    char name_[16] = "qt_host_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};
const auto* registered = ::testing::AddGlobalTestEnvironment(new QtApplication);
}  // namespace
