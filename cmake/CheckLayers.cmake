# Checks that the layers of src/ include one way only:
#   text <- catalog <- model/calc <- plan <- output <- ui <- app, with cli beside ui on the core.
# The core (text, catalog, model, calc, plan, output) includes no Qt, ui, app, cli or journal
# header. The journal sits on the core: it may include the core and Qt (Core, Sql), nothing of
# the window or the command line.
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
set(allowed_journal "text;catalog;model;calc;plan;output;journal")
set(core_layers text catalog model calc plan output)
set(project_folders text catalog model calc plan output journal ui app cli)
# Qt modules the journal may use: no widgets, no painting.
set(journal_qt_modules QtCore QtSql)

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

# The journal: core folders and its own, Qt Core and Qt Sql only.
if(NOT IS_DIRECTORY "${SOURCE_DIR}/journal")
    message(FATAL_ERROR "missing layer folder ${SOURCE_DIR}/journal")
endif()
file(GLOB_RECURSE files "${SOURCE_DIR}/journal/*.h" "${SOURCE_DIR}/journal/*.cpp")
foreach(file IN LISTS files)
    file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS includes)
        if(line MATCHES "#[ \t]*include[ \t]*[<\"](Qt[A-Za-z0-9_]*)/")
            if(NOT CMAKE_MATCH_1 IN_LIST journal_qt_modules)
                list(APPEND violations "${file}: journal must not use ${CMAKE_MATCH_1}: ${line}")
            endif()
        elseif(line MATCHES "#[ \t]*include[ \t]*[<\"](Q[A-Za-z0-9_]*)[>\"]")
            # Class headers of the modules the journal may use.
            if(NOT CMAKE_MATCH_1 MATCHES "^(QSql[A-Za-z]*|QByteArray|QString[A-Za-z]*|QVariant[A-Za-z]*|QCoreApplication|QJson[A-Za-z]*|QDate[A-Za-z]*|QTime[A-Za-z]*|QList|QMap|QHash|QFile|QDir|QSaveFile|QChar|QObject|QLocale)$")
                list(APPEND violations "${file}: journal must not include ${CMAKE_MATCH_1}: ${line}")
            endif()
        elseif(line MATCHES "#[ \t]*include[ \t]*\"([a-z]+)/")
            set(folder "${CMAKE_MATCH_1}")
            if(folder IN_LIST project_folders AND NOT folder IN_LIST allowed_journal)
                list(APPEND violations "${file}: journal must not include ${folder}: ${line}")
            endif()
        endif()
    endforeach()
endforeach()

if(violations)
    list(JOIN violations "\n" text)
    message(FATAL_ERROR "Layer violations:\n${text}")
endif()
list(LENGTH core_layers count)
message(STATUS "Layers include one way (${count} core folders checked)")
