# kivo_add_library(<name> [STATIC|SHARED]
#                  SOURCES <file>...
#                  [PUBLIC <dependency>...]
#                  [PRIVATE <dependency>...]
#                  [RUNTIME_DEPENDS <target>...]
#                  [VERSION_SCRIPT <file>])
#
# Declares one library of the component: its sources and its dependencies in
# one call. A dependency is PUBLIC only when the library's own headers need
# it; everything its sources alone use is PRIVATE. A static library still
# hands its private libraries to the link of whoever uses it, but not their
# headers, so a layer above cannot reach past it without saying so, and the
# link line shows the layers each library really sits on.
#
# RUNTIME_DEPENDS names targets the library opens at run time instead of
# linking them (the logging libraries, the language catalogs): they are built
# with it, so they are beside every program that needs them.
#
# Headers are included by their path below src/ ("platform/config/ConfigTree.h"),
# so src/ is the include root of every library. A static library passes it on
# to whoever links it. A shared library is reached through its exported entry
# points only: it keeps the root to itself, shows only the symbols it exports
# by name (the version script, when given, keeps every other symbol out of the
# dynamic table) and is built with hidden visibility.
function(kivo_add_library name)
    cmake_parse_arguments(PARSE_ARGV 1 ARG "STATIC;SHARED" "VERSION_SCRIPT"
                          "SOURCES;PUBLIC;PRIVATE;RUNTIME_DEPENDS")
    if(ARG_UNPARSED_ARGUMENTS)
        message(FATAL_ERROR "kivo_add_library(${name}): unknown arguments ${ARG_UNPARSED_ARGUMENTS}")
    endif()
    if(ARG_STATIC AND ARG_SHARED)
        message(FATAL_ERROR "kivo_add_library(${name}): STATIC or SHARED, not both")
    endif()
    if(NOT ARG_SOURCES)
        message(FATAL_ERROR "kivo_add_library(${name}): no SOURCES")
    endif()

    if(ARG_SHARED)
        add_library(${name} SHARED ${ARG_SOURCES})
        target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src)
        set_target_properties(${name} PROPERTIES
            CXX_VISIBILITY_PRESET hidden
            VISIBILITY_INLINES_HIDDEN ON)
    else()
        add_library(${name} STATIC ${ARG_SOURCES})
        target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    endif()
    target_link_libraries(${name} PUBLIC ${ARG_PUBLIC} PRIVATE ${ARG_PRIVATE})
    if(ARG_RUNTIME_DEPENDS)
        add_dependencies(${name} ${ARG_RUNTIME_DEPENDS})
    endif()
    if(ARG_VERSION_SCRIPT)
        if(NOT ARG_SHARED)
            message(FATAL_ERROR "kivo_add_library(${name}): a VERSION_SCRIPT is for a SHARED library")
        endif()
        get_filename_component(script ${ARG_VERSION_SCRIPT} ABSOLUTE)
        set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${script})
        target_link_options(${name} PRIVATE "LINKER:--version-script=${script}")
    endif()
endfunction()
