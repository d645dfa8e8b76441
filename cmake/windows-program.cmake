# The Windows program: the core with the native Win32 front-end (src/win32/), no Qt. One self-contained
# varnikit.exe: libstdc++, libgcc and winpthread linked in, only system DLLs left to load.
enable_language(RC)

file(GLOB WIN32_SOURCES CONFIGURE_DEPENDS src/win32/*.cpp)
add_library(varnikit_win32 STATIC ${WIN32_SOURCES})
# winmm: PlaySound, the preview pane's sounds.
target_link_libraries(varnikit_win32 PUBLIC varnikit_core comctl32 ole32 uuid shell32 user32 gdi32 winmm)

# scripts/test-windows configures this build without a build type, so the test programs compile and link
# fast; what the program itself is made of is optimised all the same.
if(NOT CMAKE_BUILD_TYPE)
  foreach(library varnikit_sys varnikit_core varnikit_win32)
    target_compile_options(${library} PRIVATE -O2)
  endforeach()
endif()

# The icon from the PNGs of data/icons (icoutils); the largest stays PNG inside the .ico.
find_program(ICOTOOL icotool REQUIRED)
set(icon_sizes 16 32 48 64 128)
set(icon_pngs)
foreach(size ${icon_sizes})
  list(APPEND icon_pngs ${PROJECT_SOURCE_DIR}/data/icons/${size}x${size}/varnikit.png)
endforeach()
set(icon_raw ${PROJECT_SOURCE_DIR}/data/icons/256x256/varnikit.png)
set(VARNIKIT_ICON ${CMAKE_BINARY_DIR}/resources/varnikit.ico)
add_custom_command(OUTPUT ${VARNIKIT_ICON}
                   COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/resources
                   COMMAND ${ICOTOOL} -c -o ${VARNIKIT_ICON} ${icon_pngs} -r ${icon_raw}
                   DEPENDS ${icon_pngs} ${icon_raw}
                   COMMENT "Making the program's icon")
add_custom_target(varnikit_icon DEPENDS ${VARNIKIT_ICON})

set(VARNIKIT_MANIFEST ${PROJECT_SOURCE_DIR}/data/windows/varnikit.manifest)
# A resource script per program: icon, manifest and version information naming it.
function(varnikit_resources target description)
  set(VARNIKIT_DESCRIPTION ${description})
  set(VARNIKIT_INTERNAL_NAME ${target})
  set(rc ${CMAKE_BINARY_DIR}/resources/${target}.rc)
  configure_file(${PROJECT_SOURCE_DIR}/data/windows/varnikit.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${VARNIKIT_ICON};${VARNIKIT_MANIFEST}")
  add_dependencies(${target} varnikit_icon)
endfunction()

add_executable(varnikit WIN32 src/winmain.cpp)
target_link_libraries(varnikit PRIVATE varnikit_win32)
target_link_options(varnikit PRIVATE -municode -static)
varnikit_resources(varnikit "Varnikit: replacement game files installed and restored")

# The Win32 grid's first showing, measured by hand under Wine (never a test):
#   cmake --build build-win --target win32_grid_bench && wine build-win/bench/win32_grid_bench.exe
add_executable(win32_grid_bench EXCLUDE_FROM_ALL bench/win32/grid_show_bench.cpp)
target_link_libraries(win32_grid_bench PRIVATE varnikit_win32)
target_link_options(win32_grid_bench PRIVATE -static)
set_target_properties(win32_grid_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
varnikit_resources(win32_grid_bench "Varnikit grid benchmark")
