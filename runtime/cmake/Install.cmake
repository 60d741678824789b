# Install rules of the runtime: the library, the headers a game includes (in include/veyrun,
# so that `#include "PathResource.h"` reads as in the tree), the CMake package
# VeyrunPathRuntime with the target Veyrun::PathRuntime, and veyrun-path-runtime.pc.
include(CMakePackageConfigHelpers)

set(package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/VeyrunPathRuntime)

install(TARGETS VeyrunPathRuntime EXPORT VeyrunPathRuntimeTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
# PathResource.h and what it includes.
install(FILES
  ${PROJECT_SOURCE_DIR}/PathResource.h ${PROJECT_SOURCE_DIR}/PathPoint.h ${PROJECT_SOURCE_DIR}/ArcLength.h
  ${PROJECT_SOURCE_DIR}/CurveMath.h ${PROJECT_SOURCE_DIR}/WalkIndex.h ${PROJECT_SOURCE_DIR}/SplineCurve.h
  ${PROJECT_SOURCE_DIR}/SplineWeights.h ${PROJECT_SOURCE_DIR}/CubicSegment.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/veyrun)

install(EXPORT VeyrunPathRuntimeTargets NAMESPACE Veyrun:: DESTINATION ${package_dir})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/VeyrunPathRuntimeConfig.cmake.in
  ${PROJECT_BINARY_DIR}/VeyrunPathRuntimeConfig.cmake INSTALL_DESTINATION ${package_dir})
# Until 1.0 a minor version may change the interface.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/VeyrunPathRuntimeConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/VeyrunPathRuntimeConfig.cmake
  ${PROJECT_BINARY_DIR}/VeyrunPathRuntimeConfigVersion.cmake DESTINATION ${package_dir})

# The .pc file finds its prefix from where it lies, so the install may move (--prefix, DESTDIR).
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
  set(pc_prefix "${CMAKE_INSTALL_PREFIX}")
  set(pc_libdir "${CMAKE_INSTALL_LIBDIR}")
else()
  file(RELATIVE_PATH up "/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/")
  string(REGEX REPLACE "/$" "" up "${up}")
  set(pc_prefix "\${pcfiledir}/${up}")
  set(pc_libdir "\${prefix}/${CMAKE_INSTALL_LIBDIR}")
endif()
if(IS_ABSOLUTE "${CMAKE_INSTALL_INCLUDEDIR}")
  set(pc_includedir "${CMAKE_INSTALL_INCLUDEDIR}")
else()
  set(pc_includedir "\${prefix}/${CMAKE_INSTALL_INCLUDEDIR}")
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/veyrun-path-runtime.pc.in
  ${PROJECT_BINARY_DIR}/veyrun-path-runtime.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/veyrun-path-runtime.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
