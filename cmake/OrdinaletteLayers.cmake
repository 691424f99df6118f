# ordinalette_layer_includes(<target> <folder> [EXCEPT <subfolders...>])
# Gives a layer's target an include root that holds its own folder and nothing else, so that
# "folder/file.h" is found only by the targets that link the layer: an include that goes up or
# sideways (the engine including settings/, the platform including anything above it, the tree's
# core including its Qt front end) fails to compile, and the layer rules are exactly the links of
# the targets. folder may lie inside another layer's ("app/tree"): its root then holds that
# folder alone. The subfolders named after EXCEPT are left out of the root (the parts of one
# platform, which are a target of their own).
function(ordinalette_layer_includes target folder)
    cmake_parse_arguments(L "" "" "EXCEPT" ${ARGN})
    string(REPLACE "/" "-" name ${folder})
    set(root ${PROJECT_BINARY_DIR}/include-roots/${name})
    get_filename_component(parent ${root}/${folder} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    if(NOT L_EXCEPT)
        file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
    else()
        # A folder of links, one per entry but the subfolders left out.
        if(IS_SYMLINK ${root}/${folder})
            file(REMOVE ${root}/${folder})
        endif()
        file(MAKE_DIRECTORY ${root}/${folder})
        file(GLOB entries LIST_DIRECTORIES true CONFIGURE_DEPENDS
             RELATIVE ${PROJECT_SOURCE_DIR}/${folder} ${PROJECT_SOURCE_DIR}/${folder}/*)
        foreach(entry ${entries})
            if(NOT entry IN_LIST L_EXCEPT)
                file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder}/${entry} ${root}/${folder}/${entry}
                     SYMBOLIC)
            endif()
        endforeach()
    endif()
    target_include_directories(${target} PUBLIC ${root})
endfunction()
