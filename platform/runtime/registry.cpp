#include "platform/runtime/registry.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "platform/automation/errors.h"
#include "platform/runtime/dispatch.h"

namespace ax {

namespace fs = std::filesystem;

namespace {

bool sameName(std::string_view a, std::string_view b) { return detail::lowerName(a) == detail::lowerName(b); }

std::string absolutePath(const std::string& path) {
    std::error_code ec;
    fs::path p = fs::weakly_canonical(fs::absolute(path, ec), ec);
    return ec ? path : p.string();
}

struct RuntimeState {
    std::mutex mutex;
    std::string registryPath;
    std::optional<std::string> systemRegistryPath;  // unset: beside this library
    std::map<std::string, void*> loaded;            // library path -> dlopen handle held by CreateObject
};

RuntimeState& state() {
    static RuntimeState s;  // never destroyed before the libraries it holds: handles are leaked at exit
    return s;
}

std::string defaultRegistryPath() {
    if (const char* env = std::getenv("AX_REGISTRY"); env && *env) return env;
    const char* home = std::getenv("HOME");
    return (fs::path(home && *home ? home : "/tmp") / ".ax" / "registry").string();
}

// The registry a package installs beside this runtime library: found from the library's own file, so
// a package unpacked under another prefix (a staging folder) finds its own.
std::string defaultSystemRegistryPath() {
    const std::string self = moduleFileOf(reinterpret_cast<const void*>(&defaultSystemRegistryPath));
    if (self.empty()) return {};
    return (fs::path(self).parent_path() / "vantrel" / "registry").string();
}

fs::path folderOf(const std::string& registryFile) {
    return fs::path(absolutePath(registryFile)).parent_path();
}

template <class F>
F symbol(void* handle, const char* name) {
    return reinterpret_cast<F>(dlsym(handle, name));
}

void* openLibrary(const std::string& path) {
    void* h = dlopen(path.c_str(), RTLD_NOW | RTLD_GLOBAL);
    if (!h) {
        const char* why = dlerror();
        raise(err::FileNotFound, why ? why : ("cannot load " + path));
    }
    return h;
}

void callServerEntry(const std::string& path, const char* entry) {
    void* h = openLibrary(path);
    auto fn = symbol<AxDllRegisterServer>(h, entry);
    int32_t result = fn ? fn() : hr::Fail;
    dlclose(h);
    if (!fn) raise(err::InvalidProcedureCall, path + " does not export " + entry);
    if (result != hr::Ok) raise(err::InvalidProcedureCall, std::string(entry) + " failed in " + path);
}

}  // namespace

// --- registry file -----------------------------------------------------------------------------

Registry Registry::open(const std::string& path) {
    Registry r;
    r.path_ = path;
    std::ifstream in(path);
    if (!in) return r;
    const fs::path folder = folderOf(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> fields;
        std::istringstream ls(line);
        std::string f;
        while (std::getline(ls, f, '\t')) fields.push_back(f);
        if (fields.size() != 4 || fields[3].empty()) continue;  // a damaged line names nothing usable
        std::string library = fields[3];
        if (fs::path(library).is_relative()) library = absolutePath((folder / library).string());
        r.entries_.push_back(RegistryEntry{fields[0], fields[1], library, fields[2] == "control"});
    }
    return r;
}

std::optional<RegistryEntry> Registry::findProgId(std::string_view progId) const {
    for (const auto& e : entries_)
        if (sameName(e.progId, progId)) return e;
    return std::nullopt;
}

std::optional<RegistryEntry> Registry::findClsid(std::string_view clsid) const {
    for (const auto& e : entries_)
        if (sameName(e.clsid, clsid)) return e;
    return std::nullopt;
}

void Registry::add(RegistryEntry entry) {
    removeProgId(entry.progId);
    entries_.push_back(std::move(entry));
}

bool Registry::removeProgId(std::string_view progId) {
    return std::erase_if(entries_, [&](const RegistryEntry& e) { return sameName(e.progId, progId); }) != 0;
}

size_t Registry::removeLibrary(std::string_view library) {
    return std::erase_if(entries_, [&](const RegistryEntry& e) { return e.library == library; });
}

void Registry::save(bool relative) const {
    fs::path target(path_);
    std::error_code ec;
    if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);
    const fs::path folder = relative ? folderOf(path_) : fs::path();
    const std::string temp = path_ + ".tmp";
    {
        std::ofstream out(temp, std::ios::trunc);
        if (!out) raise(err::PathFileAccessError, "cannot write " + temp);
        out << "# progid\tclsid\tkind\tlibrary\n";
        for (const auto& e : entries_) {
            std::string library = e.library;
            if (relative && fs::path(library).is_absolute()) {
                const fs::path rel = fs::path(library).lexically_relative(folder);
                if (!rel.empty()) library = rel.string();
            }
            out << e.progId << '\t' << e.clsid << '\t' << (e.isControl ? "control" : "object") << '\t'
                << library << '\n';
        }
        if (!out) raise(err::PathFileAccessError, "cannot write " + temp);
    }
    fs::rename(temp, target, ec);
    if (ec) raise(err::PathFileAccessError, "cannot replace " + path_);
}

