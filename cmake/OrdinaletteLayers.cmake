# ordinalette_layer_includes(<target> <folder>)
# Gives a layer's target an include root that holds its own folder and nothing else, so that
# "folder/file.h" is found only by the targets that link the layer: an include that goes up or
# sideways (the engine including settings/, the platform including anything above it, the tree's
# core including its Qt front end) fails to compile, and the layer rules are exactly the links of
# the targets. folder may lie inside another layer's ("app/tree"): its root then holds that
# folder alone.
function(ordinalette_layer_includes target folder)
    string(REPLACE "/" "-" name ${folder})
    set(root ${PROJECT_BINARY_DIR}/include-roots/${name})
    get_filename_component(parent ${root}/${folder} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
    target_include_directories(${target} PUBLIC ${root})
endfunction()
