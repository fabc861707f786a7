# cmake --install: libkiv.so, the public headers under include/kiv/, kivtool, the kiv CMake package
# (find_package(kiv) gives kiv::kiv) and kiv.pc.
include(CMakePackageConfigHelpers)

set(KIV_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/kiv)
set(KIV_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/kiv)

target_include_directories(kiv INTERFACE $<INSTALL_INTERFACE:${KIV_INSTALL_INCLUDEDIR}>)
install(TARGETS kiv EXPORT kivTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES api/KivCreator.h api/KivNotice.h api/KivExport.h DESTINATION ${KIV_INSTALL_INCLUDEDIR})
if(TARGET kivtool)
  install(TARGETS kivtool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

install(EXPORT kivTargets NAMESPACE kiv:: DESTINATION ${KIV_INSTALL_CMAKEDIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/kivConfig.cmake.in
  ${PROJECT_BINARY_DIR}/kivConfig.cmake INSTALL_DESTINATION ${KIV_INSTALL_CMAKEDIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/kivConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/kivConfig.cmake ${PROJECT_BINARY_DIR}/kivConfigVersion.cmake
  DESTINATION ${KIV_INSTALL_CMAKEDIR})

configure_file(${PROJECT_SOURCE_DIR}/cmake/kiv.pc.in ${PROJECT_BINARY_DIR}/kiv.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/kiv.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
