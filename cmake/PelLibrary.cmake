# pel_library(name sources...): a static library, or an interface library while a folder
# has no sources yet, so that the tree configures at every step.
function(pel_library name)
    if(ARGN)
        add_library(${name} STATIC ${ARGN})
        set_target_properties(${name} PROPERTIES LINKER_LANGUAGE CXX)
        set(pel_scope PUBLIC PARENT_SCOPE)
    else()
        add_library(${name} INTERFACE)
    endif()
endfunction()

# The keyword to use with target_* commands on a library made by pel_library.
function(pel_scope name out)
    get_target_property(type ${name} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
        set(${out} INTERFACE PARENT_SCOPE)
    else()
        set(${out} PUBLIC PARENT_SCOPE)
    endif()
endfunction()