void setRegistryPath(std::string path) {
    std::lock_guard lock(state().mutex);
    state().registryPath = std::move(path);
}

std::string registryPath() {
    std::lock_guard lock(state().mutex);
    if (state().registryPath.empty()) state().registryPath = defaultRegistryPath();
    return state().registryPath;
}

Registry openRegistry() { return Registry::open(registryPath()); }

void setSystemRegistryPath(std::string path) {
    std::lock_guard lock(state().mutex);
    state().systemRegistryPath = std::move(path);
}

std::string systemRegistryPath() {
    std::lock_guard lock(state().mutex);
    if (!state().systemRegistryPath) state().systemRegistryPath = defaultSystemRegistryPath();
    return *state().systemRegistryPath;
}

std::vector<Registry> searchedRegistries() {
    std::vector<Registry> out{openRegistry()};
    const std::string system = systemRegistryPath();
    if (!system.empty() && absolutePath(system) != absolutePath(out.front().path()))
        out.push_back(Registry::open(system));
    return out;
}

void registerLibrary(const std::string& path) { callServerEntry(absolutePath(path), "DllRegisterServer"); }

void unregisterLibrary(const std::string& path) {
    callServerEntry(absolutePath(path), "DllUnregisterServer");
}

std::vector<std::string> registerLibrariesIn(const std::string& folder, std::vector<std::string>* skipped) {
    std::vector<std::string> found;
    std::error_code ec;
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(folder, ec))
        if (e.is_regular_file() && e.path().extension() == ".so") files.push_back(e.path());
    std::sort(files.begin(), files.end());
    for (const auto& f : files) {
        const std::string path = absolutePath(f.string());
        // Kept loaded: a library's start-up may have handed its code to others (a default factory).
        void* h = dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL | RTLD_NODELETE);
        if (!h) {
            const char* why = dlerror();
            if (skipped) skipped->push_back(why ? why : path);
            continue;
        }
        // The entry point must be the library's own, not one of a library it depends on.
        void* entry = dlsym(h, "DllRegisterServer");
        const bool component = entry && moduleFileOf(entry) == path;
        dlclose(h);
        if (!component) continue;
        try {
            registerLibrary(path);
            found.push_back(path);
        } catch (const AutomationError& e) {
            if (skipped) skipped->push_back(path + ": " + e.description());
        }
    }
    return found;
}

std::string useBuildRegistry(std::string libFolder) {
    if (libFolder.empty())
        if (const char* env = std::getenv("VN_LIB_DIR")) libFolder = env;
    static const std::string& path = []() -> const std::string& {
        static std::string p =
            (fs::temp_directory_path() / ("ax-registry-" + std::to_string(getpid()))).string();
        std::atexit([] {
            std::error_code ec;
            fs::remove(p, ec);
        });
        return p;
    }();
    setRegistryPath(path);
    if (!libFolder.empty()) registerLibrariesIn(libFolder);
    return path;
}

// --- creation ----------------------------------------------------------------------------------

namespace {

// The library of an entry, loaded once and held; nullptr (with the reason) when it cannot be loaded.
void* loadedLibrary(const std::string& library, std::string& why) {
    {
        std::lock_guard lock(state().mutex);
        auto it = state().loaded.find(library);
        if (it != state().loaded.end()) return it->second;
    }
    void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_GLOBAL);
    if (!handle) {
        const char* reason = dlerror();
        why = reason ? reason : "cannot load " + library;
        return nullptr;
    }
    std::lock_guard lock(state().mutex);
    auto [it, inserted] = state().loaded.emplace(library, handle);
    if (!inserted) dlclose(handle), handle = it->second;  // loaded meanwhile: keep one reference
    return handle;
}

}  // namespace

