# Embeds resource files into a target: zelmor_embed_resources(target FUNCTION name TYPE type file...)
# generates a source that holds each file's bytes and a function that registers them with
# win32::RegisterResource under the file's name without its extension ("QELGRPU.bmp" is "QELGRPU"); a
# name of digits only is the resource's number ("8000.cur" is MAKEINTRESOURCE(8000)).
# type is the resource type's C++ name (RT_BITMAP). The function registers once however often it is
# called; code calls it before it loads the first of the resources.

if(CMAKE_SCRIPT_MODE_FILE)
    # Script mode: FILES is the list of files (separated by '|'), OUTPUT the source to write.
    string(REPLACE "|" ";" files "${FILES}")
    set(content "// Generated from resource files by cmake/EmbedResources.cmake; do not edit.\n")
    string(APPEND content "#include \"platform/win32/resources.h\"\n\n")
    string(APPEND content "namespace {\n\n")
    set(index 0)
    set(calls "")
    foreach(path IN LISTS files)
        file(READ "${path}" hex HEX)
        string(LENGTH "${hex}" hexLength)
        math(EXPR size "${hexLength} / 2")
        string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
        get_filename_component(name "${path}" NAME_WE)
        if(name MATCHES "^[0-9]+$")
            set(id "MAKEINTRESOURCEW(${name})")
        else()
            set(id "u\"${name}\"")
        endif()
        string(APPEND content "const BYTE resource${index}[] = {${bytes}};\n")
        string(APPEND calls "        win32::RegisterResource(${TYPE}, ${id}, {resource${index}, ${size}});\n")
        math(EXPR index "${index} + 1")
    endforeach()
    string(APPEND content "\n} // namespace\n\nvoid ${FUNCTION}() {\n    static const bool registered = [] {\n"
                          "${calls}        return true;\n    }();\n    (void)registered;\n}\n")
    file(WRITE "${OUTPUT}.tmp" "${content}")
    file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
    file(REMOVE "${OUTPUT}.tmp")
    return()
endif()

set(ZELMOR_EMBED_RESOURCES_SCRIPT "${CMAKE_CURRENT_LIST_FILE}")

function(zelmor_embed_resources target)
    cmake_parse_arguments(PARSE_ARGV 1 EMBED "" "FUNCTION;TYPE" "")
    set(output "${CMAKE_CURRENT_BINARY_DIR}/${target}_${EMBED_FUNCTION}.cpp")
    set(inputs "")
    foreach(path IN LISTS EMBED_UNPARSED_ARGUMENTS)
        get_filename_component(absolute "${path}" ABSOLUTE)
        list(APPEND inputs "${absolute}")
    endforeach()
    string(REPLACE ";" "|" joined "${inputs}")
    add_custom_command(
        OUTPUT "${output}"
        COMMAND "${CMAKE_COMMAND}" "-DOUTPUT=${output}" "-DFILES=${joined}" "-DFUNCTION=${EMBED_FUNCTION}"
                "-DTYPE=${EMBED_TYPE}" -P "${ZELMOR_EMBED_RESOURCES_SCRIPT}"
        DEPENDS ${inputs} "${ZELMOR_EMBED_RESOURCES_SCRIPT}"
        COMMENT "Embedding resources into ${target}"
        VERBATIM)
    target_sources(${target} PRIVATE "${output}")
endfunction()
