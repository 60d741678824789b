# Builds and runs the small game in game/ each way a game takes the runtime, from nothing:
# add_subdirectory of runtime/, add_subdirectory of the whole repository, find_package of a
# prefix that a runtime-only build of the repository installs, and pkg-config on that prefix.
# Run by ctest as `cmake -P` with SOURCE (the repository), WORK (an empty folder to build in),
# GENERATOR, CXX and LAUNCHER (the compiler and its launcher, may be empty).
cmake_minimum_required(VERSION 3.16)

set(game_source ${CMAKE_CURRENT_LIST_DIR}/game)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

# Runs a command; stops the whole test with its output when it fails.
function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${what} failed (${result}):\n${ARGN}\n${output}")
  endif()
  message(STATUS "${what}: ok")
endfunction()

set(compiler -G ${GENERATOR} -DCMAKE_CXX_COMPILER=${CXX})
if(LAUNCHER)
  list(APPEND compiler -DCMAKE_CXX_COMPILER_LAUNCHER=${LAUNCHER})
endif()

# Configures, builds and runs the game in its folder of path files.
function(build_game way)
  set(build ${WORK}/game-${way})
  run("configure the game (${way})" ${CMAKE_COMMAND} -S ${game_source} -B ${build} ${compiler}
    -DVEYRUN_TAKE=${way} -DVEYRUN_SOURCE=${SOURCE} ${ARGN})
  run("build the game (${way})" ${CMAKE_COMMAND} --build ${build} --parallel 2)
  run("run the game (${way})" ${CMAKE_COMMAND} -E chdir ${build}/paths ${build}/game)
endfunction()

build_game(runtime)
build_game(repository)

# The repository, runtime and resindex only, installed into a prefix of the test's own.
set(prefix ${WORK}/prefix)
run("configure the runtime-only build" ${CMAKE_COMMAND} -S ${SOURCE} -B ${WORK}/veyrun ${compiler}
  -DVEYRUN_RUNTIME_ONLY=ON)
run("build the runtime and resindex" ${CMAKE_COMMAND} --build ${WORK}/veyrun --parallel 2)
run("install them" ${CMAKE_COMMAND} --install ${WORK}/veyrun --prefix ${prefix})
foreach(file bin/resindex include/veyrun/PathResource.h)
  if(NOT EXISTS ${prefix}/${file})
    message(FATAL_ERROR "the install has no ${file}")
  endif()
endforeach()
build_game(package -DCMAKE_PREFIX_PATH=${prefix})

# pkg-config, on the index the package build wrote.
find_program(PKG_CONFIG NAMES pkg-config pkgconf)
if(NOT PKG_CONFIG)
  message(STATUS "pkg-config: skipped, no pkg-config on this machine")
  return()
endif()
file(GLOB pc_file ${prefix}/lib*/pkgconfig/veyrun-path-runtime.pc ${prefix}/lib/*/pkgconfig/veyrun-path-runtime.pc)
if(NOT pc_file)
  message(FATAL_ERROR "the install has no veyrun-path-runtime.pc")
endif()
get_filename_component(pc_folder ${pc_file} DIRECTORY)
execute_process(COMMAND ${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${pc_folder}
  ${PKG_CONFIG} --cflags --libs veyrun-path-runtime
  RESULT_VARIABLE result OUTPUT_VARIABLE flags ERROR_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "pkg-config veyrun-path-runtime failed:\n${flags}")
endif()
separate_arguments(flags UNIX_COMMAND "${flags}")
set(paths ${WORK}/game-package/paths)
run("build the game (pkg-config)" ${CXX} -std=c++17 -I${paths} ${game_source}/Game.cpp ${flags}
  -o ${WORK}/game-pkg-config)
run("run the game (pkg-config)" ${CMAKE_COMMAND} -E chdir ${paths} ${WORK}/game-pkg-config)
