# The warnings of every target, for the main tree and the fuzz tree alike.
# The code is clean of them and stays so: CI builds with KAVRO_WERROR=ON.
# It is off by default so that a newer compiler's new warnings do not stop
# a user's build.
option(KAVRO_WERROR "Treat compiler warnings as errors" OFF)
add_compile_options(-Wall -Wextra -Wshadow -Wold-style-cast)
if(KAVRO_WERROR)
  add_compile_options(-Werror)
endif()
