# DOCCAM_SANITIZE=address builds everything with AddressSanitizer and UndefinedBehaviorSanitizer,
# DOCCAM_SANITIZE=thread with ThreadSanitizer. Applied to every target of the tree.
if(DOCCAM_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(DOCCAM_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT DOCCAM_SANITIZE STREQUAL "")
  message(FATAL_ERROR "DOCCAM_SANITIZE must be empty, 'address' or 'thread'")
endif()
