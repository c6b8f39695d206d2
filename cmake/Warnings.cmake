# One warning set for every target of the project, clean with g++ and clang.
add_library(zelmora_warnings INTERFACE)
target_compile_options(zelmora_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
  -Wcast-align -Woverloaded-virtual -Wnull-dereference -Wimplicit-fallthrough
  -Wformat=2
  # Options structs are filled with designated initializers that name only
  # what a call gives; the members left out keep their documented defaults.
  -Wno-missing-field-initializers)
