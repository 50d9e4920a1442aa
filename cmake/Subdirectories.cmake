# Adds every child folder that has a CMakeLists.txt, so each subsystem owns its own entry.
# Folders of the window side (browser host, window, the package) need the GUI build.
set(NEWSBELL_GUI_FOLDERS browser gui packaging)

function(newsbell_add_child_folders)
    file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
         ${CMAKE_CURRENT_SOURCE_DIR}/*)
    list(SORT children)
    foreach(child IN LISTS children)
        if(NOT NEWSBELL_GUI AND child IN_LIST NEWSBELL_GUI_FOLDERS)
            continue()
        endif()
        if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child}
           AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
            add_subdirectory(${child})
        endif()
    endforeach()
endfunction()
