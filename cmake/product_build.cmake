# Tallykeep.exe is built apart from the tests: the win32-thread compilers give
# a runtime that imports only what old Windows versions have, but lack
# std::mutex, which GoogleTest needs. One CMake build has one compiler, so the
# Windows build configures this source tree a second time, as the product
# build in build/windows/product, and copies its Tallykeep.exe into bin/,
# where the end-to-end tests, the demo and the package take it from, with the
# game that ships beside it (bin/freecell/FREECELL.EXE). The target is named
# Tallykeep, as the executable would be.
include(ExternalProject)

set(TK_PRODUCT_DIR ${CMAKE_BINARY_DIR}/product)
set(TK_PRODUCT_EXE ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Tallykeep.exe)
set(TK_SHIPPED_GAME_EXE ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/freecell/FREECELL.EXE)

ExternalProject_Add(Tallykeep
  SOURCE_DIR ${CMAKE_SOURCE_DIR}
  BINARY_DIR ${TK_PRODUCT_DIR}
  STAMP_DIR ${TK_PRODUCT_DIR}/stamp
  TMP_DIR ${TK_PRODUCT_DIR}/tmp
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-i686-product.cmake
    -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
    -DTK_PRODUCT_BUILD=ON
  # The product build decides itself what is out of date.
  BUILD_ALWAYS ON
  INSTALL_COMMAND ${CMAKE_COMMAND} -E copy_if_different
    ${TK_PRODUCT_DIR}/bin/Tallykeep.exe ${TK_PRODUCT_EXE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/freecell
  COMMAND ${CMAKE_COMMAND} -E copy_if_different
    ${TK_PRODUCT_DIR}/bin/freecell/FREECELL.EXE ${TK_SHIPPED_GAME_EXE}
  BUILD_BYPRODUCTS ${TK_PRODUCT_EXE} ${TK_SHIPPED_GAME_EXE}
  USES_TERMINAL_BUILD OFF)
