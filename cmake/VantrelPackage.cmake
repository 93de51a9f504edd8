# `cmake --build build --target package` makes two Debian packages: vantrel (the libraries, the
# registration tool and the registry that makes the controls creatable by name) and vantrel-dev
# (headers, the CMake package, pkg-config files and the guide).
set(CPACK_PACKAGE_NAME vantrel)
set(CPACK_PACKAGE_VENDOR "Vantrel project")
set(CPACK_PACKAGE_CONTACT "Vantrel project <vantrel@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_COMPONENTS_ALL runtime dev)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_STRIP_FILES ON)  # the debugging information stays in the build tree
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME vantrel)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_GENERATE_SHLIBS ON)  # shlibs file and the ldconfig trigger
set(CPACK_DEBIAN_DEV_PACKAGE_NAME vantrel-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
# The headers include pugixml's; the Qt widgets' CMake targets need Qt's development files only
# when a program asks for them, so those are suggested.
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "vantrel (= ${PROJECT_VERSION}), libpugixml-dev")
set(CPACK_DEBIAN_DEV_PACKAGE_SUGGESTS "qt6-base-dev, cmake, pkgconf")
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION "Vantrel grid and Zel spin controls: libraries and registry")
set(CPACK_COMPONENT_DEV_DESCRIPTION "Vantrel grid and Zel spin controls: headers, CMake package, guide")

include(CPack)
