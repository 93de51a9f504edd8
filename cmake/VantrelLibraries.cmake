# What makes each library of the project usable from outside it: the include root as a usage
# requirement, a versioned file name, the install run path, and a namespaced name that is the same in
# a build tree (add_subdirectory, FetchContent) and in an installed package (find_package).

# Library target, then the name consumers use after "Vantrel::".
set(VN_LIBRARY_NAMES
  ax_automation automation
  ax_runtime runtime
  ax_host host
  ax_controls controls
  ax_flexgrid flexgrid
  ax_headless headless
  ax_xml xml
  ax_recordset recordset
  zel spin
  vantrel grid
  ax_qt qthost
  vantrel_qt qt)

# The libraries that exist in this build (Qt ones only when Qt was found), in dependency order.
set(VN_LIBRARIES "" CACHE INTERNAL "")
set(VN_QT_LIBRARIES "" CACHE INTERNAL "")

function(vn_finish_libraries)
  set(libraries "")
  set(qt_libraries "")
  set(names ${VN_LIBRARY_NAMES})
  while(names)
    list(POP_FRONT names target name)
    if(NOT TARGET ${target})
      continue()
    endif()
    target_include_directories(${target} PUBLIC $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>
                                                $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/vantrel>)
    # The headers use C++20 (concepts, std::erase, remove_cvref): consumers compile with it too.
    target_compile_features(${target} PUBLIC cxx_std_20)
    set_target_properties(${target} PROPERTIES
      VERSION ${PROJECT_VERSION}
      SOVERSION ${PROJECT_VERSION_MAJOR}
      EXPORT_NAME ${name}
      INSTALL_RPATH "${VN_LIBRARY_INSTALL_RPATH}")
    add_library(Vantrel::${name} ALIAS ${target})
    if(target MATCHES "_qt$")
      list(APPEND qt_libraries ${target})
    else()
      list(APPEND libraries ${target})
    endif()
  endwhile()

  # One name for a program that shows the grid on the headless host and exchanges data with it.
  add_library(vantrel_all INTERFACE)
  set_target_properties(vantrel_all PROPERTIES EXPORT_NAME Vantrel)
  target_link_libraries(vantrel_all INTERFACE vantrel zel ax_headless ax_xml ax_recordset)
  add_library(Vantrel::Vantrel ALIAS vantrel_all)
  list(APPEND libraries vantrel_all)

  set(VN_LIBRARIES ${libraries} CACHE INTERNAL "")
  set(VN_QT_LIBRARIES ${qt_libraries} CACHE INTERNAL "")
endfunction()
