// vantrel-qt-demo: the grid control in a real window. With a display it opens the window; without one
// (or with --tour FOLDER) it renders offscreen, plays the tour and saves a PNG of each step.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "apps/qt/demo_window.h"
#include "platform/runtime/registry.h"

namespace fs = std::filesystem;

namespace {
// The build's library folder: $VN_LIB_DIR, else ../lib beside this program.
fs::path libraryFolder(const char* argv0) {
    if (const char* env = std::getenv("VN_LIB_DIR"); env && *env) return env;
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (ec) self = fs::absolute(argv0);
    return self.parent_path().parent_path() / "lib";
}

bool haveDisplay() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && std::string(platform) == "offscreen") return false;
    return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}
}  // namespace

int main(int argc, char** argv) {
    std::string tourFolder;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "--tour") tourFolder = argv[i + 1];
    const bool interactive = tourFolder.empty() && haveDisplay();
    if (!interactive) qputenv("QT_QPA_PLATFORM", "offscreen");

    const fs::path libs = libraryFolder(argv[0]);
    const fs::path build = libs.parent_path();
    if (tourFolder.empty()) tourFolder = (build / "screenshots").string();
    // The number editor is created by identifier: register this build's component libraries.
    ax::setRegistryPath((build / "qt-demo-registry").string());
    ax::registerLibrariesIn(libs.string());

    QApplication app(argc, argv);
    const fs::path data = build / "qt-demo-data";
    fs::create_directories(data);
    demo::DemoWindow window(data.string());
    window.show();
    if (interactive) return app.exec();

    fs::create_directories(tourFolder);
    const int failed = window.runTour(tourFolder);
    std::printf("%s: the tour's screenshots are in %s\n", failed ? "FAILED" : "done", tourFolder.c_str());
    if (failed) std::printf("%d step(s) of the tour failed\n", failed);
    return failed ? 1 : 0;
}
