# Warnings every target of the project gets.
add_library(kv_warnings INTERFACE)
target_compile_options(kv_warnings INTERFACE -Wall -Wextra)
if(KV_WERROR)
  target_compile_options(kv_warnings INTERFACE -Werror)
endif()
