# The warning set every target of the project builds clean under.
add_library(veyrun_warnings INTERFACE)
target_compile_options(veyrun_warnings INTERFACE
  -Wall                 # the common, low-noise checks
  -Wextra               # unused parameters, signed/unsigned comparisons, missing initialisers
  -Wpedantic            # stay within standard C++17, so the code ports back to other compilers
  -Wshadow              # a local hiding a member is an easy bug with m-prefixed fields
  -Wnon-virtual-dtor    # every polymorphic base here (SubSystem, GameState) is deleted through its base
  -Woverloaded-virtual  # an override with a wrong signature silently hides the base operation
  -Wcast-align          # vertex records are reinterpreted as float arrays for upload
  -Wnull-dereference    # pointer fields (bars, meshes) are checked before use
  -Wformat=2            # printf-style formatting of numbers in file text
)
if(VEYRUN_WARNINGS_AS_ERRORS)
  target_compile_options(veyrun_warnings INTERFACE -Werror)
endif()
