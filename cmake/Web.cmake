# Browser build (emscripten). What the desktop takes from Debian's -dev
# packages comes here from the browser toolchain (GLFW on a canvas, OpenAL
# over WebAudio, GL 1.x emulated over WebGL), from the lodepng source kept in
# third_party/ and from Debian's stb_vorbis header. Included by the top-level
# CMakeLists.txt when the compiler is emscripten; defines vf_web_platform (the
# framework's dependencies) and vf_web_page() (a game built into a page).

# Debian's emcc runs JavaScript tools that find their modules (acorn) only
# through NODE_PATH.
set(VF_EMCC_ENV env NODE_PATH=/usr/share/nodejs)
set(CMAKE_C_COMPILER_LAUNCHER ${VF_EMCC_ENV})
set(CMAKE_CXX_COMPILER_LAUNCHER ${VF_EMCC_ENV})
set(CMAKE_CXX_LINKER_LAUNCHER ${VF_EMCC_ENV})

# ---- lodepng from the pinned source ----
set(VF_LODEPNG_TARBALL ${PROJECT_SOURCE_DIR}/third_party/lodepng_0.0~git20220618.b4ed2cd.orig.tar.gz)
set(VF_LODEPNG_SHA256 05f77ea901f980025056b80baca482fef6cbdf9551af0dd40b65013feecbca95)
file(SHA256 ${VF_LODEPNG_TARBALL} vf_lodepng_sum)
if(NOT vf_lodepng_sum STREQUAL VF_LODEPNG_SHA256)
  message(FATAL_ERROR "${VF_LODEPNG_TARBALL}: checksum ${vf_lodepng_sum}, expected ${VF_LODEPNG_SHA256}")
endif()
set(VF_LODEPNG_DIR ${PROJECT_BINARY_DIR}/third_party/lodepng)
if(NOT EXISTS ${VF_LODEPNG_DIR}/lodepng.cpp)
  file(ARCHIVE_EXTRACT INPUT ${VF_LODEPNG_TARBALL} DESTINATION ${PROJECT_BINARY_DIR}/third_party)
  file(GLOB vf_lodepng_unpacked ${PROJECT_BINARY_DIR}/third_party/lodepng-*)
  file(RENAME ${vf_lodepng_unpacked} ${VF_LODEPNG_DIR})
endif()
add_library(vf_lodepng STATIC ${VF_LODEPNG_DIR}/lodepng.cpp)
target_include_directories(vf_lodepng PUBLIC ${VF_LODEPNG_DIR})
set(VF_LODEPNG_INCLUDE_DIR ${VF_LODEPNG_DIR})

# ---- stb_vorbis from Debian's header ----
# A folder that holds only a link to /usr/include/stb: /usr/include itself
# must never reach a browser compile (its C library headers are the host's).
set(VF_STB_INCLUDE_DIR ${PROJECT_BINARY_DIR}/stb-include)
if(NOT EXISTS ${VF_STB_INCLUDE_DIR}/stb)
  file(MAKE_DIRECTORY ${VF_STB_INCLUDE_DIR})
  file(CREATE_LINK /usr/include/stb ${VF_STB_INCLUDE_DIR}/stb SYMBOLIC)
endif()

# The decoder itself, compiled once from the header (Debian ships no source).
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/stb_vorbis.c CONTENT "#include <stb/stb_vorbis.h>\n")
add_library(vf_stb_vorbis STATIC ${PROJECT_BINARY_DIR}/stb_vorbis.c)
target_include_directories(vf_stb_vorbis PRIVATE ${VF_STB_INCLUDE_DIR})
target_compile_options(vf_stb_vorbis PRIVATE -w)  # third-party code

# ---- The framework's dependencies in the browser ----
# GL_MAX_TEMP_BUFFER_SIZE: the emulation's vertex buffer must hold a whole
# batch (50,000 sprites); the default holds about 12,000.
add_library(vf_web_platform INTERFACE)
target_include_directories(vf_web_platform INTERFACE ${VF_STB_INCLUDE_DIR})
target_link_libraries(vf_web_platform INTERFACE vf_lodepng vf_stb_vorbis)
target_link_options(vf_web_platform INTERFACE
  --js-library ${PROJECT_SOURCE_DIR}/frame/web/platform.js -sUSE_GLFW=3 -sLEGACY_GL_EMULATION=1 -lopenal -sGL_MAX_TEMP_BUFFER_SIZE=16777216
  -sINITIAL_MEMORY=67108864 -sALLOW_MEMORY_GROWTH=1)

# vf_web_page(<target> SHELL <page.html> DATA <folder> MOUNT <path in the page>)
# Builds <target> as a page: <target's OUTPUT_NAME>.html from the shell page
# with its .js, .wasm and .data (the data folder, preloaded at MOUNT, which
# is relative to the working directory "/"). frame/web/page.js gives every
# page its start gate, log panel and file downloads.
function(vf_web_page target)
  cmake_parse_arguments(P "" "SHELL;DATA;MOUNT" "" ${ARGN})
  set(page_js ${PROJECT_SOURCE_DIR}/frame/web/page.js)
  set_target_properties(${target} PROPERTIES SUFFIX ".html")
  # MINIFY_HTML=0: emcc's HTML minifier fails after writing the files.
  target_link_options(${target} PRIVATE
    --shell-file ${P_SHELL} --pre-js ${page_js} --preload-file ${P_DATA}@/${P_MOUNT}
    -sMINIFY_HTML=0 -sEXPORTED_RUNTIME_METHODS=FS,addRunDependency,removeRunDependency)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${P_SHELL} ${page_js})
endfunction()
