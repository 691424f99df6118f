# ordinalette_layer_includes(<target> <folder>)
# Gives a layer's target an include root that holds its own folder and nothing else, so that
# "folder/file.h" is found only by the targets that link the layer: an include that goes up or
# sideways (the engine including settings/, the platform including anything above it) fails
# to compile, and the layer rules are exactly the links of the targets.
function(ordinalette_layer_includes target folder)
    set(root ${PROJECT_BINARY_DIR}/include-roots/${folder})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
    target_include_directories(${target} PUBLIC ${root})
endfunction()
