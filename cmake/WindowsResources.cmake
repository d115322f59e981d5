# add_program_resources(target description): gives a Windows exe its version record (from the
# project version, read by the program at run time), its manifest and the icons.

function(zero_padded value width out)
    string(LENGTH "${value}" length)
    while(length LESS width)
        string(PREPEND value "0")
        string(LENGTH "${value}" length)
    endwhile()
    set(${out} "${value}" PARENT_SCOPE)
endfunction()

function(add_program_resources target description)
    # "2.05.0001" for version 2.5.1
    zero_padded("${PROJECT_VERSION_MINOR}" 2 minor)
    zero_padded("${PROJECT_VERSION_PATCH}" 4 revision)
    set(QUARNEL_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.${minor}.${revision}")
    set(QUARNEL_INTERNAL_NAME "${target}")
    set(QUARNEL_FILE_DESCRIPTION "${description}")

    set(templates "${PROJECT_SOURCE_DIR}/app/windows")
    set(generated "${CMAKE_CURRENT_BINARY_DIR}/${target}-resources")
    configure_file("${templates}/quarnel.manifest" "${generated}/quarnel.manifest" @ONLY)
    configure_file("${templates}/version.rc.in" "${generated}/version.rc" @ONLY)
    configure_file("${templates}/resources.rc.in" "${generated}/resources.rc" @ONLY)
    target_sources(${target} PRIVATE "${generated}/resources.rc")
    set_property(SOURCE "${generated}/resources.rc" APPEND PROPERTY OBJECT_DEPENDS
                 "${generated}/version.rc" "${generated}/quarnel.manifest"
                 "${PROJECT_SOURCE_DIR}/art/quarnel.ico" "${PROJECT_SOURCE_DIR}/art/drop-folder.ico")
endfunction()
