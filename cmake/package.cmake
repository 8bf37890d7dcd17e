# The installed layout and the Debian package.
include(GNUInstallDirs)

set(package_dir ${CMAKE_SOURCE_DIR}/resources/package)
set(app_id com.zephranfpv.Zephran)
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/zephran)

install(TARGETS zephran zephran-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${package_dir}/copyright DESTINATION ${doc_dir})
# The program finds these from bin/ as ../share/zephran/Language (platform/app_paths.h).
install(FILES ${language_sources} DESTINATION ${CMAKE_INSTALL_DATADIR}/zephran/Language)
install(FILES ${package_dir}/${app_id}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${package_dir}/${app_id}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${package_dir}/${app_id}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Man pages and the changelog go in compressed, as Debian keeps them.
find_program(GZIP gzip REQUIRED)
set(compressed)
foreach(file zephran.1 zephran-sim.1 changelog)
    set(output ${CMAKE_BINARY_DIR}/compressed/${file}.gz)
    add_custom_command(OUTPUT ${output} DEPENDS ${package_dir}/${file}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/compressed
        COMMAND ${GZIP} -9 -n -c ${package_dir}/${file} > ${output})
    list(APPEND compressed ${output})
endforeach()
add_custom_target(compressed_docs ALL DEPENDS ${compressed})
list(POP_BACK compressed changelog)
install(FILES ${compressed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${changelog} DESTINATION ${doc_dir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zephran)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR ZephranFPV)
set(CPACK_PACKAGE_CONTACT "ZephranFPV <support@zephranfpv.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "configuration and ground tool for ZephranFPV flight-electronics boards")
# Debian wants the long description in lines of at most 80 characters.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Finds and connects to a ZephranFPV board (OSD and autopilot, AHRS, GPS/INS,\n"
    "helicopter and multicopter controllers, antenna tracker) over a serial port;\n"
    "reads, edits and writes its parameter sets, runs its calibrations, shows and\n"
    "records live telemetry and updates its firmware.\n"
    "Includes zephran-sim, a simulated board on a pseudo-terminal.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.zephranfpv.com/)
# The dependencies come from the libraries the programs link (Qt, GL, GLU, libc++...).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${package_dir}/postinst)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
