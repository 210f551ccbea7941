# cb_own_libmikmod(INSTALL_DIR): libmikmod as tools/libmikmod.sh built it for a CPU that has no
# system libmikmod here (the console's, WebAssembly), as the target Copperbramble::libmikmod, and
# installed with the package so that its targets find it there too.
function(cb_own_libmikmod dir)
  add_library(Copperbramble::libmikmod STATIC IMPORTED GLOBAL)
  set_target_properties(Copperbramble::libmikmod PROPERTIES
    IMPORTED_LOCATION ${dir}/lib/libmikmod.a
    INTERFACE_INCLUDE_DIRECTORIES ${dir}/include
    INTERFACE_COMPILE_DEFINITIONS MIKMOD_STATIC)
  install(FILES ${dir}/lib/libmikmod.a DESTINATION ${CMAKE_INSTALL_LIBDIR}/copperbramble)
  install(FILES ${dir}/include/mikmod.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/copperbramble/mikmod)
  set(CB_MIKMOD Copperbramble::libmikmod PARENT_SCOPE)
  set(CB_PACKAGE_OWN_MIKMOD ON PARENT_SCOPE)
endfunction()
