# Settings shared by every Windows target: static, small, warnings on.
set(TWINSIFT_HOST_TOOLS "" CACHE PATH "Folder of the host build's tools (the payload packer)")
set(TWINSIFT_JPEG_ROOT "" CACHE PATH "mingw libjpeg (include/ and lib/) made by scripts/setup.sh")
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

add_compile_options(-Wall -Wextra -ffunction-sections -fdata-sections)
add_compile_definitions(WINVER=0x0601 _WIN32_WINNT=0x0601 WIN32_LEAN_AND_MEAN NOMINMAX STRICT)
add_link_options(-static -Wl,--gc-sections)
# Images as Windows expects of an installer: relocatable anywhere (with relocations kept), data never
# executable, and on 64 bits the full address range for placement.
add_link_options(-Wl,--dynamicbase -Wl,--nxcompat)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  add_link_options(-Wl,--high-entropy-va)
endif()
# Reproducible images: the same sources give the same bytes in any folder at any time (no time stamp in
# the headers, no build or source folder in the objects).
add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=/twinsift/ -ffile-prefix-map=${CMAKE_BINARY_DIR}/=/twinsift-build/)
add_link_options(-Wl,--no-insert-timestamp)
# Link-time optimisation of the programs (17 to 33 KB less each). One partition: the default partitioning
# crashes this mingw compiler. Objects stay fat so that the tests link them without it.
option(TWINSIFT_LTO "Optimise the programs at link time" ON)
if(TWINSIFT_LTO)
  add_compile_options(-flto -flto-partition=one -ffat-lto-objects)
  add_link_options(-fno-lto)  # the tests; each program turns it on again below
endif()
if(CMAKE_BUILD_TYPE STREQUAL "MinSizeRel")
  add_link_options(-s)
endif()

add_library(mingw_jpeg STATIC IMPORTED)
set_target_properties(mingw_jpeg PROPERTIES
  IMPORTED_LOCATION ${TWINSIFT_JPEG_ROOT}/lib/libjpeg.a
  INTERFACE_INCLUDE_DIRECTORIES ${TWINSIFT_JPEG_ROOT}/include)

set(TWINSIFT_RESOURCE_DIR ${CMAKE_SOURCE_DIR}/src/resources)

include(${CMAKE_CURRENT_LIST_DIR}/Payload.cmake)

# Linked whole into every program: the start-up restriction of the DLL search and our smaller stand-ins
# for parts of the C++ runtime (see src/runtime).
set(TWINSIFT_RUNTIME_DIR ${CMAKE_SOURCE_DIR}/src/runtime)
add_library(twinsift_runtime OBJECT
  ${TWINSIFT_RUNTIME_DIR}/DllSearch.cpp ${TWINSIFT_RUNTIME_DIR}/DllSearchAtStart.cpp
  ${TWINSIFT_RUNTIME_DIR}/LibraryErrors.cpp
  ${TWINSIFT_RUNTIME_DIR}/TerminateHandler.cpp ${TWINSIFT_RUNTIME_DIR}/LoadConfiguration.cpp)
target_include_directories(twinsift_runtime PUBLIC ${CMAKE_SOURCE_DIR}/src)
# The thread primitives the C++ runtime calls, in place of the threads library. Programs only: the test
# framework and the threads library's other parts would bring that library back beside them.
add_library(twinsift_thread_primitives OBJECT ${TWINSIFT_RUNTIME_DIR}/ThreadPrimitives.cpp)

# twinsift_windows_program(TARGET OUTPUT_NAME "File description" LEVEL SOURCES...)
# A GUI-subsystem executable with the version resource and a manifest asking for LEVEL
# (requireAdministrator or asInvoker).
function(twinsift_windows_program target output description level)
  set(gen ${CMAKE_CURRENT_BINARY_DIR}/${target}-meta)
  set(TWINSIFT_FILE_DESCRIPTION "${description}")
  set(TWINSIFT_ORIGINAL_NAME "${output}.exe")
  set(TWINSIFT_EXECUTION_LEVEL "${level}")
  set(TWINSIFT_MANIFEST_PATH "${gen}/program.manifest")
  configure_file(${TWINSIFT_RESOURCE_DIR}/program.manifest.in ${gen}/program.manifest @ONLY)
  configure_file(${TWINSIFT_RESOURCE_DIR}/version.rc.in ${gen}/version.rc @ONLY)
  add_executable(${target} WIN32 ${ARGN} ${gen}/version.rc)
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${output})
  target_link_libraries(${target} PRIVATE twinsift_runtime twinsift_thread_primitives)
  if(TWINSIFT_LTO)
    target_link_options(${target} PRIVATE -flto -flto-partition=one -Os)
  endif()
  # The map beside each program says where its bytes go (see scripts/size-report.sh).
  target_link_options(${target} PRIVATE -mwindows -Wl,-Map=$<TARGET_FILE_DIR:${target}>/${output}.map)
  twinsift_point_load_configuration(${target} $<TARGET_FILE_DIR:${target}>/${output}.map)
endfunction()

# twinsift_point_load_configuration(TARGET MAP)
# Our linker writes no load-configuration directory: after the link, point it at the runtime's structure
# (src/runtime/LoadConfiguration.cpp), found in the program's linker map MAP.
function(twinsift_point_load_configuration target map)
  # i686 C symbols carry a leading underscore, x86_64 ones none; the map lists both without it.
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(symbol __load_config_used)
  else()
    set(symbol _load_config_used)
  endif()
  target_link_options(${target} PRIVATE -Wl,--undefined=${symbol})
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${TWINSIFT_HOST_TOOLS}/loadconfig/loadconfig $<TARGET_FILE:${target}> ${map} _load_config_used
    VERBATIM)
endfunction()
