# Compiler settings shared by every target of the project.

# Warnings are errors for the project's own code in every build; third-party headers come in
# as SYSTEM includes so they do not count.
function(vq_target_settings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  if(WIN32)
    # UNICODE: the code calls the W functions; NOMINMAX keeps std::min/std::max usable.
    target_compile_definitions(${target} PRIVATE UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN
                                                 _WIN32_WINNT=0x0601 WINVER=0x0601)
  endif()
endfunction()

if(WIN32)
  # One self-contained executable: no mingw runtime DLLs next to it; release builds carry no
  # symbol tables (the download users wait for stays small).
  add_link_options(-static -static-libgcc -static-libstdc++ $<$<CONFIG:Release,MinSizeRel>:-s>)
  # The size-optimised build also keeps each function and datum in a section of its own and the
  # compiler's intermediate code beside the machine code ("fat" objects), so the shipped program
  # can be optimised whole at link time (vq_shipped_program) while every other program links the
  # machine code as it is, without repeating that work for each test.
  add_compile_options($<$<CONFIG:MinSizeRel>:-ffunction-sections>
                      $<$<CONFIG:MinSizeRel>:-fdata-sections>
                      $<$<CONFIG:MinSizeRel>:-flto>
                      $<$<CONFIG:MinSizeRel>:-ffat-lto-objects>)
  add_link_options($<$<CONFIG:MinSizeRel>:-fno-lto>)
endif()

if(VQ_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

# vq_windows_program(target): a GUI executable whose entry point is wWinMain.
function(vq_windows_program target)
  vq_target_settings(${target})
  target_link_options(${target} PRIVATE -municode)
endfunction()

# vq_shipped_program(target): the program users download, as small as the build can make it
# without changing what it does. In the size-optimised build it is optimised whole at link time
# (in one partition: splitting it makes this compiler fail on the HTTP library's classes), its
# warnings there are errors as at compile time, and sections nothing refers to are dropped. Its
# link map (TARGET.map beside the program) says what each library adds (scripts/size-report.py).
function(vq_shipped_program target)
  if(WIN32)
    set(whole_program -flto -flto-partition=one -Wall -Wextra -Werror -Wl,--gc-sections
                      -Wl,-Map=$<TARGET_FILE_DIR:${target}>/${target}.map)
    target_link_options(${target} PRIVATE "$<$<CONFIG:MinSizeRel>:${whole_program}>")
  endif()
endfunction()