std::shared_ptr<Object> CreateObject(std::string_view progId) {
    const bool byClsid = !progId.empty() && progId.front() == '{';
    std::optional<RegistryEntry> entry;
    void* handle = nullptr;
    std::string firstFailure;
    for (const Registry& reg : searchedRegistries()) {
        auto found = byClsid ? reg.findClsid(progId) : reg.findProgId(progId);
        if (!found) continue;
        std::string why;
        handle = loadedLibrary(found->library, why);
        if (handle) {
            entry = std::move(found);
            break;
        }
        if (firstFailure.empty()) firstFailure = why;
    }
    if (!entry)
        raise(err::CannotCreateObject,
              firstFailure.empty() ? "no class registered as " + std::string(progId) : firstFailure);

    auto getClassObject = symbol<AxDllGetClassObject>(handle, "DllGetClassObject");
    ClassFactory* factory = nullptr;
    if (!getClassObject || getClassObject(entry->clsid.c_str(), &factory) != hr::Ok || !factory)
        raise(err::CannotCreateObject, entry->library + " has no class object for " + entry->clsid);
    std::shared_ptr<Object> object;
    try {
        object = factory->CreateInstance();
    } catch (const AutomationError& e) {
        raise(err::CannotCreateObject, e.description());
    }
    if (!object) raise(err::CannotCreateObject);
    return object;
}

size_t freeUnusedLibraries() {
    std::lock_guard lock(state().mutex);
    size_t freed = 0;
    for (auto it = state().loaded.begin(); it != state().loaded.end();) {
        auto canUnload = symbol<AxDllCanUnloadNow>(it->second, "DllCanUnloadNow");
        if (canUnload && canUnload() == hr::Ok) {
            dlclose(it->second);
            it = state().loaded.erase(it);
            ++freed;
        } else {
            ++it;
        }
    }
    return freed;
}

std::vector<std::string> loadedLibraries() {
    std::lock_guard lock(state().mutex);
    std::vector<std::string> out;
    for (const auto& [path, handle] : state().loaded) out.push_back(path);
    return out;
}

std::string moduleFileOf(const void* address) {
    Dl_info info{};
    if (!dladdr(address, &info) || !info.dli_fname) return {};
    return absolutePath(info.dli_fname);
}

// --- the standard entry points -----------------------------------------------------------------

class ComponentLibrary::Factory : public ClassFactory {
  public:
    Factory(ComponentLibrary& lib, const ClassInfo& info) : lib_(lib), info_(info) {}
    std::shared_ptr<Object> CreateInstance() override { return lib_.create(info_); }
    void LockServer(bool lock) override {
        std::lock_guard guard(lib_.mutex_);
        lib_.locks_ += lock ? 1 : (lib_.locks_ > 0 ? -1 : 0);
    }
    const ClassInfo& info() const { return info_; }

  private:
    ComponentLibrary& lib_;
    const ClassInfo& info_;
};

ComponentLibrary::ComponentLibrary(std::vector<ClassInfo> classes) : classes_(std::move(classes)) {
    for (const auto& c : classes_) factories_.push_back(std::make_unique<Factory>(*this, c));
}

ComponentLibrary::~ComponentLibrary() = default;

int32_t ComponentLibrary::registerServer(const void* anchor) const {
    const std::string file = moduleFileOf(anchor);
    if (file.empty()) return hr::RegistrationFailed;
    try {
        Registry reg = openRegistry();
        for (const auto& c : classes_) reg.add(RegistryEntry{c.progId, c.clsid, file, c.isControl});
        reg.save();
    } catch (const AutomationError&) {
        return hr::RegistrationFailed;
    }
    return hr::Ok;
}

int32_t ComponentLibrary::unregisterServer(const void* anchor) const {
    const std::string file = moduleFileOf(anchor);
    try {
        Registry reg = openRegistry();
        // Only entries that still point at this file: another copy may have registered since.
        for (const auto& c : classes_) {
            auto e = reg.findProgId(c.progId);
            if (e && e->library == file) reg.removeProgId(c.progId);
        }
        reg.save();
    } catch (const AutomationError&) {
        return hr::RegistrationFailed;
    }
    return hr::Ok;
}

int32_t ComponentLibrary::getClassObject(const char* clsid, ClassFactory** factory) {
    if (!factory) return hr::Fail;
    *factory = nullptr;
    for (auto& f : factories_) {
        if (clsid && sameName(f->info().clsid, clsid)) {
            *factory = f.get();
            return hr::Ok;
        }
    }
    return hr::ClassNotAvailable;
}

int32_t ComponentLibrary::canUnloadNow() const {
    return liveObjects() == 0 && locks_ == 0 ? hr::Ok : hr::False;
}

size_t ComponentLibrary::liveObjects() const {
    std::lock_guard lock(mutex_);
    std::erase_if(live_, [](const std::weak_ptr<Object>& w) { return w.expired(); });
    return live_.size();
}

std::shared_ptr<Object> ComponentLibrary::create(const ClassInfo& info) {
    auto object = info.create ? info.create() : nullptr;
    if (object) {
        std::lock_guard lock(mutex_);
        std::erase_if(live_, [](const std::weak_ptr<Object>& w) { return w.expired(); });
        live_.push_back(object);
    }
    return object;
}

}  // namespace ax
