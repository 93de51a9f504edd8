# What `cmake --install` puts under the prefix: the libraries (runtime component), the registration
# tool and the registry that makes the two controls creatable by name, and for developers (dev
# component) the headers under include/vantrel in their source layout, the CMake package and the
# pkg-config files.
include(CMakePackageConfigHelpers)

set(VN_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Vantrel)
set(VN_INCLUDE_DIR ${CMAKE_INSTALL_INCLUDEDIR}/vantrel)

install(TARGETS ${VN_LIBRARIES} EXPORT VantrelTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT dev)
install(EXPORT VantrelTargets NAMESPACE Vantrel:: DESTINATION ${VN_CMAKE_DIR} COMPONENT dev)
if(VN_QT_LIBRARIES)
  # Apart, so a program without Qt finds the package without Qt's development files.
  install(TARGETS ${VN_QT_LIBRARIES} EXPORT VantrelQtTargets
          LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT dev)
  install(EXPORT VantrelQtTargets NAMESPACE Vantrel:: DESTINATION ${VN_CMAKE_DIR} COMPONENT dev)
endif()
install(TARGETS vantrel-regsvr RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)

# Headers: the whole platform layer (the host's side of every control), and the public headers of the
# two controls and the Qt widgets; the controls' inner headers stay in the source tree.
foreach(dir automation runtime host controls flexgrid headless xml recordset)
  install(DIRECTORY platform/${dir} DESTINATION ${VN_INCLUDE_DIR}/platform COMPONENT dev
          FILES_MATCHING PATTERN "*.h")
endforeach()
install(FILES grid/frame/vantrel.h grid/frame/vantrel_events.h DESTINATION ${VN_INCLUDE_DIR}/grid/frame
        COMPONENT dev)
install(FILES grid/editing/column_settings.h DESTINATION ${VN_INCLUDE_DIR}/grid/editing COMPONENT dev)
install(FILES grid/exchange/exchange.h DESTINATION ${VN_INCLUDE_DIR}/grid/exchange COMPONENT dev)
install(FILES spin/zel.h spin/zel_events.h DESTINATION ${VN_INCLUDE_DIR}/spin COMPONENT dev)
if(VN_QT_LIBRARIES)
  install(FILES platform/qt/qt_host.h platform/qt/vantrel_widget.h platform/qt/zel_widget.h
          DESTINATION ${VN_INCLUDE_DIR}/platform/qt COMPONENT dev)
endif()

# The registry the package ships: the installed libraries register themselves into it, with paths
# relative to its folder, so the runtime (which looks for it beside its own file) finds the controls
# under whatever prefix or staging folder the files end up in.
install(CODE "
  set(vn_libdir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}\")
  file(REMOVE \"\${vn_libdir}/vantrel/registry\")
  execute_process(
    COMMAND \"$<TARGET_FILE:vantrel-regsvr>\" /s --relative --registry \"\${vn_libdir}/vantrel/registry\"
            \"\${vn_libdir}/$<TARGET_FILE_NAME:vantrel>\" \"\${vn_libdir}/$<TARGET_FILE_NAME:zel>\"
    RESULT_VARIABLE vn_result)
  if(NOT vn_result EQUAL 0)
    message(FATAL_ERROR \"vantrel-regsvr could not register the installed controls (\${vn_result})\")
  endif()
  message(STATUS \"Registered Vantrel.Vantrel and ZelCtrl.Zel in \${vn_libdir}/vantrel/registry\")
" COMPONENT runtime)

configure_package_config_file(cmake/VantrelConfig.cmake.in ${PROJECT_BINARY_DIR}/VantrelConfig.cmake
                              INSTALL_DESTINATION ${VN_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/VantrelConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/VantrelConfig.cmake ${PROJECT_BINARY_DIR}/VantrelConfigVersion.cmake
        DESTINATION ${VN_CMAKE_DIR} COMPONENT dev)

# pkg-config: vantrel for the headless host and data exchange, vantrel-qt for the widgets. The prefix
# is found from the file's own folder, so the files stay right under any install prefix.
file(RELATIVE_PATH VN_PC_TO_PREFIX ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" VN_PC_TO_PREFIX "${VN_PC_TO_PREFIX}")
set(VN_PC_LIBS "-lvantrel -lzel -lax_headless -lax_recordset -lax_xml -lax_flexgrid -lax_controls -lax_host -lax_runtime -lax_automation")
configure_file(cmake/vantrel.pc.in ${PROJECT_BINARY_DIR}/vantrel.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/vantrel.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT dev)
if(VN_QT_LIBRARIES)
  configure_file(cmake/vantrel-qt.pc.in ${PROJECT_BINARY_DIR}/vantrel-qt.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/vantrel-qt.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT dev)
endif()

install(FILES README.md docs/user-guide.md docs/architecture.md DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/vantrel-dev
        COMPONENT dev)
