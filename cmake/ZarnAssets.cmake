# Copies the hand-written part of the asset tree (settings and shaders) and the
# font into the run-time tree under the build directory. Generated art is
# written there by tools/assetgen.
file(GLOB_RECURSE ZARN_SOURCE_ASSETS CONFIGURE_DEPENDS
    RELATIVE ${PROJECT_SOURCE_DIR}/assets
    ${PROJECT_SOURCE_DIR}/assets/*)

set(ZARN_COPIED_ASSETS)
foreach(asset IN LISTS ZARN_SOURCE_ASSETS)
    add_custom_command(
        OUTPUT ${ZARN_ASSET_DIR}/${asset}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different
                ${PROJECT_SOURCE_DIR}/assets/${asset} ${ZARN_ASSET_DIR}/${asset}
        DEPENDS ${PROJECT_SOURCE_DIR}/assets/${asset}
        COMMENT "Copying assets/${asset}"
        VERBATIM)
    list(APPEND ZARN_COPIED_ASSETS ${ZARN_ASSET_DIR}/${asset})
endforeach()

# Liberation Sans is metric-compatible with Arial and freely licensed; the game
# reads it under the name it expects.
find_file(ZARN_FONT_FILE LiberationSans-Regular.ttf
    PATHS /usr/share/fonts/truetype/liberation2 /usr/share/fonts/truetype/liberation
    NO_DEFAULT_PATH REQUIRED)
add_custom_command(
    OUTPUT ${ZARN_ASSET_DIR}/fonts/arial.ttf
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${ZARN_FONT_FILE} ${ZARN_ASSET_DIR}/fonts/arial.ttf
    DEPENDS ${ZARN_FONT_FILE}
    COMMENT "Copying the font"
    VERBATIM)
list(APPEND ZARN_COPIED_ASSETS ${ZARN_ASSET_DIR}/fonts/arial.ttf)

add_custom_target(zarn_assets ALL DEPENDS ${ZARN_COPIED_ASSETS})
