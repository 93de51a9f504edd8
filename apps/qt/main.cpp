// vantrel-qt-demo: the grid control in a real window. With a display it opens the window; without one
// (or with --tour FOLDER) it renders offscreen, plays the tour and saves a PNG of each step. With
// --idle-cpu SECONDS it leaves the window idle that long and prints the processor time it used.
#include <sys/resource.h>

#include <QApplication>
#include <QTimer>
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

// Processor time of this process so far (user and system), in milliseconds.
double cpuMilliseconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(u.ru_utime) + ms(u.ru_stime);
}

bool haveDisplay() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && std::string(platform) == "offscreen") return false;
    return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}
}  // namespace

int main(int argc, char** argv) {
    std::string tourFolder;
    double idleSeconds = 0;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string(argv[i]) == "--tour") tourFolder = argv[i + 1];
        if (std::string(argv[i]) == "--idle-cpu") idleSeconds = std::atof(argv[i + 1]);
    }
    const bool interactive = tourFolder.empty() && idleSeconds <= 0 && haveDisplay();
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
    if (idleSeconds > 0) {
        // The window shown and painted, then left alone: nothing should run until the timer ends it.
        for (int i = 0; i < 20; ++i) QApplication::processEvents();
        const double before = cpuMilliseconds();
        QTimer::singleShot(int(idleSeconds * 1000), &app, &QApplication::quit);
        app.exec();
        const double used = cpuMilliseconds() - before;
        std::printf("idle for %.1f s: %.1f ms of processor time (%.3f%%)\n", idleSeconds, used,
                    used / (idleSeconds * 10.0));
        return 0;
    }

    fs::create_directories(tourFolder);
    const int failed = window.runTour(tourFolder);
    std::printf("%s: the tour's screenshots are in %s\n", failed ? "FAILED" : "done", tourFolder.c_str());
    if (failed) std::printf("%d step(s) of the tour failed\n", failed);
    return failed ? 1 : 0;
}
