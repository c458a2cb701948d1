# Checks that the layers of src/ include one way only:
#   text <- catalog <- model/calc <- plan <- output <- ui <- app, with cli beside ui on the core.
# The core (text, catalog, model, calc, plan, output) includes no Qt, ui, app or cli header.
# Run: cmake -DSOURCE_DIR=<src folder> -P CheckLayers.cmake (fails listing every offending line).
cmake_minimum_required(VERSION 3.25)

if(NOT SOURCE_DIR)
    message(FATAL_ERROR "SOURCE_DIR is not set")
endif()

# Folder -> the project folders its files may include.
set(allowed_text "text")
set(allowed_catalog "text;catalog")
set(allowed_model "text;catalog;model;calc")
set(allowed_calc "text;catalog;model;calc")
set(allowed_plan "text;catalog;model;calc;plan")
set(allowed_output "text;catalog;model;calc;plan;output")
set(core_layers text catalog model calc plan output)
set(project_folders text catalog model calc plan output ui app cli)

set(violations "")
foreach(layer IN LISTS core_layers)
    if(NOT IS_DIRECTORY "${SOURCE_DIR}/${layer}")
        message(FATAL_ERROR "missing layer folder ${SOURCE_DIR}/${layer}")
    endif()
    file(GLOB_RECURSE files "${SOURCE_DIR}/${layer}/*.h" "${SOURCE_DIR}/${layer}/*.cpp")
    foreach(file IN LISTS files)
        file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include")
        foreach(line IN LISTS includes)
            if(line MATCHES "#[ \t]*include[ \t]*[<\"](Q[A-Za-z0-9_]*|Qt[A-Za-z0-9_]*/[^>\"]*)[>\"]")
                list(APPEND violations "${file}: Qt header in the core: ${line}")
            elseif(line MATCHES "#[ \t]*include[ \t]*\"([a-z]+)/")
                set(folder "${CMAKE_MATCH_1}")
                if(folder IN_LIST project_folders AND NOT folder IN_LIST allowed_${layer})
                    list(APPEND violations "${file}: ${layer} must not include ${folder}: ${line}")
                endif()
            endif()
        endforeach()
    endforeach()
endforeach()

if(violations)
    list(JOIN violations "\n" text)
    message(FATAL_ERROR "Layer violations:\n${text}")
endif()
list(LENGTH core_layers count)
message(STATUS "Layers include one way (${count} core folders checked)")
