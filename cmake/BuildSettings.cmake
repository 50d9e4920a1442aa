# The build settings every target of ours shares, as one INTERFACE target: the warnings, Qt's
# strictness about implicit conversions, and the sanitizer or fuzzer instrumentation of this
# build. newsbell_base links it PUBLIC, so every library, program, test, benchmark and fuzz
# target gets it through the libraries it links; newsbell_check_build_settings() fails the
# configuration for a target that does not. Third-party headers come in as system headers
# (imported targets), so their warnings stay out.
option(NEWSBELL_WERROR "Treat warnings as errors (the test command's builds do)" OFF)
option(NEWSBELL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(NEWSBELL_SANITIZE_THREAD "Build with ThreadSanitizer (clang), for the code with threads" OFF)
option(NEWSBELL_FUZZ "Build the libFuzzer targets (clang only)" OFF)

add_library(newsbell_build_settings INTERFACE)
target_compile_options(newsbell_build_settings INTERFACE
    -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Wold-style-cast
    $<$<BOOL:${NEWSBELL_WERROR}>:-Werror>)
# Every text of the program that becomes a QString says its encoding, and a connect never narrows
# an argument. Tests compare with plain literals throughout, so their own code is spared the first
# rule (newsbell_mark_test_code); the program's headers they include still meet it.
target_compile_definitions(newsbell_build_settings INTERFACE
    $<$<NOT:$<BOOL:$<TARGET_PROPERTY:NEWSBELL_TEST_CODE>>>:QT_NO_CAST_FROM_ASCII>
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)

if(NEWSBELL_SANITIZE)
    target_compile_options(newsbell_build_settings INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(newsbell_build_settings INTERFACE -fsanitize=address,undefined)
endif()
if(NEWSBELL_SANITIZE_THREAD)
    target_compile_options(newsbell_build_settings INTERFACE
        -fsanitize=thread -fno-omit-frame-pointer)
    target_link_options(newsbell_build_settings INTERFACE -fsanitize=thread)
endif()
if(NEWSBELL_FUZZ)
    # Coverage counters in every library, so the fuzzers see into the code they drive.
    target_compile_options(newsbell_build_settings INTERFACE -fsanitize=fuzzer-no-link)
endif()

# Whether TARGET links newsbell_build_settings, directly or through the libraries it links.
function(newsbell_links_build_settings target out)
    set(seen)
    set(pending ${target})
    list(LENGTH pending remaining)
    while(remaining GREATER 0)
        list(POP_FRONT pending current)
        if(current STREQUAL "newsbell_build_settings")
            set(${out} TRUE PARENT_SCOPE)
            return()
        endif()
        if(TARGET ${current} AND NOT current IN_LIST seen)
            list(APPEND seen ${current})
            get_target_property(links ${current} LINK_LIBRARIES)
            get_target_property(interface_links ${current} INTERFACE_LINK_LIBRARIES)
            # A static library's PRIVATE links show as $<LINK_ONLY:name>.
            string(REGEX REPLACE "\\$<LINK_ONLY:([^>]*)>" "\\1" links "${links};${interface_links}")
            list(APPEND pending ${links})
        endif()
        list(LENGTH pending remaining)
    endwhile()
    set(${out} FALSE PARENT_SCOPE)
endfunction()

# Fails the configuration when a target built from our sources misses the shared settings.
function(newsbell_check_build_settings directory)
    get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        # Qt's resource libraries hold only the code rcc generates.
        get_target_property(qt_resource ${target} _qt_resource_name)
        if(type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|OBJECT_LIBRARY)$"
           AND NOT qt_resource)
            newsbell_links_build_settings(${target} links)
            if(NOT links)
                message(FATAL_ERROR "${target} does not link newsbell_build_settings")
            endif()
        endif()
    endforeach()
    get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
    foreach(subdirectory IN LISTS subdirectories)
        newsbell_check_build_settings(${subdirectory})
    endforeach()
endfunction()

# Marks every target in directory and below it as test code.
function(newsbell_mark_test_code directory)
    get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
        set_property(TARGET ${target} PROPERTY NEWSBELL_TEST_CODE ON)
    endforeach()
    get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
    foreach(subdirectory IN LISTS subdirectories)
        newsbell_mark_test_code(${subdirectory})
    endforeach()
endfunction()
