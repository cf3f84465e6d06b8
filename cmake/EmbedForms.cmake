# Embeds text form descriptions into a target: zelmor_embed_forms(target [FUNCTION name] file...)
# generates a source that holds each file's bytes and registers them (RegisterFormResource). Without
# FUNCTION they are registered when the program starts; that suits a program, whose own objects the
# linker always keeps. A static library names a FUNCTION instead and calls it (any number of times)
# before it reads its forms: an object of a library that nothing calls into is dropped by the linker,
# registrations and all.

if(CMAKE_SCRIPT_MODE_FILE)
    # Script mode: FORMS is the list of files (separated by '|'), OUTPUT the source to write.
    string(REPLACE "|" ";" forms "${FORMS}")
    set(content "// Generated from the form descriptions by cmake/EmbedForms.cmake; do not edit.\n")
    string(APPEND content "#include <cstddef>\n\n")
    string(APPEND content "void RegisterFormResource(const char* fileName, const unsigned char* text, std::size_t size);\n\n")
    string(APPEND content "namespace {\n\n")
    set(index 0)
    set(calls "")
    foreach(form IN LISTS forms)
        file(READ "${form}" hex HEX)
        string(LENGTH "${hex}" hexLength)
        math(EXPR size "${hexLength} / 2")
        string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
        get_filename_component(name "${form}" NAME)
        string(APPEND content "const unsigned char form${index}[] = {${bytes}0};\n")
        set(call "RegisterFormResource(\"${name}\", form${index}, ${size})")
        if(FUNCTION)
            string(APPEND calls "        ${call};\n")
        else()
            string(APPEND content "[[maybe_unused]] const bool registered${index} = (${call}, true);\n")
        endif()
        string(APPEND content "\n")
        math(EXPR index "${index} + 1")
    endforeach()
    string(APPEND content "} // namespace\n")
    if(FUNCTION)
        string(APPEND content "\nvoid ${FUNCTION}() {\n    static const bool registered = [] {\n"
                              "${calls}        return true;\n    }();\n    (void)registered;\n}\n")
    endif()
    file(WRITE "${OUTPUT}.tmp" "${content}")
    file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
    file(REMOVE "${OUTPUT}.tmp")
    return()
endif()

set(ZELMOR_EMBED_FORMS_SCRIPT "${CMAKE_CURRENT_LIST_FILE}")

function(zelmor_embed_forms target)
    cmake_parse_arguments(PARSE_ARGV 1 EMBED "" "FUNCTION" "")
    set(output "${CMAKE_CURRENT_BINARY_DIR}/${target}_forms.cpp")
    set(inputs "")
    foreach(form IN LISTS EMBED_UNPARSED_ARGUMENTS)
        get_filename_component(path "${form}" ABSOLUTE)
        list(APPEND inputs "${path}")
    endforeach()
    string(REPLACE ";" "|" joined "${inputs}")
    add_custom_command(
        OUTPUT "${output}"
        COMMAND "${CMAKE_COMMAND}" "-DOUTPUT=${output}" "-DFORMS=${joined}" "-DFUNCTION=${EMBED_FUNCTION}"
                -P "${ZELMOR_EMBED_FORMS_SCRIPT}"
        DEPENDS ${inputs} "${ZELMOR_EMBED_FORMS_SCRIPT}"
        COMMENT "Embedding form descriptions into ${target}"
        VERBATIM)
    target_sources(${target} PRIVATE "${output}")
endfunction()
