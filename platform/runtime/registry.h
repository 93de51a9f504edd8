// The component runtime: a registry file mapping programmatic identifiers to class identifiers to
// library files, the four entry points every component library exports, and creation by name.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/object.h"

namespace ax {

// Result codes of the library entry points.
namespace hr {
inline constexpr int32_t Ok = 0;
inline constexpr int32_t False = 1;  // "no" from DllCanUnloadNow
inline constexpr int32_t Fail = int32_t(0x80004005u);
inline constexpr int32_t ClassNotAvailable = int32_t(0x80040111u);  // no such class in this library
inline constexpr int32_t RegistrationFailed = int32_t(0x80040201u);
}  // namespace hr

// What DllGetClassObject hands out: makes new instances of one class.
class ClassFactory {
  public:
    virtual ~ClassFactory() = default;
    virtual std::shared_ptr<Object> CreateInstance() = 0;
    // Keeps the library loaded while locked, even with no object alive.
    virtual void LockServer(bool lock) = 0;
};

// One registered class.
struct RegistryEntry {
    std::string progId;
    std::string clsid;
    std::string library;  // absolute path of the library file
    bool isControl = false;
};

// The registry file: one line per class, "progid<TAB>clsid<TAB>control|object<TAB>library".
// Programmatic identifiers and class identifiers compare case-insensitively. A library path that is
// not absolute is relative to the registry file's folder, so a registry shipped with its libraries
// stays right wherever the two are unpacked together.
class Registry {
  public:
    // Reads the file at path; a missing file is an empty registry. Library paths come out absolute.
    static Registry open(const std::string& path);

    const std::string& path() const { return path_; }
    const std::vector<RegistryEntry>& entries() const { return entries_; }
    std::optional<RegistryEntry> findProgId(std::string_view progId) const;
    std::optional<RegistryEntry> findClsid(std::string_view clsid) const;

    // Adds or replaces the entry with the same programmatic identifier.
    void add(RegistryEntry entry);
    bool removeProgId(std::string_view progId);
    // Removes every class of one library; returns how many.
    size_t removeLibrary(std::string_view library);

    // Writes the file (atomically: a temporary file renamed over it). With relative, the libraries
    // are written relative to the file's folder.
    void save(bool relative = false) const;

  private:
    std::string path_;
    std::vector<RegistryEntry> entries_;
};

// The user's registry: the one registration writes and the one searched first. Defaults to
// $AX_REGISTRY, else ~/.ax/registry.
void setRegistryPath(std::string path);
std::string registryPath();
Registry openRegistry();

// The system registry, read only and searched after the user's: the one an installed package ships,
// "vantrel/registry" in the folder of this runtime library's own file. A host (or a test) may name
// another file, or none with an empty path.
void setSystemRegistryPath(std::string path);
std::string systemRegistryPath();
// The registries in search order: the user's, then the system one.
std::vector<Registry> searchedRegistries();

// What regsvr32 does: loads the library and calls its DllRegisterServer / DllUnregisterServer.
// Raises 53 when the library cannot be loaded, 5 when it lacks the entry point or it fails.
void registerLibrary(const std::string& path);
void unregisterLibrary(const std::string& path);
// Registers every component library (a shared library exporting DllRegisterServer itself) in a
// folder; returns their paths. Libraries that fail to load are skipped, each with its reason added
// to `skipped` when given.
std::vector<std::string> registerLibrariesIn(const std::string& folder,
                                             std::vector<std::string>* skipped = nullptr);

// For tests and demos: points the runtime at a fresh registry file of this process (removed at
// exit) and registers every component library in libFolder (default: $VN_LIB_DIR). Returns the
// registry path.
std::string useBuildRegistry(std::string libFolder = {});

// Creates an object by programmatic identifier (or by class identifier in braces): finds its
// library in the registries, loads it, asks its class object for an instance. An entry whose library
// cannot be loaded (a build that was deleted) gives way to the next registry's. Raises 429 when no
// entry gives an object.
std::shared_ptr<Object> CreateObject(std::string_view progId);

// Unloads every library that CreateObject loaded and that says it can be unloaded now.
// Returns how many were unloaded.
size_t freeUnusedLibraries();
// Paths of the libraries CreateObject currently holds loaded.
std::vector<std::string> loadedLibraries();

// One creatable class of a component library.
struct ClassInfo {
    std::string progId;
    std::string clsid;
    bool isControl = false;
    std::function<std::shared_ptr<Object>()> create;
};

// The standard implementation behind a library's four entry points. A library holds one, made by
// AX_COMPONENT_LIBRARY; it counts the objects it created that are still alive.
class ComponentLibrary {
  public:
    explicit ComponentLibrary(std::vector<ClassInfo> classes);
    ~ComponentLibrary();

    // `anchor` is the address of any symbol of the library, to find its own file.
    int32_t registerServer(const void* anchor) const;
    int32_t unregisterServer(const void* anchor) const;
    int32_t getClassObject(const char* clsid, ClassFactory** factory);
    int32_t canUnloadNow() const;

    const std::vector<ClassInfo>& classes() const { return classes_; }
    size_t liveObjects() const;

  private:
    class Factory;
    std::shared_ptr<Object> create(const ClassInfo& info);

    std::vector<ClassInfo> classes_;
    std::vector<std::unique_ptr<Factory>> factories_;
    mutable std::mutex mutex_;
    mutable std::vector<std::weak_ptr<Object>> live_;
    int locks_ = 0;
};

// The path of the library (or program) file holding the given address.
std::string moduleFileOf(const void* address);

}  // namespace ax

// Entry-point signatures, as the runtime looks them up with dlsym.
extern "C" {
typedef int32_t (*AxDllRegisterServer)();
typedef int32_t (*AxDllUnregisterServer)();
typedef int32_t (*AxDllGetClassObject)(const char* clsid, ax::ClassFactory** factory);
typedef int32_t (*AxDllCanUnloadNow)();
}

// Declares the classes of a component library once and defines its four exported entry points:
//   AX_COMPONENT_LIBRARY({"ZelCtrl.Zel", "{...}", true, [] { return std::make_shared<zel::Zel>(); }})
// The library's own file is found from a function of internal linkage: the address of an exported
// entry point may resolve to another component library's when both are loaded in one process.
#define AX_COMPONENT_LIBRARY(...)                                                     \
    namespace {                                                                       \
    ax::ComponentLibrary& axThisComponentLibrary() {                                  \
        static ax::ComponentLibrary library{std::vector<ax::ClassInfo>{__VA_ARGS__}}; \
        return library;                                                               \
    }                                                                                 \
    }                                                                                 \
    extern "C" __attribute__((visibility("default"))) int32_t DllRegisterServer() {   \
        return axThisComponentLibrary().registerServer(                               \
            reinterpret_cast<const void*>(&axThisComponentLibrary));                  \
    }                                                                                 \
    extern "C" __attribute__((visibility("default"))) int32_t DllUnregisterServer() { \
        return axThisComponentLibrary().unregisterServer(                             \
            reinterpret_cast<const void*>(&axThisComponentLibrary));                  \
    }                                                                                 \
    extern "C" __attribute__((visibility("default"))) int32_t DllGetClassObject(      \
        const char* clsid, ax::ClassFactory** factory) {                              \
        return axThisComponentLibrary().getClassObject(clsid, factory);               \
    }                                                                                 \
    extern "C" __attribute__((visibility("default"))) int32_t DllCanUnloadNow() {     \
        return axThisComponentLibrary().canUnloadNow();                               \
    }
